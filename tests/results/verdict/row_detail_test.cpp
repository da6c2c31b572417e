// The detail of one row: which cells count, and the side of the empirical distribution at
// which the KS distance lies, worked out by hand from the definition D = max |F_n(x) - x|.
#include "results/verdict/row_detail.h"
#include "tests/results/result_set_of.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentrope {
namespace {

RowDetail DetailOf(const std::vector<double>& pvalues) {
    const ResultSet set = ResultSetOf({{"Row", pvalues}});
    return DescribeRow(set.Row(0), 0.01);
}

// x = 0.1, 0.2, 0.9: F_n jumps to 2/3 at 0.2, leaving it 2/3 - 0.2 = 0.4667 above the
// diagonal, the largest gap; the distance is drawn up to the value after the jump.
TEST(RowDetail, DistanceAboveTheDiagonalEndsAfterTheJump) {
    const RowDetail detail = DetailOf({0.9, 0.1, 0.2});
    EXPECT_EQ(detail.sorted, (std::vector<double>{0.1, 0.2, 0.9}));
    EXPECT_NEAR(detail.ks.d, 2.0 / 3.0 - 0.2, 1e-15);
    EXPECT_EQ(detail.ks.at, 1);
    EXPECT_DOUBLE_EQ(detail.d_edf, 2.0 / 3.0);
}

// x = 0.5, 0.6, 0.7: F_n is still 0 just below 0.5, 0.5 under the diagonal; the distance is
// drawn down to the value before the jump.
TEST(RowDetail, DistanceBelowTheDiagonalEndsBeforeTheJump) {
    const RowDetail detail = DetailOf({0.7, 0.5, 0.6});
    EXPECT_NEAR(detail.ks.d, 0.5, 1e-15);
    EXPECT_EQ(detail.ks.at, 0);
    EXPECT_DOUBLE_EQ(detail.d_edf, 0.0);
}

// Errors, missing cells and numbers outside [0, 1] are counted apart and left out.
TEST(RowDetail, OnlyNumbersWithinTheUnitIntervalCount) {
    const double missing = std::nan("");
    const RowDetail detail = DetailOf({0.25, -1.0, missing, 1.5, 0.75, -1.0});
    EXPECT_EQ(detail.sorted, (std::vector<double>{0.25, 0.75}));
    EXPECT_EQ(detail.errors, 2);
    EXPECT_EQ(detail.empty, 1);
    EXPECT_EQ(detail.out_of_range, 1);
    // 0.25 and 0.75: F_n - x is 0.25 on both sides of each jump.
    EXPECT_NEAR(detail.ks.d, 0.25, 1e-15);
}

TEST(RowDetail, ARowWithoutNumbersHasNoFigures) {
    const RowDetail detail = DetailOf({-1.0, -1.0});
    EXPECT_TRUE(detail.sorted.empty());
    EXPECT_TRUE(std::isnan(detail.ks_exact_p));
    EXPECT_TRUE(std::isnan(detail.ad_statistic));
}

} // namespace
} // namespace zentrope
