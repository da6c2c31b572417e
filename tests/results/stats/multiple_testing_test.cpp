#include "results/stats/multiple_testing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zentrope;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(actual[i])) << i;
        else
            EXPECT_NEAR(actual[i], expected[i], 1e-15) << i;
    }
}
} // namespace

// By hand, m = 4, ascending 0.005, 0.01, 0.03, 0.04:
// Holm 4 * 0.005 = 0.02, 3 * 0.01 = 0.03, 2 * 0.03 = 0.06, max(0.06, 0.04) = 0.06.
// BY with m c(m) = 4 * 25/12 = 25/3: 0.04 -> 1/12, 0.03 -> min(1/12, 1/12),
// 0.01 -> 1/24, 0.005 -> min(1/24, 1/24).
TEST(MultipleTesting, HandComputedFamilyOfFour) {
    const std::vector<double> p = {0.01, 0.04, 0.03, 0.005};
    ExpectValues(HolmAdjusted(p), {0.03, 0.06, 0.06, 0.02});
    ExpectValues(BenjaminiYekutieliQValues(p), {1.0 / 24, 1.0 / 12, 1.0 / 12, 1.0 / 24});
}

TEST(MultipleTesting, MissingValuesAreOutsideTheFamily) {
    const std::vector<double> p = {-1.0, 0.01, NaN, 0.04, 0.03, 7.0, 0.005};
    ExpectValues(HolmAdjusted(p), {NaN, 0.03, NaN, 0.06, 0.06, NaN, 0.02});
    ExpectValues(BenjaminiYekutieliQValues(p),
                 {NaN, 1.0 / 24, NaN, 1.0 / 12, 1.0 / 12, NaN, 1.0 / 24});
    ExpectValues(HolmAdjusted(std::vector<double>{-1.0, NaN}), {NaN, NaN});
    EXPECT_TRUE(HolmAdjusted({}).empty());
}

TEST(MultipleTesting, CappedAtOneAndTiesShareAValue) {
    ExpectValues(HolmAdjusted(std::vector<double>{0.5, 0.9}), {1.0, 1.0});
    ExpectValues(BenjaminiYekutieliQValues(std::vector<double>{0.5, 0.9}), {1.0, 1.0});
    // m = 3, c = 11/6: 0.02 twice -> 3 * 11/6 * 0.02 / 2 = 0.055; 0.5 -> 5.5 * 0.5 / 3.
    ExpectValues(HolmAdjusted(std::vector<double>{0.02, 0.5, 0.02}), {0.06, 0.5, 0.06});
    ExpectValues(BenjaminiYekutieliQValues(std::vector<double>{0.02, 0.5, 0.02}),
                 {0.055, 5.5 * 0.5 / 3, 0.055});
}
