#include "results/run_verdict.h"
#include "tests/results/result_set_of.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zentrope;

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();
const std::vector<double> Twenty(20, 0.5);
// 20 values that count and three that do not: two errors and a missing value.
const std::vector<double> TwentyWithErrors = [] {
    std::vector<double> row(20, 0.5);
    row.insert(row.end(), {-1.0, -1.0, NaN});
    return row;
}();

RowOf Row(const char* name, double ks, double ad, double sl,
          const std::vector<double>& pvalues = Twenty) {
    return {name, pvalues, RowFigures{ks, ad, sl}};
}
} // namespace

TEST(RunVerdict, CountsFlagsAndHolmOverKsPValues) {
    const ResultSet results = ResultSetOf({
        Row("Frequency", 0.001, 0.2, 3.0),
        Row("Serial", 0.2, 0.004, 150.0),
        {"Short row", {0.3}},
        Row("Cumulative sums", 0.0004, 0.0001, 12.0, TwentyWithErrors),
    });
    const FlagThresholds thresholds{0.0005, 0.005, 10.0};
    const RunVerdict verdict = JudgeRun(results, thresholds, 0.01);
    EXPECT_EQ(verdict.rows, 4);
    EXPECT_EQ(verdict.sequences, 23);
    EXPECT_EQ(verdict.ks.flagged, 1); // 0.001 is above KSmin; the short row has no figures
    EXPECT_EQ(verdict.ad.flagged, 2);
    EXPECT_EQ(verdict.sl.flagged, 2);
    EXPECT_DOUBLE_EQ(verdict.ks.expected, 3 * 0.0005);
    EXPECT_DOUBLE_EQ(verdict.ad.expected, 3 * 0.005);
    // Holm by hand: family {0.001, 0.2, 0.0004}; the smallest adjusted is 3 * 0.0004.
    EXPECT_EQ(verdict.family, 3);
    EXPECT_EQ(verdict.worst_row, 3);
    EXPECT_EQ(verdict.worst_name, "Cumulative sums");
    EXPECT_NEAR(verdict.worst_adjusted, 0.0012, 1e-15);
    EXPECT_TRUE(verdict.fails);
    // Adjusted by hand: 0.0004 * 3 = 0.0012, 0.001 * 2 = 0.002, 0.2 * 1 = 0.2.
    ASSERT_EQ(verdict.rejected.size(), 2u);
    EXPECT_EQ(verdict.rejected[0].name, "Cumulative sums");
    EXPECT_EQ(verdict.rejected[1].row, 0);
    EXPECT_NEAR(verdict.rejected[1].adjusted, 0.002, 1e-15);
    const RunVerdict strict = JudgeRun(results, thresholds, 0.001);
    EXPECT_FALSE(strict.fails);
    EXPECT_TRUE(strict.rejected.empty());
}

TEST(RunVerdict, SwitchedOffChecksFlagNothingAndExpectNothing) {
    const ResultSet results = ResultSetOf({Row("A", 0.3, 0.3, 100.5), Row("B", 0.6, 0.0, 250.0)});
    const RunVerdict verdict = JudgeRun(results, {0.0, 0.0, 100.0}, 0.01);
    EXPECT_EQ(verdict.ks.flagged + verdict.ad.flagged + verdict.sl.flagged, 0);
    EXPECT_EQ(verdict.ks.expected + verdict.ad.expected + verdict.sl.expected, 0.0);
    EXPECT_FALSE(verdict.fails);
}

TEST(RunVerdict, SlChanceFromTheCramerVonMisesLaw) {
    // SLmax chosen so that a row of n = 20 counted values sits at W^2's published 5% point
    // 0.46136 (Anderson and Darling 1952): SL/100 (2n - 1)/6 = 0.46136. A row of 18 counted
    // values (18 numbers; two errors and a missing value are no values) sits further in: the
    // same law at 0.46136 * 35/39 = 0.41404, 6.64% by the series in arbitrary precision.
    const double sl_max = 100.0 * 0.46136 * 6.0 / 39.0;
    std::vector<double> eighteen(18, 0.5);
    eighteen.insert(eighteen.end(), {-1.0, -1.0, NaN});
    const ResultSet results = ResultSetOf({Row("A", 0.5, 0.5, 1.0),
                                           Row("B", 0.5, 0.5, 1.0),
                                           Row("C", 0.5, 0.5, 1.0, eighteen),
                                           {"No figures", {0.2}}});
    const RunVerdict verdict = JudgeRun(results, {0.0005, 0.0, sl_max}, 0.01);
    EXPECT_NEAR(verdict.sl.expected, 2 * 0.05 + 0.0664, 3e-4);
}

TEST(RunVerdict, WorstRowAmongEqualsAndEmptyRuns) {
    const ResultSet results = ResultSetOf({Row("A", 0.5, 0.5, 1.0), Row("B", 0.01, 0.5, 1.0),
                                           Row("C", 0.01, 0.5, 1.0), Row("D", -1.0, 0.5, 1.0)});
    const RunVerdict verdict = JudgeRun(results, {}, 0.05);
    EXPECT_EQ(verdict.family, 3); // -1 is no p-value
    EXPECT_EQ(verdict.worst_row, 1);
    EXPECT_NEAR(verdict.worst_adjusted, 0.03, 1e-15);
    EXPECT_TRUE(verdict.fails);

    const RunVerdict empty = JudgeRun(ResultSet(), {}, 0.05);
    EXPECT_EQ(empty.rows, 0);
    EXPECT_EQ(empty.worst_row, -1);
    EXPECT_TRUE(std::isnan(empty.worst_adjusted));
    EXPECT_FALSE(empty.fails);
}
