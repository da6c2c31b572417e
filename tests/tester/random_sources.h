// Bit sources for the tests: the built-in generator, a biased one and one of short period.
#pragma once

#include "tester/bit_sequence.h"
#include "tester/xoshiro.h"

#include <cstdint>

namespace zentrope {

inline BitSequence GeneratorBits(Xoshiro256& g, uint64_t n) {
    BitSequence s;
    while (s.size + 64 <= n)
        AppendBits(s, NextWord(g), 64);
    if (s.size < n)
        AppendBits(s, NextWord(g), static_cast<int>(n - s.size));
    return s;
}

// Each bit is one with the given probability.
inline BitSequence BiasedBits(Xoshiro256& g, uint64_t n, double probabilityOfOne) {
    const auto threshold = static_cast<uint64_t>(probabilityOfOne * 18446744073709551616.0);
    BitSequence s;
    for (uint64_t i = 0; i < n; ++i)
        AppendBits(s, NextWord(g) < threshold ? 1 : 0, 1);
    return s;
}

// The generator restarted from the same seed every `period` bits.
inline BitSequence PeriodicBits(uint64_t seed, uint64_t period, uint64_t n) {
    BitSequence s;
    while (s.size < n) {
        Xoshiro256 g = SeedXoshiro(seed);
        const BitSequence block = GeneratorBits(g, std::min(period, n - s.size));
        for (uint64_t i = 0; i < block.size; i += 64) {
            const int count = static_cast<int>(std::min<uint64_t>(64, block.size - i));
            AppendBits(s, BitsAt(block, i, count), count);
        }
    }
    return s;
}

// The Legendre symbol of j modulo the prime p as bits, a set bit for a quadratic residue, and
// x(0) = +1: for p = 1 (mod 4) its transform is X(k) = 1 + (k / p) sqrt(p) for k > 0 (Gauss's
// sum), so half the coefficients share each of two moduli.
inline BitSequence LegendreBits(uint64_t p) {
    BitSequence s;
    AppendBits(s, 1, 1);
    for (uint64_t j = 1; j < p; ++j) {
        uint64_t power = 1; // j^((p - 1) / 2) mod p: 1 for residues, p - 1 for the others
        for (uint64_t e = (p - 1) / 2, b = j; e > 0; e /= 2, b = b * b % p)
            if (e % 2 == 1)
                power = power * b % p;
        AppendBits(s, power == 1 ? 1 : 0, 1);
    }
    return s;
}

} // namespace zentrope
