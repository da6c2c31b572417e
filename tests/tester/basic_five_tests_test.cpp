// The serial (two-bit) and runs tests against the worked example of the Handbook of Applied
// Cryptography (example 5.31) and small cases counted by hand.
#include "tester/basic_five_tests.h"
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace zentrope {
namespace {

// The 160-bit sequence of the published example: 40 bits repeated four times.
BitSequence HandbookSequence() {
    std::string text;
    for (int k = 0; k < 4; ++k)
        text += "11100 01100 01000 10100 11101 11100 10010 01001";
    return BitsFromText(text);
}

TEST(SerialTwoBit, WorkedExample) {
    // n0 = 84, n1 = 76, n00 = 44, n01 = n10 = 40, n11 = 35: X2 = 0.6252.
    EXPECT_NEAR(SerialTwoBitStatistic(HandbookSequence()), 0.6252, 5e-5);
    EXPECT_NEAR(SerialTwoBitTest(HandbookSequence()), std::exp(-0.6252 / 2), 5e-5);
}

TEST(SerialTwoBit, HandCountedPairs) {
    // "0011": n0 = n1 = 2; pairs 00, 01, 11: 4/3 * 3 - 2/4 * 8 + 1 = 1.
    EXPECT_NEAR(SerialTwoBitStatistic(BitsFromText("0011")), 1.0, 1e-12);
    // Pairs that cross a 64-bit word: 63 zeros, then "11", then zeros up to 130 bits.
    const BitSequence s = BitsFromText(std::string(63, '0') + "11" + std::string(65, '0'));
    // n1 = 2, n0 = 128; n11 = 1, n01 = n10 = 1, n00 = 126 of 129 pairs.
    const double expected =
        4.0 / 129 * (126.0 * 126 + 1 + 1 + 1) - 2.0 / 130 * (128.0 * 128 + 4) + 1;
    EXPECT_NEAR(SerialTwoBitStatistic(s), expected, 1e-9);
    EXPECT_EQ(SerialTwoBitTest(BitsFromText("01")), NoResult);
}

TEST(BlocksAndGaps, PublishedCountsOfTheWorkedExample) {
    // The example counts B1..B3 = 25, 4, 5 and G1..G3 = 8, 20, 12 over all 81 runs; the last
    // run (a single one) is cut by the end of the sequence, so among the 80 complete runs B1 is
    // 24. Seven blocks of four ones cross the joins of the repeated 40 bits.
    const auto c = CountBlocksAndGaps(HandbookSequence(), 80, 5);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->blocks, (std::vector<uint64_t>{24, 4, 5, 7, 0}));
    EXPECT_EQ(c->gaps, (std::vector<uint64_t>{8, 20, 12, 0, 0}));
    EXPECT_FALSE(CountBlocksAndGaps(HandbookSequence(), 81, 5).has_value());
}

TEST(BlocksAndGaps, LongRunsFallIntoTheLastClassAcrossWords) {
    // Gap 1, block 2, gap 3, block 100 (crossing two word boundaries), gap 1, block 1 (cut).
    const BitSequence s = BitsFromText("0"
                                       "11"
                                       "000" +
                                       std::string(100, '1') +
                                       "0"
                                       "1");
    const auto c = CountBlocksAndGaps(s, 5, 3);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->blocks, (std::vector<uint64_t>{0, 1, 1}));
    EXPECT_EQ(c->gaps, (std::vector<uint64_t>{2, 0, 1}));
}

TEST(BlocksAndGaps, ChiSquareAgainstGeometricLengths) {
    // 5 blocks in the classes 1, 2, >= 3 expect 2.5, 1.25, 1.25.
    EXPECT_NEAR(RunLengthChiSquare({3, 1, 1}), 0.5 * 0.5 / 2.5 + 2 * 0.25 * 0.25 / 1.25, 1e-12);
    // 20 runs of a kind: 20 / 2^2 = 5 in the class >= 3, 20 / 2^3 would be too few.
    EXPECT_EQ(RunLengthClasses(20), 3);
    EXPECT_EQ(RunLengthClasses(9), 1);
}

TEST(BlocksAndGaps, ASequenceWithoutEnoughRunsIsRejected) {
    // Long runs only: the fixed number of runs does not fit, which random bits almost never do.
    std::string text;
    while (text.size() < 4000)
        text += std::string(40, '1') + std::string(40, '0');
    EXPECT_EQ(BlocksAndGapsTest(BitsFromText(text)), 0.0);
    EXPECT_EQ(BlocksAndGapsTest(BitsFromText("0110")), NoResult);
}

// The counts bit by bit, on good bits, on long runs (a bias of 0.97) and at lengths that end
// inside a word, with as many runs as the bits hold and one more.
TEST(BlocksAndGaps, CountsAgreeWithABitByBitCount) {
    Xoshiro256 g = SeedXoshiro(5);
    for (const BitSequence& s :
         {GeneratorBits(g, 100000), BiasedBits(g, 20000, 0.97), GeneratorBits(g, 1000 + 37)}) {
        BlockAndGapCounts expected{std::vector<uint64_t>(6, 0), std::vector<uint64_t>(6, 0)};
        uint64_t complete = 0;
        for (uint64_t start = 0, i = 1; i < s.size; ++i) {
            if (BitAt(s, i) == BitAt(s, start))
                continue;
            ++(BitAt(s, start) ? expected.blocks
                               : expected.gaps)[std::min<uint64_t>(i - start, 6) - 1];
            ++complete;
            start = i;
        }
        const auto c = CountBlocksAndGaps(s, complete, 6);
        ASSERT_TRUE(c.has_value());
        EXPECT_EQ(c->blocks, expected.blocks);
        EXPECT_EQ(c->gaps, expected.gaps);
        EXPECT_FALSE(CountBlocksAndGaps(s, complete + 1, 6).has_value());
    }
}

} // namespace
} // namespace zentrope
