#include "tester/distributions.h"
#include "tester/randomness_tests.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zentrope {
namespace {

// Per byte value: the walk's change and its highest and lowest point within the byte.
struct ByteWalk {
    int delta = 0;
    int high = 0;
    int low = 0;
};

std::array<ByteWalk, 256> MakeByteWalks() {
    std::array<ByteWalk, 256> table{};
    for (int v = 0; v < 256; ++v) {
        ByteWalk w{0, -9, 9};
        for (int bit = 7; bit >= 0; --bit) {
            w.delta += ((v >> bit) & 1) ? 1 : -1;
            w.high = std::max(w.high, w.delta);
            w.low = std::min(w.low, w.delta);
        }
        table[static_cast<size_t>(v)] = w;
    }
    return table;
}

} // namespace

uint64_t CusumMaxExcursion(const BitSequence& s) {
    static const std::array<ByteWalk, 256> walks = MakeByteWalks();
    int64_t sum = 0;
    int64_t z = 0;
    uint64_t pos = 0;
    for (; pos + 8 <= s.size; pos += 8) {
        const ByteWalk& w = walks[BitsAt(s, pos, 8)];
        z = std::max({z, sum + w.high, -(sum + w.low)});
        sum += w.delta;
    }
    for (; pos < s.size; ++pos) {
        sum += BitAt(s, pos) ? 1 : -1;
        z = std::max(z, sum < 0 ? -sum : sum);
    }
    return static_cast<uint64_t>(z);
}

// The published reference computes the summation bounds with integer division, which the
// worked examples reproduce; the omitted terms are below 1e-4.
double CusumPValue(uint64_t n, uint64_t z) {
    if (n == 0 || z == 0)
        return NoResult;
    const auto nn = static_cast<int64_t>(n);
    const auto zz = static_cast<int64_t>(z);
    const double rootN = std::sqrt(static_cast<double>(n));
    const auto phi = [&](int64_t k, int64_t offset) {
        return NormalCdf(static_cast<double>((4 * k + offset) * zz) / rootN);
    };
    double sum1 = 0;
    for (int64_t k = (-nn / zz + 1) / 4; k <= (nn / zz - 1) / 4; ++k)
        sum1 += phi(k, 1) - phi(k, -1);
    double sum2 = 0;
    for (int64_t k = (-nn / zz - 3) / 4; k <= (nn / zz - 1) / 4; ++k)
        sum2 += phi(k, 3) - phi(k, 1);
    return std::clamp(1.0 - sum1 + sum2, 0.0, 1.0);
}

double CumulativeSumTest(const BitSequence& s) {
    return CusumPValue(s.size, CusumMaxExcursion(s));
}

} // namespace zentrope
