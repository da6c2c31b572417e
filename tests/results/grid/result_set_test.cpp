// The numbers a load keeps beside the table's texts.
#include "results/stats/goodness_of_fit.h"
#include "results/grid/table_sort.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace zentrope;
using namespace zentrope::testing;

TEST(ResultSet, MarksValuesCountsAndPublishedFigures) {
    // The second test has no line in the third section: its cell is empty and no value.
    const std::string text = ResultFile({"DFT", "SOB"}, {{"0.1", "0.25"}, {"0.5", "-1.0"}}) +
                             "Sequence #3\n0.9\tDFT\n\n";
    ResultGrid grid;
    LoadText(grid, text);
    const ResultSet& set = grid.Results();
    ASSERT_EQ(set.RowCount(), 2);
    ASSERT_EQ(set.SequenceCount(), 3);

    const ResultRow dft = set.Row(0);
    EXPECT_EQ(dft.name, "DFT");
    EXPECT_EQ(std::vector<double>(dft.pvalues.begin(), dft.pvalues.end()),
              (std::vector<double>{0.1, 0.5, 0.9}));
    EXPECT_EQ(dft.count, 3);
    ASSERT_TRUE(dft.figures);
    // Published figures for {0.1, 0.5, 0.9}.
    EXPECT_NEAR(dft.figures->ks, 0.9883352, 5e-8);
    EXPECT_NEAR(dft.figures->ad, 0.9572371, 5e-8);
    EXPECT_NEAR(dft.figures->sl, 1.6, 1e-12);

    const ResultRow sob = set.Row(1);
    EXPECT_EQ(sob.name, "SOB");
    EXPECT_EQ(
        std::vector<PValueMark>(sob.marks.begin(), sob.marks.end()),
        (std::vector<PValueMark>{PValueMark::Number, PValueMark::Error, PValueMark::Missing}));
    EXPECT_EQ(std::vector<double>(sob.pvalues.begin(), sob.pvalues.end()),
              (std::vector<double>{0.25, -1.0, 0.0}));
    EXPECT_EQ(sob.count, 1);
    EXPECT_FALSE(sob.figures);

    // The sort keys of the sequence cells are the same numbers, through any row order.
    ApplySort(grid, DecideHeaderSort(SortState{1, 1}, 1)); // names descending
    EXPECT_EQ(grid.Cell(1, 1), "SOB");
    EXPECT_EQ(CellNumber(grid, 4, 1), -1.0);
    EXPECT_EQ(CellNumber(grid, 5, 1), 0.0);
    EXPECT_EQ(CellNumber(grid, 5, 2), 0.9);
    EXPECT_EQ(set.Row(grid.ResultRowAt(1)).name, "SOB");
    EXPECT_EQ(grid.ResultRowAt(0), -1);
}

// Rows are shared out among threads; every row's figures must be those of its own values.
TEST(ResultSet, EveryRowOfALargeRunHasItsOwnFigures) {
    const int32_t tests = 300;
    const int32_t sequences = 200;
    std::mt19937 random(12);
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> sections(sequences);
    for (int32_t t = 0; t < tests; ++t)
        names.push_back("T" + std::to_string(t));
    for (auto& section : sections)
        for (int32_t t = 0; t < tests; ++t)
            section.push_back(random() % 50 == 0 ? "-1" : std::to_string(random() % 1000 / 999.0));
    ResultGrid grid;
    LoadText(grid, ResultFile(names, sections));
    const ResultSet& set = grid.Results();
    ASSERT_EQ(set.RowCount(), tests);
    for (int32_t row = 0; row < tests; ++row) {
        std::vector<double> values;
        for (const auto& section : sections)
            if (section[size_t(row)] != "-1")
                values.push_back(std::stod(section[size_t(row)]));
        std::sort(values.begin(), values.end());
        const auto n = static_cast<int32_t>(values.size());
        const ResultRow numbers = set.Row(row);
        ASSERT_EQ(numbers.name, names[size_t(row)]);
        ASSERT_EQ(numbers.count, n);
        ASSERT_TRUE(numbers.figures);
        EXPECT_EQ(numbers.figures->ks, KsPValue(values.data(), n)) << row;
        EXPECT_EQ(numbers.figures->ad, AdPValue(values.data(), n)) << row;
        EXPECT_EQ(numbers.figures->sl, SlPercent(values.data(), n)) << row;
    }
}
