#include "results/stats/pvalue_sample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zentrope;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
} // namespace

TEST(PValueSample, LeavesOutAndCountsWhatIsNoPValue) {
    const std::vector<double> row = {0.5, -1.0, NaN, 0.2, 1.5, -0.3, 0.0, 1.0, Inf, -1.0};
    const PValueSample sample = SamplePValues(row);
    EXPECT_EQ(sample.sorted, (std::vector<double>{0.0, 0.2, 0.5, 1.0}));
    EXPECT_EQ(sample.no_result, 3);
    EXPECT_EQ(sample.out_of_range, 3);
    EXPECT_EQ(sample.LeftOut(), 6);
    EXPECT_EQ(SamplePValues({}).Count(), 0);
}

TEST(PValueSample, SmallestValueOfARow) {
    const std::vector<double> row = {0.3, -1.0, 1e-300, NaN, 1e-300, -5.0};
    const SmallestPValue smallest = SmallestOf(row);
    EXPECT_EQ(smallest.index, 2);
    EXPECT_EQ(smallest.p, 1e-300);
    EXPECT_NEAR(smallest.minus_log10, 300.0, 1e-12);

    EXPECT_EQ(SmallestOf(std::vector<double>{-1.0, NaN}).index, -1);
    EXPECT_EQ(SmallestOf(std::vector<double>{0.4, 0.0}).minus_log10, Inf);
    const SmallestPValue one = SmallestOf(std::vector<double>{1.0});
    EXPECT_EQ(one.minus_log10, 0.0);
    EXPECT_FALSE(std::signbit(one.minus_log10));
}

TEST(PValueSample, DkwHalfWidth) {
    // sqrt(ln(2 / 0.05) / 200) for n = 100 (mpmath).
    EXPECT_NEAR(DkwHalfWidth(100, 0.05), 0.135810151574061950, 1e-15);
    EXPECT_NEAR(DkwHalfWidth(1, 2 * std::exp(-2.0)), 1.0, 1e-15);
    EXPECT_TRUE(std::isnan(DkwHalfWidth(0, 0.05)));
    EXPECT_TRUE(std::isnan(DkwHalfWidth(10, 0.0)));
    EXPECT_TRUE(std::isnan(DkwHalfWidth(10, 1.0)));
}
