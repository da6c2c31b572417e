#include "results/compare/run_comparison.h"
#include "tests/results/result_set_of.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace zentrope;

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();

// Scholz and Stephens' paper smoothness example scaled into [0, 1]: the test reads ranks only.
const std::vector<std::vector<double>> Laboratories = {
    {.387, .415, .438, .445, .455, .460, .477, .580},
    {.392, .393, .397, .414, .418, .429, .433, .458},
    {.340, .350, .390, .400, .430, .430, .440, .450},
    {.340, .348, .348, .354, .372, .378, .412, .428},
};
const std::vector<double> Even = {0.1, 0.3, 0.5, 0.7, 0.9, 0.2, 0.4, 0.6, 0.8};

std::vector<int32_t> Indices(std::initializer_list<int32_t> list) {
    return list;
}
} // namespace

TEST(RunComparison, PublishedKSampleExampleAcrossFourRuns) {
    std::vector<ResultSet> sets;
    for (const std::vector<double>& lab : Laboratories)
        sets.push_back(ResultSetOf({{"Paper", lab}}));
    std::vector<ComparedRun> runs;
    for (const ResultSet& set : sets)
        runs.push_back({"lab", &set});
    const std::vector<ComparedRow> compared = CompareRuns(runs, {});
    ASSERT_EQ(compared.size(), 1u);
    EXPECT_EQ(compared[0].test.k, 4);
    // Published: A2akN = 8.3926, P about 0.0022.
    EXPECT_NEAR(compared[0].test.a2akn, 8.3926, 0.5e-4);
    EXPECT_NEAR(compared[0].test.p_value, 0.0022, 0.5e-4);
}

TEST(RunComparison, MatchesNamesExactlyAndMarksPartialRows) {
    const ResultSet first = ResultSetOf({{"Serial", Even, RowFigures{0.3, 0.3, 1.0}},
                                         {"Runs", Even, RowFigures{0.0001, 0.3, 1.0}},
                                         {"Rank", Even},
                                         {"Rank", Even}});
    const ResultSet second = ResultSetOf({{"Runs", Even, RowFigures{0.2, 0.3, 40.0}},
                                          {"serial", Even},
                                          {"Serial ", Even},
                                          {"Rank", Even}});
    const std::vector<ComparedRun> runs = {{"before", &first}, {"after", &second}};
    const std::vector<ComparedRow> compared = CompareRuns(runs, {0.0005, 0.0, 30.0});
    ASSERT_EQ(compared.size(), 6u);
    // Equal samples first (p-value defined), then the partial rows in order of appearance.
    EXPECT_EQ(compared[0].name, "Runs");
    EXPECT_EQ(compared[0].row_in_run, Indices({1, 0}));
    EXPECT_EQ(compared[0].flagged, 2); // KS in the first run, SL in the second
    EXPECT_TRUE(compared[0].InEveryRun());
    EXPECT_EQ(compared[0].test.k, 2);
    EXPECT_EQ(compared[1].name, "Rank");
    EXPECT_EQ(compared[1].row_in_run, Indices({2, 3}));
    EXPECT_EQ(compared[2].name, "Serial");
    EXPECT_EQ(compared[2].row_in_run, Indices({0, -1}));
    EXPECT_EQ(compared[3].name, "Rank"); // its second occurrence, in the first run alone
    EXPECT_EQ(compared[3].row_in_run, Indices({3, -1}));
    EXPECT_FALSE(compared[3].InEveryRun());
    EXPECT_TRUE(std::isnan(compared[3].test.p_value));
    EXPECT_EQ(compared[4].name, "serial");
    EXPECT_EQ(compared[5].name, "Serial ");
    EXPECT_EQ(compared[5].present, 1);
    EXPECT_EQ(RowOfRun(runs, compared[0], 1)->figures->sl, 40.0);
    EXPECT_FALSE(RowOfRun(runs, compared[2], 1));
}

TEST(RunComparison, WorstFirstAndUnusableValuesLeftOut) {
    const std::vector<double> low = {0.01, 0.02, 0.03, 0.04, 0.05, 0.06, 0.07, 0.08, 0.09};
    std::vector<double> even_with_others = Even;
    even_with_others.insert(even_with_others.end(), {-1.0, NaN, 3.0});
    const ResultSet first =
        ResultSetOf({{"Alike", Even}, {"Apart", Even}, {"Lone", Even, RowFigures{0.5, 0.5, 1.0}}});
    const ResultSet second = ResultSetOf({{"Alike", even_with_others},
                                          {"Apart", low},
                                          {"Lone too", Even, RowFigures{0.0, 0.0, 0.0}}});
    const std::vector<ComparedRun> runs = {{"a", &first}, {"b", &second}};
    const std::vector<ComparedRow> compared = CompareRuns(runs, {});
    ASSERT_EQ(compared.size(), 4u);
    EXPECT_EQ(compared[0].name, "Apart");
    EXPECT_LT(compared[0].test.p_value, 0.01);
    EXPECT_EQ(compared[1].name, "Alike");
    // The error, the missing value (held as 0) and 3 are no p-values.
    EXPECT_EQ(compared[1].test.n, 18);
    EXPECT_GT(compared[1].test.p_value, 0.5);
    // Neither lone row has a test: the flagged one comes first.
    EXPECT_EQ(compared[2].name, "Lone too");
    EXPECT_EQ(compared[2].flagged, 1);
    EXPECT_EQ(compared[3].name, "Lone");
}
