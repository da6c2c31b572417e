// Worked examples of the published test descriptions, and small cases computed by hand.
#include "tester/randomness_tests.h"
#include "tests/tester/random_sources.h"
#include "tests/tester/rank_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zentrope {
namespace {

// The 100-bit example sequence of the published examples (binary expansion of e... as
// printed there).
const BitSequence Hundred = BitsFromText("11001001000011111101101010100010001000010110100011"
                                         "00001000110100110001001100011001100010100010111000");

TEST(CumulativeSum, WorkedExamples) {
    const BitSequence ten = BitsFromText("1011010111");
    EXPECT_EQ(CusumMaxExcursion(ten), 4u);
    EXPECT_NEAR(CumulativeSumTest(ten), 0.4116588, 1e-6);
    EXPECT_EQ(CusumMaxExcursion(Hundred), 16u);
    EXPECT_NEAR(CumulativeSumTest(Hundred), 0.219194, 1e-6);
}

TEST(CumulativeSum, ExcursionCountsBothDirectionsAndPartialBytes) {
    EXPECT_EQ(CusumMaxExcursion(BitsFromText("000000000111")), 9u);
    EXPECT_EQ(CusumMaxExcursion(BitsFromText("1111111111111")), 13u);
    EXPECT_EQ(CusumMaxExcursion(BitsFromText("10101010 10101010 1")), 1u);
}

TEST(BlockFrequency, WorkedExamples) {
    EXPECT_NEAR(BlockFrequencyTest(BitsFromText("0110011010"), 3), 0.801252, 1e-6);
    EXPECT_NEAR(BlockFrequencyTest(Hundred, 10), 0.706438, 1e-6);
    EXPECT_EQ(BlockFrequencyTest(BitsFromText("0110"), 5), NoResult);
}

TEST(Serial, WorkedExample) {
    const SerialStatistics st = SerialPsi(BitsFromText("0011011101"), 3);
    EXPECT_NEAR(st.psiM, 2.8, 1e-9);
    EXPECT_NEAR(st.psiM1, 1.2, 1e-9);
    EXPECT_NEAR(st.psiM2, 0.4, 1e-9);
    EXPECT_NEAR(SerialFirstPValue(st, 3), 0.808792, 1e-6);
    EXPECT_NEAR(SerialSecondPValue(st, 3), 0.670320, 1e-6);
}

// psi^2_m = 2^m / n * sum of the squared counts - n, the counts read bit by bit around the
// ring, at lengths that end inside a word and shorter than a word.
TEST(Serial, PsiFromPatternsReadAroundTheRing) {
    Xoshiro256 g = SeedXoshiro(9);
    for (uint64_t n : {uint64_t{5}, uint64_t{13}, uint64_t{1000 + 13}, uint64_t{65536}}) {
        const BitSequence s = GeneratorBits(g, n);
        for (int m = 1; m <= 8; ++m) { // both ways of counting
            std::vector<double> counts(size_t{1} << m, 0);
            for (uint64_t i = 0; i < n; ++i) {
                uint64_t pattern = 0;
                for (int j = 0; j < m; ++j)
                    pattern = pattern * 2 + static_cast<uint64_t>(BitAt(s, (i + j) % n));
                ++counts[pattern];
            }
            double squares = 0;
            for (double c : counts)
                squares += c * c;
            const double psi =
                std::ldexp(squares, m) / static_cast<double>(n) - static_cast<double>(n);
            EXPECT_NEAR(SerialPsi(s, m).psiM, psi, 1e-9 * (psi + 1)) << n << " m=" << m;
        }
    }
}

TEST(Serial, OneBitPatternsAreTheFrequencyTest) {
    // 7 ones, 3 zeros: psi^2_1 = (7 - 3)^2 / 10 = 1.6, chi-square with one degree of freedom.
    const BitSequence s = BitsFromText("1110111001");
    EXPECT_NEAR(SerialPsi(s, 1).psiM, 1.6, 1e-12);
    EXPECT_NEAR(SerialTest(s, 1), 0.2059032, 1e-6);
}

TEST(BinaryRank, WorkedExampleMatrices) {
    std::vector<uint64_t> first{0b010, 0b110, 0b010};
    std::vector<uint64_t> second{0b010, 0b101, 0b011};
    EXPECT_EQ(BinaryRank(first, 3), 2);
    EXPECT_EQ(BinaryRank(second, 3), 3);
    std::vector<uint64_t> zero(32, 0);
    EXPECT_EQ(BinaryRank(zero, 32), 0);
    std::vector<uint64_t> identity;
    for (int i = 0; i < 32; ++i)
        identity.push_back(uint64_t{1} << i);
    EXPECT_EQ(BinaryRank(identity, 32), 32);
}

TEST(BinaryRank, ExactClassProbabilities) {
    EXPECT_NEAR(RankProbability(32, 32, 32), 0.288788, 1e-6);
    EXPECT_NEAR(RankProbability(32, 32, 31), 0.577576, 1e-6);
    // 3 x 3 by hand: full rank (7/8)(6/8)(4/8).
    EXPECT_DOUBLE_EQ(RankProbability(3, 3, 3), 0.328125);
    EXPECT_DOUBLE_EQ(RankProbability(1, 8, 0), 1.0 / 256);
    double total = 0;
    for (int r = 0; r <= 6; ++r)
        total += RankProbability(6, 8, r);
    EXPECT_NEAR(total, 1.0, 1e-12);
}

TEST(BinaryRank, WorkedExampleChiSquare) {
    // Two matrices, one of full rank and one of full rank - 1, against the 32 x 32 classes;
    // the published figure comes from probabilities rounded to four places.
    EXPECT_NEAR(RankClassPValue({1, 1, 0}, 32, 32), 0.741948, 1e-4);
}

TEST(BinaryRank, SixByEightTakesTheChosenByteOfEachWord) {
    // Six words whose top byte is the identity's rows and whose other bytes are zero: with
    // byte order 0 every matrix has full rank, with byte order 8 rank 0.
    BitSequence s;
    for (int copy = 0; copy < 600; ++copy)
        for (int j = 0; j < 6; ++j)
            AppendBits(s, uint64_t{0x80u >> j} << 24, 32);
    EXPECT_LT(Rank6x8Test(s, 0), 1e-10);
    EXPECT_LT(Rank6x8Test(s, 8), 1e-10);
    EXPECT_EQ(Rank6x8Test(s, 25), NoResult);
}

TEST(Dft, WorkedExample) {
    // The published example counts 4 moduli below the threshold 5.4733, but the moduli of
    // this sequence are 0, 2, 4.47, 2, 4.47 (by hand), all five below it. With the corrected
    // variance 10 * 0.95 * 0.05 / 3.8 = 0.125, the published count 4 gives d = -0.75 /
    // sqrt(0.125) and p = erfc(1.5); the true count 5 gives erfc(0.5).
    const BitSequence s = BitsFromText("1001010011");
    EXPECT_EQ(DftPeaksBelowThreshold(s, 10), 5u);
    EXPECT_NEAR(DftPValue(10, 4), 0.0338949, 1e-6);
    EXPECT_NEAR(DftTest(s, 10), 0.4795001, 1e-6);
    EXPECT_EQ(DftTest(s, 11), NoResult);
}

TEST(Dft, ThresholdSeparatesAPeriodicSequenceFromNoise) {
    // 0011 repeated: all the energy sits at frequency n/4, so every other modulus is zero.
    BitSequence s;
    for (int i = 0; i < 256; ++i)
        AppendBits(s, 0b0011, 4);
    EXPECT_EQ(DftPeaksBelowThreshold(s, 1024), 511u);
}

TEST(ShortBlocks, AdjacentBlocksAreThePokerTest) {
    // 00 00 11 11 00 00 11 11: counts 4, 0, 0, 4 of 8, chi-square 8 with 3 degrees of freedom.
    EXPECT_NEAR(ShortBlocksTest(BitsFromText("0000111100001111"), 2, 1), 0.0460117, 1e-6);
}

TEST(ShortBlocks, BlocksTakeTheirBitsAtTheDistance) {
    // Frames of 4 bits, blocks from bits (0, 2) and (1, 3): "0011" gives 01 and 01 twice over,
    // all four blocks alike: chi-square 12 with 3 degrees of freedom.
    EXPECT_NEAR(ShortBlocksTest(BitsFromText("00110011"), 2, 2), 0.0073832, 1e-6);
    EXPECT_EQ(ShortBlockCount(1000, 4, 1024), 0u);
    EXPECT_EQ(ShortBlockCount(10000, 4, 1024), 2048u);
    EXPECT_EQ(ShortBlocksTest(BitsFromText("0011"), 4, 2), NoResult);
}

TEST(WindowedAutocorrelation, HandComputedStatistics) {
    const BitSequence alternating = BitsFromText("0101010101");
    EXPECT_NEAR(WindowedAutocorrelationZ(alternating, 1, 1), -3.0, 1e-12);
    EXPECT_NEAR(WindowedAutocorrelationZ(alternating, 2, 1), 8 / std::sqrt(8.0), 1e-12);
    EXPECT_NEAR(WindowedAutocorrelationTest(alternating, 1, 1), 0.0026998, 1e-6);
    // Blocks 0, 3, 0, 3 of 2 bits: centred -3, 3, -3, 3 of variance 5, three products of -9.
    EXPECT_NEAR(WindowedAutocorrelationZ(BitsFromText("00110011"), 1, 2),
                -27 / (5 * std::sqrt(3.0)), 1e-12);
    EXPECT_EQ(WindowedAutocorrelationTest(alternating, 10, 1), NoResult);
}

TEST(TemplateMatching, WorkedExample) {
    const BitSequence s = BitsFromText("10100100101110010110");
    EXPECT_EQ(TemplateMatchesPerBlock(s, 0b001, 3, 2), (std::vector<uint64_t>{2, 1}));
    EXPECT_NEAR(NonOverlappingTemplateTest(s, 0b001, 3, 2), 0.344154, 1e-6);
}

TEST(TemplateMatching, MatchesDoNotOverlapAndStayInTheirBlock) {
    // "1111": a scan that skipped one bit after a match would find 11 three times.
    EXPECT_EQ(TemplateMatchesPerBlock(BitsFromText("1111 0000"), 0b11, 2, 2),
              (std::vector<uint64_t>{2, 0}));
    // The 11 across the boundary of 0001 | 1000 belongs to no block.
    EXPECT_EQ(TemplateMatchesPerBlock(BitsFromText("0001 1000"), 0b11, 2, 2),
              (std::vector<uint64_t>{0, 0}));
}

TEST(TemplateMatching, AperiodicTemplatesAsPublished) {
    EXPECT_EQ(AperiodicTemplates(2, 100), (std::vector<uint32_t>{0b01, 0b10}));
    EXPECT_EQ(AperiodicTemplates(3, 100), (std::vector<uint32_t>{0b001, 0b011, 0b100, 0b110}));
    EXPECT_EQ(AperiodicTemplates(9, 1000).size(), 148u);
    EXPECT_EQ(AperiodicTemplates(10, 1000).size(), 284u);
    EXPECT_EQ(AperiodicTemplates(9, 2), (std::vector<uint32_t>{0b000000001, 0b000000011}));
    EXPECT_FALSE(IsAperiodicTemplate(0b1001, 4)); // its first and last bits coincide
}

TEST(CouponCollector, ExactLengthProbabilities) {
    // Two values: the segment ends with the first change, P(r) = 2^(1 - r).
    const std::vector<double> two = CouponLengthProbabilities(2, 1e-3);
    ASSERT_GE(two.size(), 3u);
    EXPECT_DOUBLE_EQ(two[0], 0.5);
    EXPECT_DOUBLE_EQ(two[2], 0.125);
    // Four values: P(4) = 4! / 4^4, P(5) = 4! / 4^5 * S(4, 3) with S(4, 3) = 6.
    const std::vector<double> four = CouponLengthProbabilities(4, 1e-9);
    EXPECT_NEAR(four[0], 24.0 / 256, 1e-15);
    EXPECT_NEAR(four[1], 24.0 * 6 / 1024, 1e-15);
    double total = 0;
    for (double p : four)
        total += p;
    EXPECT_NEAR(total, 1.0, 1e-9);
}

TEST(CouponCollector, SegmentsEndWhenEveryValueWasSeen) {
    // 1-bit values 0 1 | 1 1 0 | 0 0 1 | 0: three whole segments, the last value left over.
    const BitSequence s = BitsFromText("01 110 001 0");
    EXPECT_EQ(CouponSegmentLengths(s, 1, 3), (std::vector<uint64_t>{2, 3, 3}));
    EXPECT_EQ(CouponSegmentLengths(s, 1, 4).size(), 3u); // the bits end before a fourth
    // 2-bit values 00 01 00 10 11 | 11 10 01 00
    EXPECT_EQ(CouponSegmentLengths(BitsFromText("0001001011 11100100"), 2, 2),
              (std::vector<uint64_t>{5, 4}));
}

TEST(RunsUp, ExactProbabilitiesWithTies) {
    EXPECT_DOUBLE_EQ(RunAtLeast(1, 1), 1.0);
    EXPECT_DOUBLE_EQ(RunAtLeast(1, 2), 0.25); // only 0 then 1
    EXPECT_DOUBLE_EQ(RunAtLeast(1, 3), 0.0);
    EXPECT_DOUBLE_EQ(RunAtLeast(2, 2), 6.0 / 16);  // C(4, 2) / 4^2
    EXPECT_NEAR(RunAtLeast(32, 3), 1.0 / 6, 1e-9); // nearly without ties: 1 / k!
    // One bit: lengths 1 and 2 with 3/4 and 1/4, plus the skipped value.
    const SegmentMoments m = RunMoments(1);
    EXPECT_NEAR(m.mean, 2.25, 1e-12);
    EXPECT_NEAR(m.sd, std::sqrt(0.1875), 1e-12);
}

TEST(RunsUp, RunsEndAtTheFirstValueNotAboveAndSkipIt) {
    // 2-bit values 0 1 3 (2) | 1 (1) | 2 3 (0) | 3: lengths 3, 1, 2; the last run is open.
    const BitSequence s = BitsFromText("00 01 11 10 01 01 10 11 00 11");
    EXPECT_EQ(RunLengthCounts(s, 2, 3, 3), (std::vector<uint64_t>{1, 1, 1}));
    EXPECT_EQ(RunLengthCounts(s, 2, 2, 3), (std::vector<uint64_t>{1, 2}));
    EXPECT_EQ(RunLengthCounts(s, 2, 3, 4), (std::vector<uint64_t>{1, 1, 1})); // no fourth run
}

TEST(SegmentBudget, BlocksAndCountsAgree) {
    for (const SegmentMoments m : {RunMoments(1), RunMoments(16), CouponMoments(512)})
        for (uint64_t count : {1u, 50u, 1000u, 123457u}) {
            const uint64_t blocks = BlocksForSegments(count, m);
            EXPECT_GE(SegmentCountWithin(blocks, m), count);
            EXPECT_LT(SegmentCountWithin(blocks - 2, m), count + 1);
            EXPECT_GT(static_cast<double>(blocks), static_cast<double>(count) * m.mean);
        }
}

TEST(Collision, PublishedTableFor16384BallsInAMillionUrns) {
    // Knuth's example: m = 2^20 urns, n = 2^14 balls; P(collisions <= c).
    const std::vector<double> p = CollisionDistribution(1 << 14, 20);
    const std::vector<std::pair<size_t, double>> table{{101, 0.009}, {108, 0.043}, {119, 0.244},
                                                       {126, 0.476}, {134, 0.742}, {145, 0.946},
                                                       {153, 0.989}};
    double below = 0;
    size_t next = 0;
    for (size_t c = 0; c < p.size() && next < table.size(); ++c) {
        below += p[c];
        if (c == table[next].first) {
            EXPECT_NEAR(below, table[next].second, 0.0006) << c;
            ++next;
        }
    }
    EXPECT_EQ(next, table.size());
}

TEST(Collision, HandComputedCases) {
    // 3 balls in 2 urns: all in one urn (2 collisions) with 1/4, else 1 collision.
    const std::vector<double> three = CollisionDistribution(3, 1);
    EXPECT_DOUBLE_EQ(three[0], 0.0);
    EXPECT_DOUBLE_EQ(three[1], 0.75);
    EXPECT_DOUBLE_EQ(three[2], 0.25);
    // 2-bit values 00 01 00 11 01 00: three distinct among six.
    const BitSequence s = BitsFromText("00 01 00 11 01 00");
    EXPECT_EQ(CountCollisions(s, 2, 6), 3u);
    EXPECT_EQ(CountCollisions(s, 2, 3), 1u);
    EXPECT_EQ(CollisionBalls(12, 2), 4u); // at most one ball per urn on average
    EXPECT_EQ(CollisionBalls(12, 3), 4u);
}

TEST(Permutation, OrderingsAreNumberedOnceEach) {
    std::vector<uint64_t> group{1, 2, 3, 4};
    std::vector<bool> seen(24, false);
    do {
        const int64_t index = OrderingIndex(group);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 24);
        EXPECT_FALSE(seen[static_cast<size_t>(index)]);
        seen[static_cast<size_t>(index)] = true;
    } while (std::next_permutation(group.begin(), group.end()));
    EXPECT_EQ(OrderingIndex({2, 1, 3}), 2);
    EXPECT_EQ(OrderingIndex({3, 2, 1}), 5);
    EXPECT_EQ(OrderingIndex({3, 1, 3}), -1);
    EXPECT_EQ(Factorial(10), 3628800u);
}

TEST(Permutation, GroupsWithEqualValuesAreLeftOut) {
    EXPECT_DOUBLE_EQ(DistinctGroupProbability(2, 4), 24.0 / 256);
    EXPECT_DOUBLE_EQ(DistinctGroupProbability(1, 3), 0.0);
    // Pairs of bits 01 10 01 00 11: orders 0, 1, 0; chi-square (0.25 + 0.25) / 1.5 with one
    // degree of freedom, p = erfc(sqrt(1 / 6)).
    EXPECT_NEAR(PermutationTest(BitsFromText("0110010011"), 1, 2), std::erfc(std::sqrt(1.0 / 6)),
                1e-12);
    EXPECT_EQ(PermutationTest(BitsFromText("0011"), 1, 2), NoResult); // no distinct pair
}

TEST(Maurer, WorkedExampleStatistic) {
    const MaurerStatistic st = MaurerFn(BitsFromText("01011010011101010111"), 2, 4);
    EXPECT_EQ(st.k, 6u);
    EXPECT_NEAR(st.fn, 1.1949875, 1e-7);
}

TEST(Maurer, PValueIsOneAtTheExpectedValue) {
    EXPECT_NEAR(MaurerPValue(7.1836656, 8, 1000000), 1.0, 1e-12);
    EXPECT_EQ(MaurerPValue(7.0, 17, 1000), NoResult);
    EXPECT_EQ(MaurerFn(BitsFromText("0101"), 2, 4).k, 0u);
}

} // namespace
} // namespace zentrope
