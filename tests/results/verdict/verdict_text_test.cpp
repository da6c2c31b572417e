// The verdict in words, from result files with figures known from the literature.
#include "results/grid/no_result_reasons.h"
#include "results/verdict/verdict_text.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace zentrope;
using zentrope::testing::LoadText;
using zentrope::testing::ResultFile;

namespace {

struct Judged {
    ResultGrid grid;
    RunVerdict verdict;
    VerdictRows rows;
};

void Judge(Judged& out, const std::string& text, const FlagThresholds& thresholds, double alpha) {
    LoadText(out.grid, text);
    out.verdict = JudgeRun(out.grid.Results(), thresholds, alpha);
    out.rows = VerdictRowsOf(out.grid.Results(), thresholds, alpha,
                             ReadNoResultReasons(out.grid.FileText()));
}

// The number printed right after `key` in text.
double NumberAfter(const std::string& text, const std::string& key) {
    const size_t at = text.find(key);
    EXPECT_NE(at, std::string::npos) << key;
    return at == std::string::npos ? NAN : std::strtod(text.c_str() + at + key.size(), nullptr);
}

// Three sequences. Stephens' tables and the edge cases of the goodness-of-fit figures give
// Low = {0.01, 0.02, 0.03}: KS 0.0020055, AD 7.938e-5; Mid = {0.1, 0.5, 0.9}: KS 0.9883352;
// Quarter = {0.25, 0.5, 0.75}: KS 0.9758684. Two rows have no value at all.
std::string ThreeSequences() {
    const std::string header =
        "Zentrope report\n"
        "No result: line 4 \"AMLS kbits=32768\": needs 268,435,456 bits, a sequence holds "
        "2,000,000\n";
    return header + ResultFile({"Low", "Mid", "Quarter", "AMLS kbits=32768", "NoWhy"},
                               {{"0.01", "0.1", "0.25", "-1", "-1"},
                                {"0.02", "0.5", "0.5", "-1", "-1"},
                                {"0.03", "0.9", "0.75", "-1", "-1"}})
                        .substr(std::string("Zentrope report\n").size());
}

} // namespace

TEST(VerdictText, FailingRowsInFullWithWhatTheyCrossAndRowsWithoutAResult) {
    Judged j;
    Judge(j, ThreeSequences(), FlagThresholds{0.0005, 0.001, 100}, 0.01);
    // Holm over the three rows with figures: 3 x 0.0020055 <= 0.01 rejects Low alone.
    ASSERT_EQ(j.rows.failing.size(), 1u);
    const FailingRow& low = j.rows.failing[0];
    EXPECT_EQ(low.name, "Low");
    EXPECT_TRUE(low.rejected);
    EXPECT_NEAR(low.adjusted, 3 * 0.0020055, 3e-7);
    // For d >= 1 - 1/n the exact tail is P(D_n >= d) = 2 (1 - d)^n: D = 0.97, 2 x 0.03^3.
    EXPECT_NEAR(low.exact_ks / 5.4e-5, 1, 1e-9);

    const std::string report = VerdictReport(j.verdict, j.rows, {0.0005, 0.001, 100}, 0.01);
    const std::string line = report.substr(0, report.find('\n'));
    EXPECT_NE(line.find("Holm over 3 rows at 0.01: FAILS, worst row Low (adjusted p 6.02e-03)."),
              std::string::npos)
        << line;
    EXPECT_NE(line.find("below ADmin 0.001: 1 (0.0 expected by chance)"), std::string::npos);
    EXPECT_NE(line.find(" Failing: Low (KS 2.0e-03). 2 rows without a result: AMLS "
                        "kbits=32768 needs 268,435,456 bits, a sequence holds 2,000,000; NoWhy "
                        "no reason given."),
              std::string::npos)
        << line;
    // The listed row: its figures in full digits, each threshold it crosses.
    const size_t at = report.find("\nrow 1 \"Low\": KS ");
    ASSERT_NE(at, std::string::npos) << report;
    const std::string row = report.substr(at + 1, report.find('\n', at + 1) - at - 1);
    EXPECT_NEAR(NumberAfter(row, "KS "), 0.0020055, 5e-8);
    EXPECT_NEAR(NumberAfter(row, "AD "), 7.938e-5, 5e-9);
    EXPECT_NEAR(NumberAfter(row, "SL "), 93.712, 5e-4);
    EXPECT_NE(row.find("AD below ADmin: "), std::string::npos) << row;
    EXPECT_NE(row.find("(threshold 0.001); Holm-adjusted KS p "), std::string::npos) << row;
    EXPECT_EQ(row.find("KS below KSmin"), std::string::npos) << row;
    EXPECT_EQ(CrossedNames(low, {0.0005, 0.001, 100}, 0.01),
              (std::vector<std::string>{"AD < ADmin 0.001", "Holm at 0.01"}));
    EXPECT_NE(report.find("\nRows without a result: 2\nrow 4 \"AMLS kbits=32768\": needs "
                          "268,435,456 bits, a sequence holds 2,000,000\nrow 5 \"NoWhy\": no "
                          "reason given\n"),
              std::string::npos)
        << report;

    const std::string json = VerdictJson(j.verdict, j.rows, {0.0005, 0.001, 100}, 0.01);
    EXPECT_NE(json.find("{\"verdict\": \"fails\""), std::string::npos);
    EXPECT_NEAR(NumberAfter(json, "\"exact_ks\": ") / 5.4e-5, 1, 1e-9);
    EXPECT_NE(json.find("\"reason\": \"no reason given\""), std::string::npos);
}

TEST(VerdictText, UnderflowingFiguresAreABoundNeverZero) {
    // 400 sequences: "Zero" holds only 0, so D = 1; KS, AD and the exact p underflow.
    std::vector<std::vector<std::string>> sections;
    for (int s = 0; s < 400; ++s)
        sections.push_back({"0.0000000", std::to_string((s + 0.5) / 400)});
    Judged j;
    Judge(j, ResultFile({"Zero", "Even"}, sections), {}, 0.01);
    ASSERT_EQ(j.rows.failing.size(), 1u);
    const std::string report = VerdictReport(j.verdict, j.rows, {}, 0.01);
    EXPECT_NE(report.find("row 1 \"Zero\": KS < 1e-300, AD < 1e-300, SL 100, exact KS p < 1e-300; "
                          "crosses: KS below KSmin: < 1e-300 (threshold 0.0005)"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("worst row Zero (adjusted p < 1e-300)"), std::string::npos) << report;
    EXPECT_EQ(report.find("0.0000"), std::string::npos);
    EXPECT_NE(VerdictJson(j.verdict, j.rows, {}, 0.01).find("\"ks\": \"< 1e-300\""),
              std::string::npos);
    // A run that passes lists nothing.
    for (std::vector<std::string>& section : sections)
        section[0] = section[1];
    Judged even;
    Judge(even, ResultFile({"Even", "Even2"}, sections), {}, 0.01);
    EXPECT_FALSE(even.verdict.fails);
    EXPECT_TRUE(even.rows.failing.empty());
}
