// At the shortest length each accepts, the p-values of 1000 sequences of the built-in
// generator must be uniform, judged by the front end's own KS figure. The seed is fixed, so
// the outcome never varies.
#include "results/stats/goodness_of_fit.h"
#include "tester/basic_five_tests.h"
#include "tester/dft_rows.h"
#include "tester/distributions.h"
#include "tester/longest_run.h"
#include "tester/marsaglia_tests.h"
#include "tester/randomness_tests.h"
#include "tester/test_plan.h"
#include "tester/test_plan_more.h"
#include "tester/uniform_chi_square.h"
#include "tests/paramfile/test_support.h"
#include "tests/tester/random_sources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zentrope {
namespace {

constexpr int Sequences = 1000;

// The line's p-values on sequences of exactly the bits it needs, sorted.
std::vector<double> PValuesAtShortestLength(const PlannedTest& line, uint64_t seed) {
    const ParameterSet set = testing::DefaultSet();
    const uint64_t n = RequiredBits(line, set);
    Xoshiro256 g = SeedXoshiro(seed);
    std::vector<double> p;
    for (int k = 0; k < Sequences; ++k) {
        p.push_back(RunPlannedTest(line, GeneratorBits(g, n), set));
        EXPECT_GE(p.back(), 0.0) << line.name;
        EXPECT_LE(p.back(), 1.0) << line.name;
    }
    SortPValues(p.data(), Sequences);
    return p;
}

double KsAtShortestLength(const PlannedTest& line, uint64_t seed = 20261207) {
    std::vector<double> p = PValuesAtShortestLength(line, seed);
    return KsPValue(p.data(), Sequences);
}

// Chi-square of the p-values over 100 equal cells: p-values that take few distinct values
// (steps of a discrete statistic) leave most cells empty, which KS on 1000 sees only a little.
double FineCellsPValue(const std::vector<double>& p) {
    std::vector<uint64_t> cells(100, 0);
    for (double v : p)
        ++cells[std::min<size_t>(static_cast<size_t>(v * 100), 99)];
    return Igamc(99.0 / 2, UniformChiSquare(cells, p.size()) / 2);
}

TEST(MoreUniformity, BasicFive) {
    EXPECT_GT(KsAtShortestLength({SerialTwoBitId, "", 0, 0}), 0.001);
    EXPECT_GT(KsAtShortestLength({BlocksAndGapsId, "", 0, 0}), 0.001);
}

TEST(MoreUniformity, BitstreamAndGcd) {
    EXPECT_GT(KsAtShortestLength({SparseOccupancyId, "", 0, 0}), 0.001);
    EXPECT_GT(KsAtShortestLength({GcdId, "", 0, 0}), 0.001);
}

TEST(MoreUniformity, BirthdaySpacings) {
    EXPECT_GT(KsAtShortestLength({BirthdayId, "", 0, 0}), 0.001);
}

// The count is discrete (steps of 0.035 in its p-value at the shortest length); the randomized
// p-value must be continuous and uniform from any seed.
TEST(MoreUniformity, BirthdaySpacingsHasNoSteps) {
    for (uint64_t seed : {1u, 2u}) {
        const std::vector<double> p = PValuesAtShortestLength({BirthdayId, "", 0, 0}, seed);
        EXPECT_GT(FineCellsPValue(p), 0.001) << seed;
        EXPECT_GT(KsPValue(p.data(), Sequences), 0.001) << seed;
    }
}

TEST(MoreUniformity, LongestRunInBlocks) {
    for (int64_t kbits : {1, 2, 8})
        EXPECT_GT(KsAtShortestLength({AmlsId, "", kbits, 0}), 0.001) << kbits;
}

TEST(MoreUniformity, SpectrumInRows) {
    for (int64_t rows : {2, 3, 32})
        EXPECT_GT(KsAtShortestLength({1, "", rows, 0}), 0.001) << rows;
}

} // namespace
} // namespace zentrope
