// The bad sources of the other power tests must be rejected by these tests where they are
// sensitive to the fault, and the generator's own bits of the same length must pass.
#include "tester/basic_five_tests.h"
#include "tester/dft_rows.h"
#include "tester/longest_run.h"
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

constexpr double Rejected = 1e-6;

TEST(MorePower, BiasedBits) {
    Xoshiro256 g = SeedXoshiro(52);
    const BitSequence s = BiasedBits(g, 1 << 21, 0.52);
    EXPECT_LT(SerialTwoBitTest(s), Rejected);
    EXPECT_LT(BlocksAndGapsTest(s), Rejected);
    EXPECT_LT(SparseOccupancyTest(s), Rejected);
    EXPECT_LT(LongestRunTest(s, 2048), Rejected);
    EXPECT_LT(GcdTest(s), Rejected);
}

TEST(MorePower, ShortPeriod) {
    const BitSequence s = PeriodicBits(7, 1024, 1 << 21);
    EXPECT_LT(SparseOccupancyTest(s), Rejected);
    EXPECT_LT(BirthdaySpacingsTest(s), Rejected);
    EXPECT_LT(GcdTest(s), Rejected);
    EXPECT_LT(DftRowsTest(s, 1 << 20, 32), Rejected);
    EXPECT_LT(DftRowsTest(s, 1 << 20, 3), Rejected);
    EXPECT_LT(LongestRunTest(s, 8 * 1024), Rejected);
}

TEST(MorePower, AGoodSequenceOfTheSameLengthPasses) {
    Xoshiro256 g = SeedXoshiro(52);
    const BitSequence s = GeneratorBits(g, 1 << 21);
    EXPECT_GT(SerialTwoBitTest(s), 0.001);
    EXPECT_GT(BlocksAndGapsTest(s), 0.001);
    EXPECT_GT(SparseOccupancyTest(s), 0.001);
    EXPECT_GT(LongestRunTest(s, 2048), 0.001);
    EXPECT_GT(LongestRunTest(s, 8 * 1024), 0.001);
    EXPECT_GT(GcdTest(s), 0.001);
    EXPECT_GT(BirthdaySpacingsTest(s), 0.001);
    EXPECT_GT(DftRowsTest(s, 1 << 20, 32), 0.001);
    EXPECT_GT(DftRowsTest(s, 1 << 20, 3), 0.001);
}

} // namespace
} // namespace zentrope
