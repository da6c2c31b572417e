#include "results/stats/uniformity.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

using namespace zentrope;

namespace {
// Values that fall into the given bins, in the middle of each.
std::vector<double> WithBinCounts(const std::array<int32_t, 10>& counts) {
    std::vector<double> values;
    for (int32_t bin = 0; bin < 10; ++bin)
        values.insert(values.end(), counts[bin], (bin + 0.5) / 10.0);
    return values;
}
} // namespace

TEST(Uniformity, RowsOfNistFinalAnalysisReports) {
    // Bin counts and P-VALUE columns as printed by NIST's test suite (six places).
    struct Row {
        std::array<int32_t, 10> counts;
        double p;
    };
    const std::vector<Row> rows = {
        {{3, 14, 10, 11, 5, 9, 6, 9, 6, 7}, 0.227773},
        {{14, 7, 4, 11, 4, 11, 6, 7, 10, 6}, 0.186566},
        {{7, 10, 4, 12, 10, 7, 9, 9, 5, 7}, 0.663130},
        {{3, 1, 1, 1, 2, 0, 2, 0, 0, 0}, 0.350485},
        {{0, 0, 0, 0, 1, 1, 0, 1, 2, 5}, 0.008879},
        {{7, 1, 1, 0, 0, 0, 0, 0, 1, 0}, 0.000003},
    };
    for (const Row& row : rows) {
        const UniformityTest test = PValueUniformity(WithBinCounts(row.counts));
        EXPECT_EQ(test.bins, row.counts);
        EXPECT_NEAR(test.p_value, row.p, 0.5e-6 + 1e-12) << row.counts[0];
    }
}

TEST(Uniformity, ExpectedCountIsNotRoundedDown) {
    // m = 15: 1.5 per bin gives chi-square 4.5 / 1.5 = 3 (1 per bin would give 7).
    const UniformityTest test = PValueUniformity(WithBinCounts({3, 2, 2, 1, 1, 2, 1, 1, 1, 1}));
    EXPECT_EQ(test.m, 15);
    EXPECT_NEAR(test.chi_square, 3.0, 1e-12);
    EXPECT_NEAR(test.p_value, 0.964294972685089126, 1e-13); // mpmath, igamc(4.5, 1.5)
    EXPECT_TRUE(test.too_few);
}

TEST(Uniformity, BinEdgesAndSmallSamples) {
    std::vector<double> edges = {0.0, std::nextafter(0.1, 0.0), 1.0};
    for (int32_t k = 1; k <= 9; ++k)
        edges.push_back(k / 10.0); // as "0.k" reads
    const UniformityTest test = PValueUniformity(edges);
    EXPECT_EQ(test.bins, (std::array<int32_t, 10>{2, 1, 1, 1, 1, 1, 1, 1, 1, 2}));

    EXPECT_TRUE(PValueUniformity(std::vector<double>(54, 0.5)).too_few);
    EXPECT_FALSE(PValueUniformity(std::vector<double>(55, 0.5)).too_few);
    const UniformityTest none = PValueUniformity({});
    EXPECT_EQ(none.m, 0);
    EXPECT_TRUE(std::isnan(none.chi_square) && std::isnan(none.p_value));
}

TEST(Uniformity, NistProportionExample) {
    // m = 1000, alpha = 0.01: 0.99 +/- 0.0094392, so at least 0.9805607; 996 passing is fine.
    std::vector<double> values(1000, 0.5);
    std::fill(values.begin(), values.begin() + 4, 0.001);
    const PassProportion pass = ProportionPassing(values, 0.01);
    EXPECT_EQ(pass.passed, 996);
    EXPECT_NEAR(pass.proportion, 0.996, 1e-15);
    EXPECT_NEAR(pass.low, 0.9805607, 0.5e-7);
    EXPECT_NEAR(pass.high - 0.99, 0.0094392, 1e-7); // printed cut, not rounded
    EXPECT_TRUE(pass.Inside());
}

TEST(Uniformity, ProportionCountsAlphaAsPassingAndFlagsTooFew) {
    // alpha = 0.1, m = 10: 0.9 -/+ 0.284605; 6 of 10 is below.
    const std::vector<double> values = {0.1, 0.05, 0.05, 0.05, 0.05, 0.2, 0.3, 0.4, 0.5, 1.0};
    const PassProportion pass = ProportionPassing(values, 0.1);
    EXPECT_EQ(pass.passed, 6);
    EXPECT_NEAR(pass.low, 0.9 - 3 * std::sqrt(0.09 / 10), 1e-15);
    EXPECT_FALSE(pass.Inside());
    const PassProportion none = ProportionPassing({}, 0.01);
    EXPECT_TRUE(std::isnan(none.proportion));
    EXPECT_FALSE(none.Inside());
}
