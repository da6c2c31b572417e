// The spectral test in rows against a direct two-dimensional transform.
#include "tester/dft_rows.h"
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <thread>
#include <vector>

namespace zentrope {
namespace {

// Over the whole r x c spectrum: conjugate pairs share their modulus, so half the count of
// the coefficients that are not their own conjugate is the count of one of each pair.
DftRowsCount DirectCount(const BitSequence& s, uint64_t r, uint64_t c) {
    const double threshold = std::log(20.0) * static_cast<double>(r * c);
    uint64_t below = 0;
    uint64_t counted = 0;
    for (uint64_t k1 = 0; k1 < r; ++k1)
        for (uint64_t k2 = 0; k2 < c; ++k2) {
            if ((2 * k1) % r == 0 && (2 * k2) % c == 0)
                continue; // real-valued
            std::complex<double> x = 0;
            for (uint64_t j1 = 0; j1 < r; ++j1)
                for (uint64_t j2 = 0; j2 < c; ++j2) {
                    const double angle = -2 * std::numbers::pi *
                                         (static_cast<double>(k1 * j1) / static_cast<double>(r) +
                                          static_cast<double>(k2 * j2) / static_cast<double>(c));
                    x += (BitAt(s, j1 * c + j2) ? 1.0 : -1.0) * std::polar(1.0, angle);
                }
            ++counted;
            if (std::norm(x) < threshold)
                ++below;
        }
    return {below / 2, counted / 2};
}

TEST(DftRows, AgreesWithADirectTransform) {
    Xoshiro256 g = SeedXoshiro(5);
    for (auto [r, c] : {std::pair{4, 16}, {3, 10}, {2, 9}, {1, 12}}) {
        const BitSequence s = GeneratorBits(g, static_cast<uint64_t>(r * c));
        const DftRowsCount fast = DftRowsPeaksBelowThreshold(s, r, static_cast<uint64_t>(c));
        const DftRowsCount direct =
            DirectCount(s, static_cast<uint64_t>(r), static_cast<uint64_t>(c));
        EXPECT_EQ(fast.below, direct.below) << r << "x" << c;
        EXPECT_EQ(fast.counted, direct.counted) << r << "x" << c;
    }
}

TEST(DftRows, ThreadsMakingNewShapesAtOnceAgreeWithOneThread) {
    Xoshiro256 g = SeedXoshiro(6);
    const BitSequence s = GeneratorBits(g, 1 << 16);
    const std::vector<int> rows{5, 6, 7, 9, 10, 11};
    std::vector<double> together(rows.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < rows.size(); ++i)
        threads.emplace_back([&, i] { together[i] = DftRowsTest(s, s.size, rows[i]); });
    for (std::thread& t : threads)
        t.join();
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(together[i], DftRowsTest(s, s.size, rows[i])) << rows[i];
}

TEST(DftRows, ConstantBitsLeaveOnlyTheMean) {
    // All ones: every coefficient but (0, 0) is 0; 2 x 8 has 4 real ones, 6 pairs.
    const DftRowsCount c = DftRowsPeaksBelowThreshold(BitsFromText(std::string(16, '1')), 2, 8);
    EXPECT_EQ(c.counted, 6u);
    EXPECT_EQ(c.below, 6u);
}

TEST(DftRows, PValueIsOneAtTheExpectedShare) {
    EXPECT_NEAR(DftRowsPValue({950, 1000}), 1.0, 1e-12);
    // Two standard deviations of sqrt(1000 * 0.95 * 0.05 / 1.9) = 5 below.
    EXPECT_NEAR(DftRowsPValue({940, 1000}), 0.0455003, 1e-6);
}

TEST(DftRows, ColumnsFitTheLengthAndSuitTheTransform) {
    EXPECT_EQ(DftColumns(1 << 20, 32), uint64_t{1} << 15);
    EXPECT_EQ(DftColumns(17 * 19 * 2, 2), 320u);
    EXPECT_EQ(DftRowsTest(BitsFromText("0110"), 4, 4), NoResult);
}

} // namespace
} // namespace zentrope
