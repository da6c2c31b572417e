#include "model/c_text.h"
#include "results/grid/result_loader.h"
#include "tester/randomness_tests.h"
#include "tester/result_report.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zentrope {
namespace {

using testing::DefaultSet;

// Three lines over four sequences: one uniform-looking, one with a failed sequence, one bad.
RunResults SampleResults() {
    RunResults r;
    r.header = {"Zentrope stand-in tester", "Bits per sequence (n): 1000"};
    r.lineNames = {"Serial m=1", "Maurer L=6", "Cumulative sum"};
    r.pValues = {
        {0.125, 0.5, 0.0001}, {0.375, -1, 0.0002}, {0.625, 0.25, 0.0003}, {0.875, 0.75, 0.0004}};
    return r;
}

TEST(ResultReport, ResultLinesInBothFormats) {
    ParameterSet set = DefaultSet();
    EXPECT_EQ(FormatResultLine("Serial m=3", 0.25, set), "0.2500000\tSerial m=3");
    EXPECT_EQ(FormatResultLine("Serial m=3", NoResult, set), "-1\tSerial m=3");
    set.TestName_pv = 1;
    set.pval_digits = 3;
    EXPECT_EQ(FormatResultLine("Rank 32x32", 0.98765, set), "Rank 32x32\t0.988");
}

TEST(ResultReport, SummariesSkipFailedSequencesAndNeedThreeValues) {
    RunResults r = SampleResults();
    std::vector<LineSummary> rows = SummarizeLines(r);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].count, 4u);
    // 1/8, 3/8, 5/8, 7/8 against the line 0, 1/3, 2/3, 1: 100 * 0.0347222 / 1.5555556.
    EXPECT_NEAR(*rows[0].sl, 2.232143, 1e-6);
    EXPECT_EQ(rows[1].count, 3u);
    EXPECT_TRUE(rows[1].ks.has_value());
    r.pValues[0][1] = -1;
    rows = SummarizeLines(r);
    EXPECT_EQ(rows[1].count, 2u);
    EXPECT_FALSE(rows[1].ks.has_value());
}

TEST(ResultReport, SortsAsAskedWithLinesWithoutFiguresLast) {
    RunResults r = SampleResults();
    r.pValues[0][1] = -1;            // Maurer: too few values
    ParameterSet set = DefaultSet(); // sortSL
    std::vector<LineSummary> rows = SummarizeLines(r);
    SortSummaries(rows, set);
    EXPECT_EQ(rows[0].name, "Cumulative sum");
    EXPECT_EQ(rows[1].name, "Serial m=1");
    EXPECT_EQ(rows[2].name, "Maurer L=6");
    set.sortKS = 1;
    SortSummaries(rows, set);
    EXPECT_EQ(rows[0].name, "Cumulative sum");
    EXPECT_LT(*rows[0].ks, *rows[1].ks);
    EXPECT_EQ(rows[2].name, "Maurer L=6");
}

TEST(ResultReport, FlagsFiguresBeyondTheThresholds) {
    const ParameterSet set = DefaultSet(); // KSmin 0.0005, AD and SL thresholds off
    const std::string text = FormatResultFile(SampleResults(), set);
    EXPECT_NE(text.find("\tCumulative sum\t<-- bad: KS<0.0005\n"), std::string::npos);
    EXPECT_EQ(text.find("Serial m=1\t<--"), std::string::npos);
    EXPECT_EQ(text.find("AD<"), std::string::npos);
}

TEST(ResultReport, TheLoaderReadsSectionsAndNothingElse) {
    RunResults r = SampleResults();
    // A long report line (many input files, say) is read in pieces by the loader; no piece
    // may begin like a heading.
    // 999 characters, then what would be a heading if the line were written whole.
    const std::string longLine = "Input: " + std::string(992, 'x') + "Sequence #1 and more";
    r.header.push_back(longLine);
    const std::string text = FormatResultFile(r, DefaultSet());
    std::istringstream in(text);
    ResultGrid grid;
    ResultLoadOptions options;
    options.sort_sl = false;
    LoadResultStream(in, options, grid);
    EXPECT_EQ(grid.SequenceColumnEnd(), 3 + 4);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(1, 1), "Serial m=1");
    EXPECT_EQ(grid.Cell(1, 3), "Cumulative sum");
    EXPECT_EQ(grid.Cell(3, 1), "0.1250000");
    EXPECT_TRUE(grid.IsErrorCell(4, 2));
    EXPECT_EQ(grid.Cell(2, 2), "3");
    const std::vector<LineSummary> rows = SummarizeLines(r);
    EXPECT_EQ(grid.Cell(grid.SequenceColumnEnd() + 1, 0), "KS");
    EXPECT_EQ(grid.Cell(grid.SequenceColumnEnd() + 1, 1), FormatFixed(*rows[0].ks, 7));
}

} // namespace
} // namespace zentrope
