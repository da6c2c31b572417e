// The chirp-z path against independent computations: the smooth lengths against trial
// division, and the threshold counts against FFTW's plain transform at lengths of large prime
// factors, on good, biased and periodic bits.
#include "tester/chirp_z.h"
#include "tester/real_transform.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace zentrope {
namespace {

bool SmoothByTrialDivision(uint64_t n) {
    int big = 0;
    for (uint64_t p = 2; p <= n; ++p)
        for (; n % p == 0; n /= p)
            if (p > 13 || (p > 7 && ++big > 1))
                return false;
    return true;
}

TEST(ChirpZ, SmoothLengthsAreThoseOfSmallPrimeFactors) {
    uint64_t next = 1;
    for (uint64_t n = 30000; n >= 1; --n) {
        const bool smooth = SmoothByTrialDivision(n);
        ASSERT_EQ(IsSmoothLength(n), smooth) << n;
        if (smooth)
            next = n;
        ASSERT_EQ(SmallestSmoothLength(n), next) << n;
    }
    for (uint64_t n : {1500003, 4499998}) {
        uint64_t smooth = n;
        while (!SmoothByTrialDivision(smooth))
            ++smooth;
        EXPECT_EQ(SmallestSmoothLength(n), smooth) << n;
    }
    EXPECT_FALSE(IsSmoothLength(11 * 13 * 1024));
}

std::vector<double> PlainSquaredModuli(const BitSequence& s, uint64_t length) {
    const std::span<const std::complex<double>> out = TransformBits(s, 1, length);
    std::vector<double> moduli;
    for (uint64_t k = 0; k < length / 2; ++k)
        moduli.push_back(std::norm(out[k]));
    return moduli;
}

// Thresholds midway between neighbouring moduli (at about 5, 50 and 95 % of them, and the
// test's own ln 20 n) must give FFTW's counts exactly.
void ExpectCountsOfThePlainTransform(const BitSequence& s, uint64_t length) {
    std::vector<double> moduli = PlainSquaredModuli(s, length);
    std::sort(moduli.begin(), moduli.end());
    for (double share : {0.05, 0.5, 0.95}) {
        auto i =
            std::max<size_t>(1, static_cast<size_t>(share * static_cast<double>(moduli.size())));
        while (i + 1 < moduli.size() && moduli[i] - moduli[i - 1] < 1e-6 * moduli[i])
            ++i;
        const double threshold = (moduli[i - 1] + moduli[i]) / 2;
        EXPECT_EQ(ChirpZSquaredModuliBelow(s, length, threshold), i)
            << "length " << length << ", share " << share;
    }
    const double threshold = std::log(20.0) * static_cast<double>(length);
    const auto below = static_cast<uint64_t>(
        std::lower_bound(moduli.begin(), moduli.end(), threshold) - moduli.begin());
    EXPECT_EQ(ChirpZSquaredModuliBelow(s, length, threshold), below) << "length " << length;
}

TEST(ChirpZ, CountsMatchThePlainTransformAtLengthsOfLargePrimeFactors) {
    Xoshiro256 g = SeedXoshiro(2025);
    for (uint64_t length : {17, 19, 32771, 65537, 2 * 65537, 1000003}) {
        ExpectCountsOfThePlainTransform(GeneratorBits(g, length), length);
        ExpectCountsOfThePlainTransform(BiasedBits(g, length, 0.52), length);
        ExpectCountsOfThePlainTransform(PeriodicBits(7, 4096, length), length);
    }
    for (uint64_t length : {1048573, 2999999})
        ExpectCountsOfThePlainTransform(GeneratorBits(g, length), length);
}

// Thresholds a hair's breadth (1e-9) either side of actual moduli, far closer than single
// precision can tell apart: the counts still follow the exact moduli.
TEST(ChirpZ, SettlesModuliNextToTheThreshold) {
    Xoshiro256 g = SeedXoshiro(77);
    for (uint64_t length : {32771, 1000003}) {
        const BitSequence s = GeneratorBits(g, length);
        std::vector<double> moduli = PlainSquaredModuli(s, length);
        std::sort(moduli.begin(), moduli.end());
        for (size_t i = moduli.size() / 20; i < moduli.size(); i += moduli.size() / 5)
            for (const double side : {1 - 1e-9, 1 + 1e-9}) {
                const double threshold = moduli[i] * side;
                const auto below = static_cast<uint64_t>(
                    std::lower_bound(moduli.begin(), moduli.end(), threshold) - moduli.begin());
                EXPECT_EQ(ChirpZSquaredModuliBelow(s, length, threshold), below)
                    << "length " << length << ", modulus " << i;
            }
    }
}

// The Legendre symbol modulo a prime p = 1 (mod 4) (random_sources.h):
// X(k) = 1 + (k / p) sqrt(p) for k > 0, so half the coefficients share each of two moduli.
// A threshold next to one of them puts far more moduli into the band than are settled one by
// one; the count must still be exact: all of k < p / 2 just above (1 + sqrt p)^2, and X(0)
// and the (p - 1) / 4 non-residues below p / 2 just under it.
TEST(ChirpZ, CountsExactlyWhenManyModuliShareTheThreshold) {
    for (uint64_t p : {12289, 65537}) {
        const BitSequence s = LegendreBits(p);
        const double peak = std::pow(1 + std::sqrt(static_cast<double>(p)), 2);
        EXPECT_EQ(ChirpZSquaredModuliBelow(s, p, peak * (1 + 1e-9)), p / 2) << p;
        EXPECT_EQ(ChirpZSquaredModuliBelow(s, p, peak * (1 - 1e-9)), 1 + (p - 1) / 4) << p;
    }
}

} // namespace
} // namespace zentrope
