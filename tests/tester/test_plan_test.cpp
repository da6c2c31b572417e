#include "tester/randomness_tests.h"
#include "tester/test_plan.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zentrope {
namespace {

using testing::DefaultSet;

std::vector<std::string> Names(const TestPlan& plan) {
    std::vector<std::string> names;
    for (const PlannedTest& line : plan.lines)
        names.push_back(line.name);
    return names;
}

bool Contains(const std::vector<std::string>& items, const std::string& text) {
    return std::find(items.begin(), items.end(), text) != items.end();
}

TEST(TestPlan, DefaultsGiveOneLinePerParameterCombinationInExecutionOrder) {
    const TestPlan plan = MakeTestPlan(DefaultSet());
    const std::vector<std::string> names = Names(plan);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "DFT rows=1");
    EXPECT_EQ(names[5], "DFT rows=32");
    EXPECT_EQ(names[6], "Maurer L=8");
    EXPECT_EQ(names[7], "Short blocks s=1 d=1024");
    EXPECT_EQ(names[8], "Short blocks s=1 d=4096");
    EXPECT_TRUE(Contains(names, "Long blocks m=2048"));
    EXPECT_TRUE(Contains(names, "Serial m=3"));
    EXPECT_TRUE(Contains(names, "Rank 6x8 order=24"));
    EXPECT_TRUE(Contains(names, "Windowed autocorrelation d=4096 s=16"));
    // Templates 01 and 10 of 2 bits, the first three of 8 bits.
    EXPECT_TRUE(Contains(names, "NOTM m=2 B=10"));
    EXPECT_TRUE(Contains(names, "NOTM m=8 B=00000101"));
    EXPECT_FALSE(Contains(names, "NOTM m=8 B=00000111"));
    EXPECT_TRUE(Contains(names, "Runs s=32 r=10"));
    EXPECT_EQ(names.back(), "Collision s=28");
    EXPECT_TRUE(Contains(names, "Permutation s=8 t=4"));
    // DFT rows 1 to 32, Maurer, Short blocks, Long blocks, Serial two-bit, Blocks'n'gaps, Runs,
    // ...: 6 + 1 + 10 + 3 + 1 + 1 + 12 + 1 + 3 + 5 + 25 + 1 + 1 + 1 + 1 + 1 + 10 + 8 + 8 + 15 + 9
    EXPECT_EQ(names.size(), 123u);
}

TEST(TestPlan, EveryTestOfTheDefaultsRuns) {
    const TestPlan plan = MakeTestPlan(DefaultSet());
    const std::vector<std::string> names = Names(plan);
    for (const char* line : {"DFT rows=2", "DFT rows=32", "Serial two-bit", "Blocks'n'gaps", "SOB",
                             "GCD", "Tough birthday spacings", "AMLS kbits=2", "AMLS kbits=32768"})
        EXPECT_TRUE(Contains(names, line)) << line;
    EXPECT_TRUE(plan.notImplemented.empty());
    EXPECT_TRUE(Contains(plan.notes, "Maurer L=2 skipped: outside 6 to 16"));
}

TEST(TestPlan, FollowsTheEnabledSlotsOnce) {
    ParameterSet set = DefaultSet();
    set.ExecutionOrder.fill(-1);
    set.ExecutionOrder[0] = 12; // Rank 32x32
    set.ExecutionOrder[1] = 7;  // Cumulative sum
    set.ExecutionOrder[2] = 12; // listed twice: runs once
    set.ExecutionOrder[3] = 0;  // DFT, disabled below
    set.Enable[0] = 0;
    EXPECT_EQ(Names(MakeTestPlan(set)), (std::vector<std::string>{"Rank 32x32", "Cumulative sum"}));
}

TEST(TestPlan, ValuesOutsideATestsDomainAreSkippedWithANote) {
    ParameterSet set = DefaultSet();
    set.ExecutionOrder.fill(-1);
    set.ExecutionOrder[0] = 8; // Serial
    set.Serial_block_size = {0, 30, 10};
    const TestPlan plan = MakeTestPlan(set);
    EXPECT_EQ(Names(plan), (std::vector<std::string>{"Serial m=10", "Serial m=20"}));
    EXPECT_TRUE(Contains(plan.notes, "Serial m=0 skipped: outside 1 to 24"));
    EXPECT_TRUE(Contains(plan.notes, "Serial m=30 skipped: outside 1 to 24"));
    set.Serial_block_size = {1, INT32_MAX, 1};
    EXPECT_EQ(MakeTestPlan(set).lines.size(), 24u);
}

TEST(TestPlan, RequiredBitsFollowThePublishedRecommendations) {
    const ParameterSet set = DefaultSet();
    // Maurer L = 6 with 1000 * 2^L test blocks: the recommended 387840 bits.
    EXPECT_EQ(RequiredBits({2, "", 6, 0}, set), 387840u);
    // Rank 32 x 32: the rarest class (rank 30 or less, 0.1336357) expects 50 in 375 matrices.
    EXPECT_EQ(RequiredBits({13, "", 0, 0}, set), 375u * 1024);
    // Serial: m < log2(n) - 2, but never fewer bits than the frequency tests need.
    EXPECT_EQ(RequiredBits({9, "", 3, 0}, set), 20000u);
    EXPECT_EQ(RequiredBits({9, "", 14, 0}, set), 131072u);
}

TEST(TestPlan, ValuesThatCannotGiveCalibratedResultsGetNoLine) {
    ParameterSet set = DefaultSet();
    set.ExecutionOrder.fill(-1);
    set.ExecutionOrder[0] = 0;  // DFT
    set.ExecutionOrder[1] = 1;  // Maurer
    set.ExecutionOrder[2] = 20; // Collision
    set.ExecutionOrder[3] = 3;  // Long blocks
    set.Enable.fill(1);
    set.DFT_max_n = DftMinBits - 1;
    set.Maurer_N = 39;
    set.Collision_block_size = {9, 12, 1};
    set.LongBlocks_block_size = {19, 20, 1};
    TestPlan plan = MakeTestPlan(set);
    // 2^10 balls in 2^10 urns expect 376.6 collisions, short of the 400 a line needs.
    EXPECT_EQ(Names(plan),
              (std::vector<std::string>{"Collision s=11", "Collision s=12", "Long blocks m=20"}));
    EXPECT_TRUE(Contains(plan.notes, "Collision s=10 skipped: outside 11 to 32"));
    EXPECT_TRUE(Contains(plan.notes, "Long blocks m=19 skipped: outside 20 to 2147483647"));
    EXPECT_EQ(plan.notes.size(), 5u); // also DFT_max_n, Maurer_N and Collision s=9
    set.DFT_max_n = DftMinBits;
    set.Maurer_N = 40;
    plan = MakeTestPlan(set);
    EXPECT_EQ(Names(plan).front(), "DFT rows=1");
    EXPECT_TRUE(Contains(Names(plan), "Maurer L=8"));
}

TEST(TestPlan, TooShortSequencesGiveNoResult) {
    const ParameterSet set = DefaultSet();
    const BitSequence bits = BitsFromText(std::string(10000, '1') + std::string(10000, '0'));
    EXPECT_EQ(RunPlannedTest({2, "", 6, 0}, bits, set), NoResult);
    EXPECT_EQ(RunPlannedTest({13, "", 0, 0}, bits, set), NoResult);
    EXPECT_GE(RunPlannedTest({9, "", 3, 0}, bits, set), 0.0);
}

bool IsSmooth(uint64_t v) {
    int big = 0;
    for (uint64_t p : {11u, 13u})
        while (v % p == 0) {
            v /= p;
            ++big;
        }
    for (uint64_t p : {2u, 3u, 5u, 7u})
        while (v % p == 0)
            v /= p;
    return v == 1 && big <= 1;
}

TEST(TestPlan, DftLengthIsCappedAndMadeSmooth) {
    for (uint64_t n = 1; n < 3000; ++n) {
        const uint64_t m = LargestSmoothLength(n);
        ASSERT_TRUE(IsSmooth(m)) << n;
        for (uint64_t k = m + 1; k <= n; ++k)
            ASSERT_FALSE(IsSmooth(k)) << n;
    }
    EXPECT_EQ(LargestSmoothLength(17 * 19), 320u);
    EXPECT_EQ(LargestSmoothLength(143), 140u); // 11 * 13 has both large factors
    ParameterSet set = DefaultSet();
    EXPECT_EQ(DftLength(1048576, set), 1048576u);
    EXPECT_EQ(DftLength(5000011, set), LargestSmoothLength(5000011));
    EXPECT_EQ(DftLength(100000000, set), 33554432u);
    set.DFT_max_n = 0;
    set.DFT_optimize = 0;
    EXPECT_EQ(DftLength(50000017, set), 50000017u);
    EXPECT_EQ(DftLength(100000007, set), MaxDftLength);
}

} // namespace
} // namespace zentrope
