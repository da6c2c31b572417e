// On the built-in generator every test's p-values must be uniform: 200 sequences per test,
// judged by the front end's own KS figure. The seed is fixed, so the outcome never varies.
#include "results/stats/goodness_of_fit.h"
#include "tester/randomness_tests.h"
#include "tester/test_plan.h"
#include "tests/paramfile/test_support.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace zentrope {
namespace {

constexpr int Sequences = 200;

double UniformityKs(uint64_t n, const std::function<double(const BitSequence&)>& test) {
    Xoshiro256 g = SeedXoshiro(20261207);
    std::vector<double> p;
    for (int k = 0; k < Sequences; ++k) {
        p.push_back(test(GeneratorBits(g, n)));
        EXPECT_GE(p.back(), 0.0);
        EXPECT_LE(p.back(), 1.0);
    }
    SortPValues(p.data(), Sequences);
    return KsPValue(p.data(), Sequences);
}

TEST(Uniformity, FrequencyFamily) {
    EXPECT_GT(UniformityKs(20000, CumulativeSumTest), 0.001);
    EXPECT_GT(UniformityKs(20000, [](const BitSequence& s) { return BlockFrequencyTest(s, 128); }),
              0.001);
    for (int m : {1, 2, 3, 5})
        EXPECT_GT(UniformityKs(20000, [m = m](const BitSequence& s) { return SerialTest(s, m); }),
                  0.001)
            << m;
}

TEST(Uniformity, MatrixRanks) {
    EXPECT_GT(
        UniformityKs(1024 * 60, [](const BitSequence& s) { return MatrixRankTest(s, 32, 32); }),
        0.001);
    EXPECT_GT(
        UniformityKs(961 * 60, [](const BitSequence& s) { return MatrixRankTest(s, 31, 31); }),
        0.001);
    for (int order : {0, 13, 24})
        EXPECT_GT(UniformityKs(192 * 800,
                               [order = order](const BitSequence& s) { return Rank6x8Test(s, order); }),
                  0.001)
            << order;
}

TEST(Uniformity, Spectrum) {
    EXPECT_GT(UniformityKs(16384, [](const BitSequence& s) { return DftTest(s, s.size); }), 0.001);
    EXPECT_GT(UniformityKs(15000, [](const BitSequence& s) { return DftTest(s, s.size); }), 0.001);
}

TEST(Uniformity, BlocksAndAutocorrelation) {
    for (auto [s, d] : {std::pair{4, 1}, {3, 17}, {6, 64}})
        EXPECT_GT(UniformityKs(30000,
                               [s = s, d = d](const BitSequence& bits) {
                                   return ShortBlocksTest(bits, s, static_cast<uint64_t>(d));
                               }),
                  0.001)
            << s << " " << d;
    for (auto [d, s] : {std::pair{1, 1}, {37, 5}, {100, 16}})
        EXPECT_GT(UniformityKs(20000,
                               [d = d, s = s](const BitSequence& bits) {
                                   return WindowedAutocorrelationTest(bits,
                                                                      static_cast<uint64_t>(d), s);
                               }),
                  0.001)
            << d << " " << s;
}

TEST(Uniformity, TemplateMatching) {
    for (auto [m, pattern] : {std::pair{2, 0b01u}, {4, 0b0011u}, {9, 0b000000001u}})
        EXPECT_GT(UniformityKs(8 * (5 * (1u << m) + 2000),
                               [m = m, pattern = pattern](const BitSequence& s) {
                                   return NonOverlappingTemplateTest(s, pattern, m, 8);
                               }),
                  0.001)
            << m;
}

TEST(Uniformity, CouponCollector) {
    for (auto [s, n] : {std::pair{2, 20000}, {5, 150000}, {8, 1 << 20}})
        EXPECT_GT(
            UniformityKs(static_cast<uint64_t>(n),
                         [s = s](const BitSequence& bits) { return CouponCollectorTest(bits, s); }),
            0.001)
            << s;
}

TEST(Uniformity, RunsUp) {
    for (auto [s, r] : {std::pair{1, 2}, {4, 6}, {16, 8}, {32, 10}})
        EXPECT_GT(UniformityKs(static_cast<uint64_t>(8000 * s),
                               [s = s, r = r](const BitSequence& bits) { return RunsUpTest(bits, s, r); }),
                  0.001)
            << s << " " << r;
}

TEST(Uniformity, Collision) {
    for (auto [s, n] : {std::pair{12, 4096 * 12}, {16, 7300 * 16}})
        EXPECT_GT(UniformityKs(static_cast<uint64_t>(n),
                               [s = s](const BitSequence& bits) { return CollisionTest(bits, s); }),
                  0.001)
            << s;
}

TEST(Uniformity, Permutation) {
    for (auto [s, t] : {std::pair{2, 3}, {8, 4}, {16, 5}})
        EXPECT_GT(
            UniformityKs(30000,
                         [s = s, t = t](const BitSequence& bits) { return PermutationTest(bits, s, t); }),
            0.001)
            << s << " " << t;
}

TEST(Uniformity, Maurer) {
    for (int L : {6, 7}) {
        const uint64_t patterns = uint64_t{1} << L;
        const uint64_t n = (10 + 1000) * patterns * static_cast<uint64_t>(L);
        EXPECT_GT(
            UniformityKs(
                n, [L = L, patterns = patterns](const BitSequence& s) { return MaurerTest(s, L, 10 * patterns); }),
            0.001)
            << L;
    }
}

// At the fewest bits a line accepts, a good generator passes over 1000 sequences: the tests
// whose statistic takes few values there are the ones at risk.
TEST(Uniformity, AtTheShortestAcceptedLength) {
    const ParameterSet set = testing::DefaultSet();
    const std::vector<PlannedTest> lines{{1, "DFT", 1, 0},          {8, "Cumulative sum", 0, 0},
                                         {4, "Long blocks", 20, 0}, {9, "Serial", 1, 0},
                                         {9, "Serial", 2, 0},       {3, "Short blocks", 1, 1},
                                         {10, "NOTM", 2, 0b01},     {18, "Permutation", 4, 2},
                                         {13, "Rank 32x32", 0, 0},  {2, "Maurer", 6, 0}};
    ParameterSet fewTestBlocks = set;
    fewTestBlocks.Maurer_N = 40;
    for (const PlannedTest& line : lines) {
        const ParameterSet& used = line.test == 2 ? fewTestBlocks : set;
        const uint64_t n = RequiredBits(line, used);
        Xoshiro256 g = SeedXoshiro(777);
        std::vector<double> p;
        for (int k = 0; k < 1000; ++k)
            p.push_back(RunPlannedTest(line, GeneratorBits(g, n), used));
        ASSERT_GE(*std::min_element(p.begin(), p.end()), 0.0) << line.name;
        SortPValues(p.data(), 1000);
        EXPECT_GT(KsPValue(p.data(), 1000), 0.001) << line.name << " at " << n;
    }
}

} // namespace
} // namespace zentrope
