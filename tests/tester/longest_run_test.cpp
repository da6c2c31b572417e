// The longest run of ones within blocks: the published class probabilities, an independent
// count of the exact distribution, and runs counted by hand.
#include "tester/longest_run.h"
#include "tester/randomness_tests.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrope {
namespace {

// P(no run of r ones in m bits) by stepping the run length bit by bit.
double NoRunByDynamicProgramming(uint64_t m, int r) {
    std::vector<double> state(static_cast<size_t>(r), 0);
    state[0] = 1;
    for (uint64_t i = 0; i < m; ++i) {
        std::vector<double> next(state.size(), 0);
        for (size_t j = 0; j < state.size(); ++j) {
            next[0] += state[j] / 2;
            if (j + 1 < state.size())
                next[j + 1] += state[j] / 2;
        }
        state = next;
    }
    double total = 0;
    for (double v : state)
        total += v;
    return total;
}

TEST(LongestRun, PublishedClassProbabilities) {
    // NIST SP 800-22, blocks of 8 bits: <= 1, 2, 3, >= 4 with 0.2148, 0.3672, 0.2305, 0.1875
    // (exactly 55, 94, 59 and 48 of 256).
    const std::vector<double> p8 = LongestRunProbabilities(8);
    EXPECT_DOUBLE_EQ(p8[0] + p8[1], 55.0 / 256);
    EXPECT_DOUBLE_EQ(p8[2], 94.0 / 256);
    EXPECT_DOUBLE_EQ(p8[3], 59.0 / 256);
    // Blocks of 128 bits: <= 4, 5, 6, 7, 8 with 0.1174, 0.2430, 0.2493, 0.1752, 0.1027.
    const std::vector<double> p128 = LongestRunProbabilities(128);
    EXPECT_NEAR(p128[0] + p128[1] + p128[2] + p128[3] + p128[4], 0.1174, 1e-4);
    EXPECT_NEAR(p128[5], 0.2430, 1e-4);
    EXPECT_NEAR(p128[6], 0.2493, 1e-4);
    EXPECT_NEAR(p128[7], 0.1752, 1e-4);
    EXPECT_NEAR(p128[8], 0.1027, 1e-4);
}

TEST(LongestRun, MatrixPowersAgreeWithStepByStepCounting) {
    for (uint64_t m : {3u, 64u, 2048u, 10000u})
        for (int r : {1, 2, 5, 11, 14})
            EXPECT_NEAR(NoRunOfLength(m, r), NoRunByDynamicProgramming(m, r), 1e-12)
                << m << " " << r;
    // By hand: 3 bits without "11" are 000, 001, 010, 100 and 101.
    EXPECT_DOUBLE_EQ(NoRunOfLength(3, 2), 5.0 / 8);
}

TEST(LongestRun, RunsCountedAcrossWords) {
    const BitSequence s = BitsFromText("0111 0110 1" + std::string(70, '1') + "0 11");
    EXPECT_EQ(LongestRunOfOnes(s, 0, 9), 3);
    EXPECT_EQ(LongestRunOfOnes(s, 0, s.size), 71);
    EXPECT_EQ(LongestRunOfOnes(s, 8, 30), 30);
    EXPECT_EQ(LongestRunOfOnes(s, s.size - 3, 3), 2);
    EXPECT_EQ(LongestRunOfOnes(BitsFromText(std::string(200, '0')), 0, 200), 0);
}

TEST(LongestRun, NeedsItsBlocks) {
    const BitSequence s = BitsFromText(std::string(2048 * 63, '0'));
    EXPECT_EQ(LongestRunTest(s, 2048), NoResult);
    const BitSequence zeros = BitsFromText(std::string(2048 * 64, '0'));
    EXPECT_LT(LongestRunTest(zeros, 2048), 1e-10);
}

} // namespace
} // namespace zentrope
