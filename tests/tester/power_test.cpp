// Bad sources must be rejected by the tests that are sensitive to their fault.
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

namespace zentrope {
namespace {

constexpr double Rejected = 1e-6;

TEST(Power, BiasedBitsFailTheFrequencyTests) {
    Xoshiro256 g = SeedXoshiro(52);
    const BitSequence s = BiasedBits(g, 1 << 17, 0.52);
    EXPECT_LT(CumulativeSumTest(s), Rejected);
    EXPECT_LT(BlockFrequencyTest(s, 512), Rejected);
    EXPECT_LT(SerialTest(s, 1), Rejected);
    EXPECT_LT(SerialTest(s, 3), Rejected);
    EXPECT_LT(ShortBlocksTest(s, 4, 1), Rejected);
    EXPECT_LT(ShortBlocksTest(s, 2, 1024), Rejected);
}

TEST(Power, ShortPeriodFailsTheStructureTests) {
    // Period 1024 bits: every 32 x 32 matrix is the same, and so on.
    const BitSequence s = PeriodicBits(7, 1024, 1 << 21);
    EXPECT_LT(MatrixRankTest(s, 32, 32), Rejected);
    EXPECT_LT(DftTest(s, 1 << 20), Rejected);
    EXPECT_LT(SerialTest(s, 3), Rejected);
    EXPECT_LT(WindowedAutocorrelationTest(s, 1024, 1), Rejected);
    EXPECT_LT(WindowedAutocorrelationTest(s, 256, 4), Rejected);
    EXPECT_LT(ShortBlocksTest(s, 2, 1024), Rejected);
    EXPECT_LT(MaurerTest(s, 8, 2560), Rejected);
    EXPECT_LT(Rank6x8Test(s, 5), Rejected);
    EXPECT_LT(CouponCollectorTest(s, 2), Rejected);
    EXPECT_LT(RunsUpTest(s, 4, 6), Rejected);
    EXPECT_LT(CollisionTest(s, 20), Rejected);
    EXPECT_LT(PermutationTest(s, 8, 4), Rejected);
    EXPECT_LT(NonOverlappingTemplateTest(s, 0b000000001, 9, 8), Rejected);
}

TEST(Power, AGoodSequenceOfTheSameLengthPasses) {
    // The same calls on the generator's own bits, so the rejections above are the sources'.
    Xoshiro256 g = SeedXoshiro(52);
    const BitSequence s = GeneratorBits(g, 1 << 21);
    EXPECT_GT(CumulativeSumTest(s), 0.001);
    EXPECT_GT(MatrixRankTest(s, 32, 32), 0.001);
    EXPECT_GT(DftTest(s, 1 << 20), 0.001);
    EXPECT_GT(WindowedAutocorrelationTest(s, 1024, 1), 0.001);
    EXPECT_GT(ShortBlocksTest(s, 2, 1024), 0.001);
    EXPECT_GT(MaurerTest(s, 8, 2560), 0.001);
    EXPECT_GT(CouponCollectorTest(s, 2), 0.001);
    EXPECT_GT(RunsUpTest(s, 4, 6), 0.001);
    EXPECT_GT(CollisionTest(s, 20), 0.001);
    EXPECT_GT(PermutationTest(s, 8, 4), 0.001);
    EXPECT_GT(NonOverlappingTemplateTest(s, 0b000000001, 9, 8), 0.001);
}

} // namespace
} // namespace zentrope
