// Sequences so far from random that a test runs out of segments or groups: running out has a
// chance of about 1e-15 on random bits, so it is a rejection with that chance, never "no
// result".
#include "tester/distributions.h"
#include "tester/randomness_tests.h"
#include "tester/test_plan.h"
#include "tests/paramfile/test_support.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentrope {
namespace {

BitSequence RepeatedBytes(const std::string& pattern, uint64_t bits) {
    BitSequence s;
    while (s.size < bits)
        for (char c : pattern)
            AppendBits(s, static_cast<unsigned char>(c), 8);
    return s;
}

std::string Counter() {
    std::string bytes;
    for (int v = 0; v < 256; ++v)
        bytes += static_cast<char>(v);
    return bytes;
}

constexpr uint64_t Mbit = 1 << 20;

TEST(ExhaustedSequences, RunningOutOfSegmentsIsARejection) {
    const BitSequence counter = RepeatedBytes(Counter(), Mbit);
    const BitSequence alternating = RepeatedBytes("\x55", Mbit);
    for (int r : {6, 8, 10}) {
        const double p = RunsUpTest(counter, 8, r);
        EXPECT_GE(p, 0.0) << r;
        EXPECT_LT(p, 1e-12) << r;
    }
    for (int s : {2, 4}) {
        const double p = CouponCollectorTest(alternating, s);
        EXPECT_GE(p, 0.0) << s;
        EXPECT_LT(p, 1e-12) << s;
    }
    // A sequence of period 1024 bits.
    const BitSequence periodic = PeriodicBits(99, 1024, Mbit);
    for (int s : {4, 8, 16, 32})
        for (int r : {6, 10}) {
            const double p = RunsUpTest(periodic, s, r);
            EXPECT_GE(p, 0.0) << s << " " << r;
            EXPECT_LT(p, 1e-3) << s << " " << r;
        }
}

TEST(ExhaustedSequences, RunningOutHasTheChanceOfTheNormalTail) {
    // A budget 8 standard deviations above the mean total of 1024 segments: running out one
    // short has the chance of a standard normal beyond 8, erfc(8 / sqrt 2) / 2.
    const SegmentMoments m{10, 3};
    EXPECT_NEAR(RunOutPValue(10240 + 8 * 3 * 32, 1023, m) / (std::erfc(8 / std::sqrt(2.0)) / 2),
                1.0, 1e-9);
    // A budget exactly the mean total of 1024 segments: one half.
    EXPECT_NEAR(RunOutPValue(10240, 1023, m), 0.5, 1e-12);
}

TEST(ExhaustedSequences, GroupsWithoutDistinctValuesAreARejection) {
    const BitSequence alternating = RepeatedBytes("\x55", Mbit);
    const double p = PermutationTest(alternating, 4, 3);
    EXPECT_GE(p, 0.0);
    EXPECT_LT(p, 1e-12);
    // Binomial tails by hand: P(X <= 0) for 10 fair trials, P(X <= 2) for 5 trials of 0.3.
    EXPECT_NEAR(BinomialAtMost(0, 10, 0.5), 1.0 / 1024, 1e-15);
    EXPECT_NEAR(BinomialAtMost(2, 5, 0.3), 0.16807 + 0.36015 + 0.3087, 1e-12);
    EXPECT_DOUBLE_EQ(BinomialAtMost(5, 5, 0.3), 1.0);
}

// At the length a line asks for, good sequences always get a p-value, also for large groups
// where groups with equal values are common.
TEST(ExhaustedSequences, PermutationGetsAResultAtTheLengthItAsksFor) {
    const ParameterSet set = testing::DefaultSet();
    Xoshiro256 g = SeedXoshiro(4242);
    for (auto [s, t] : {std::pair{8, 8}, {7, 7}}) {
        const PlannedTest line{18, "Permutation", s, t};
        const uint64_t n = RequiredBits(line, set);
        int withoutResult = 0;
        for (int k = 0; k < 40; ++k)
            withoutResult += RunPlannedTest(line, GeneratorBits(g, n), set) < 0 ? 1 : 0;
        EXPECT_EQ(withoutResult, 0) << s << " " << t;
    }
}

} // namespace
} // namespace zentrope
