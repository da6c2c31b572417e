#include "results/verdict/run_verdict.h"
#include "tests/results/result_file_text.h"
#include "tests/results/result_set_of.h"
#include "tests/results/temp_folder.h"

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

namespace {

// Ten sections; a test named "Bad..." holds only values at most 0.01 (KS D = 0.99, so its
// p-value is far below any alpha here even after Holm), the others spread evenly over [0, 1]
// (D = 0.05, p near 1).
std::string TenSequences(const std::vector<std::string>& names) {
    std::vector<std::vector<std::string>> sections(10);
    for (int s = 0; s < 10; ++s)
        for (const std::string& name : names)
            sections[size_t(s)].push_back(name.starts_with("Bad") ? "0.00" + std::to_string(s + 1)
                                                                  : "0." + std::to_string(s) + "5");
    return zentrope::testing::ResultFile(names, sections);
}

} // namespace

// The brief verdict a record keeps, read from files as the tester leaves them.
TEST(RunVerdict, BriefVerdictOfResultFiles) {
    const zentrope::testing::TempFolder folder("run_verdict_test_");
    const BriefVerdict good = JudgeResultFile(
        folder.Write("good.txt", TenSequences({"Frequency", "Serial", "Runs"})), 0.01);
    EXPECT_EQ(good.outcome, BriefOutcome::Passes);
    EXPECT_EQ(good.failing_rows, 0);
    EXPECT_DOUBLE_EQ(good.alpha, 0.01);

    const BriefVerdict bad = JudgeResultFile(
        folder.Write("bad.txt", TenSequences({"Bad1", "Frequency", "Bad2", "Serial"})), 0.05);
    EXPECT_EQ(bad.outcome, BriefOutcome::Fails);
    EXPECT_EQ(bad.failing_rows, 2);
    EXPECT_DOUBLE_EQ(bad.alpha, 0.05);

    // The other line format reads too, as the window's load does.
    const std::string nameFirst = "Sequence #1\nBad\t0.001\n\nSequence #2\nBad\t0.002\n\n"
                                  "Sequence #3\nBad\t0.003\n\nSequence #4\nBad\t0.004\n\n";
    EXPECT_EQ(JudgeResultFile(folder.Write("name_first.txt", nameFirst), 0.01).outcome,
              BriefOutcome::Fails);

    // One sequence gives rows but no KS figure: neither passes nor fails.
    EXPECT_EQ(
        JudgeResultFile(folder.Write("one.txt", "Sequence #1\n0.5\tFrequency\n\n"), 0.01).outcome,
        BriefOutcome::NoFigures);
    for (const char* name : {"empty.txt", "garbage.txt"})
        EXPECT_EQ(JudgeResultFile(folder.Write(name, name[0] == 'e' ? "" : "not\na result\n"), 0.01)
                      .outcome,
                  BriefOutcome::NoTable)
            << name;
    EXPECT_EQ(JudgeResultFile(folder.Path("missing.txt"), 0.01).outcome, BriefOutcome::NoTable);
}

// A file cut short is incomplete whatever its rows say; rows without p-values fail beside the
// rejected ones; without rows there is nothing.
TEST(RunVerdict, BriefVerdictOfIncompleteAndInvalidFiles) {
    const zentrope::testing::TempFolder folder("run_verdict_test_");
    std::string cut = TenSequences({"Bad1", "Frequency", "Serial"});
    cut.resize(cut.rfind("0.95\tSerial")); // the last section loses its last line
    EXPECT_EQ(JudgeResultFile(folder.Write("cut.txt", cut), 0.01).outcome,
              BriefOutcome::Incomplete);

    std::string invalid = TenSequences({"Bad1", "Frequency", "Serial"});
    invalid.replace(invalid.find("0.05\tSerial"), 4, "1.70");
    const BriefVerdict judged = JudgeResultFile(folder.Write("invalid.txt", invalid), 0.01);
    EXPECT_EQ(judged.outcome, BriefOutcome::Fails);
    EXPECT_EQ(judged.failing_rows, 2); // Bad1 rejected, Serial holding 1.70

    RunVerdict failing;
    failing.rows = 3;
    failing.family = 3;
    failing.fails = true;
    failing.rejected.resize(2);
    failing.incomplete = true;
    EXPECT_EQ(BriefOf(failing, 0.01).outcome, BriefOutcome::Incomplete);
    EXPECT_EQ(BriefOf(RunVerdict{}, 0.01).outcome, BriefOutcome::NoTable);
}
