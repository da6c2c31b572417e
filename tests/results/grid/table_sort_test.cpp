#include "model/c_text.h"
#include "results/grid/table_sort.h"
#include "tests/results/result_file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace zentrope;
using namespace zentrope::testing;
using Texts = std::vector<std::string>;

namespace {

// A direct transcription of the row sort on a plain table of texts: every comparison reads
// the cell again, every exchange swaps the cells of every column, recursion as written.
class NaiveTable {
public:
    explicit NaiveTable(std::vector<Texts> rows) : rows_(std::move(rows)) {}

    void Sort(size_t col, int lo, int hi, bool ascending) {
        int i = lo;
        int j = hi;
        const Texts pivot_row = rows_[static_cast<size_t>((lo + hi) / 2)];
        const std::string pivot = pivot_row[col];
        do {
            while (Before(col, Cell(col, i), pivot, ascending) && i < hi)
                ++i;
            while (Before(col, pivot, Cell(col, j), ascending) && j > lo)
                --j;
            if (i <= j) {
                for (size_t c = rows_[0].size(); c-- > 0;)
                    std::swap(rows_[static_cast<size_t>(i)][c], rows_[static_cast<size_t>(j)][c]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j)
            Sort(col, lo, j, ascending);
        if (i < hi)
            Sort(col, i, hi, ascending);
    }

    const std::vector<Texts>& Rows() const { return rows_; }

private:
    // A grid reads an empty text below its last row.
    std::string Cell(size_t col, int row) const {
        return static_cast<size_t>(row) < rows_.size() ? rows_[static_cast<size_t>(row)][col] : "";
    }

    static double Number(const std::string& text) {
        return text == "- error -" ? -1.0 : AtofC(text);
    }

    static bool Before(size_t col, const std::string& a, const std::string& b, bool ascending) {
        if (col == 1)
            return ascending ? a < b : b < a;
        return ascending ? Number(a) < Number(b) : Number(b) < Number(a);
    }

    std::vector<Texts> rows_;
};

std::vector<Texts> GridRows(const ResultGrid& grid) {
    std::vector<Texts> rows;
    for (int32_t row = 0; row < grid.RowCount(); ++row)
        rows.push_back(RowTexts(grid, row));
    return rows;
}

// Rows of "N", name and a few numeric columns drawn from small sets, so that keys repeat.
ResultGrid RandomGrid(std::mt19937& random, int32_t rows, int32_t cols) {
    const Texts numbers = {"0.5", "0.25", "- error -", "", "1", "abc", "0.50", "-0.5", "2e-1"};
    const Texts names = {"DFT", "SOB", "Serial", "serial", "Ser", "", "~"};
    ResultGrid grid;
    grid.SetColumnCount(cols);
    grid.SetRowCount(rows);
    for (int32_t col = 0; col < cols; ++col)
        grid.SetCell(col, 0, "H" + std::to_string(col));
    for (int32_t row = 1; row < rows; ++row) {
        grid.SetCell(0, row, std::to_string(row));
        grid.SetCell(1, row, names[random() % names.size()]);
        for (int32_t col = 2; col < cols; ++col)
            grid.SetCell(col, row, numbers[random() % numbers.size()]);
    }
    return grid;
}

ResultGrid ColumnGrid(const Texts& names, const Texts& values) {
    ResultGrid grid;
    grid.SetColumnCount(4);
    grid.SetRowCount(static_cast<int32_t>(values.size()) + 1);
    for (size_t i = 0; i < values.size(); ++i) {
        const auto row = static_cast<int32_t>(i + 1);
        grid.SetCell(0, row, std::to_string(row));
        grid.SetCell(1, row, names[i]);
        grid.SetCell(3, row, values[i]);
    }
    return grid;
}

Texts Column(const ResultGrid& grid, int32_t col) {
    Texts texts = ColumnTexts(grid, col);
    texts.erase(texts.begin());
    return texts;
}

} // namespace

TEST(SortDecision, RightClicksToggleAndAnotherHeaderStartsAscending) {
    SortState state;
    SortDecision d = DecideHeaderSort(state, 5);
    EXPECT_EQ(d.column, 5);
    EXPECT_TRUE(d.ascending);
    d = DecideHeaderSort(d.after, 5);
    EXPECT_FALSE(d.ascending);
    d = DecideHeaderSort(d.after, 5);
    EXPECT_TRUE(d.ascending);
    d = DecideHeaderSort(d.after, 5);
    d = DecideHeaderSort(d.after, 2);
    EXPECT_TRUE(d.ascending);
    EXPECT_EQ(d.after, (SortState{2, 1}));
}

TEST(SortDecision, OnlyARightReleaseOverTheHeaderSorts) {
    const SortState state{4, 1};
    EXPECT_FALSE(DecideMouseSort(state, false, 4, 0));
    EXPECT_FALSE(DecideMouseSort(state, true, 4, 1));
    EXPECT_FALSE(DecideMouseSort(state, true, -1, -1));
    const auto d = DecideMouseSort(state, true, 4, 0);
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->ascending);
}

TEST(SortDecision, LoaderMarkerRequests) {
    // Positive: like a right click, so the same column index again reverses the order.
    SortDecision d = DecideMarkerSort(SortState{}, 8);
    EXPECT_TRUE(d.ascending);
    d = DecideMarkerSort(d.after, 8);
    EXPECT_FALSE(d.ascending);
    // Negative: always descending, also right after a descending sort of that column.
    d = DecideMarkerSort(SortState{10, 0}, -10);
    EXPECT_EQ(d.column, 10);
    EXPECT_FALSE(d.ascending);
    EXPECT_EQ(d.after, (SortState{10, 0}));
    EXPECT_FALSE(DecideMarkerSort(SortState{}, -10).ascending);
}

TEST(CellNumberKey, ErrorEmptyAndLeadingNumbers) {
    const ResultGrid grid =
        ColumnGrid({"a", "b", "c", "d", "e"}, {"- error -", "", "0.5x", "x1", " -2"});
    EXPECT_EQ(CellNumber(grid, 3, 1), -1.0);
    EXPECT_EQ(CellNumber(grid, 3, 2), 0.0);
    EXPECT_EQ(CellNumber(grid, 3, 3), 0.5);
    EXPECT_EQ(CellNumber(grid, 3, 4), 0.0);
    EXPECT_EQ(CellNumber(grid, 3, 5), -2.0);
    EXPECT_EQ(CellNumber(grid, 3, 0), 0.0); // header "" of an unnamed column
}

TEST(TableSort, TestNamesInByteOrder) {
    ResultGrid grid = ColumnGrid({"Serial", "SOB", "DFT", "Ser", "\xe9t\xe9", "a"},
                                 {"1", "2", "3", "4", "5", "6"});
    ApplySort(grid, DecideHeaderSort(SortState{}, 1));
    EXPECT_EQ(Column(grid, 1), (Texts{"DFT", "SOB", "Ser", "Serial", "a", "\xe9t\xe9"}));
    // Whole rows move: the sequence cell and the row number follow the name.
    EXPECT_EQ(Column(grid, 3), (Texts{"3", "2", "4", "1", "6", "5"}));
    EXPECT_EQ(Column(grid, 0), (Texts{"3", "2", "4", "1", "6", "5"}));
    EXPECT_EQ(grid.Cell(1, 0), "");
}

TEST(TableSort, NumbersWithErrorsAndEmptyCells) {
    ResultGrid grid = ColumnGrid({"a", "b", "c", "d", "e", "f"},
                                 {"0.987", "0.5", "", "- error -", "0.0012", "-0.5"});
    SortDecision d = DecideHeaderSort(SortState{}, 3);
    ApplySort(grid, d);
    EXPECT_EQ(Column(grid, 3), (Texts{"- error -", "-0.5", "", "0.0012", "0.5", "0.987"}));
    d = DecideHeaderSort(d.after, 3);
    ApplySort(grid, d);
    EXPECT_EQ(Column(grid, 3), (Texts{"0.987", "0.5", "0.0012", "", "-0.5", "- error -"}));
    // Column 0 ascending gives back the file's order.
    ApplySort(grid, DecideHeaderSort(d.after, 0));
    EXPECT_EQ(Column(grid, 3), (Texts{"0.987", "0.5", "", "- error -", "0.0012", "-0.5"}));
    EXPECT_EQ(Column(grid, 1), (Texts{"a", "b", "c", "d", "e", "f"}));
}

TEST(TableSort, NanKeysGoLastInBothDirections) {
    // A summary column as a three-sequence file with one "nan" p-value leaves it.
    ResultGrid grid = ColumnGrid({"A", "B", "C"}, {"28.000", "nan", "47.200"});
    SortDecision d = DecideHeaderSort(SortState{}, 3);
    ApplySort(grid, d);
    EXPECT_EQ(Column(grid, 3), (Texts{"28.000", "47.200", "nan"}));
    ApplySort(grid, d = DecideHeaderSort(d.after, 3));
    EXPECT_EQ(Column(grid, 3), (Texts{"47.200", "28.000", "nan"}));

    // NaN first, in the middle (the pivot), last, and several of them; "- error -" is -1.
    // Each case: the column, then its numbers in ascending order; its NaNs must follow them
    // in either direction, among themselves in any order.
    const std::vector<std::pair<Texts, Texts>> cases = {
        {{"nan", "0.5", "0.1", "- error -"}, {"- error -", "0.1", "0.5"}},
        {{"0.5", "0.3", "NAN", "0.1", "0.7"}, {"0.1", "0.3", "0.5", "0.7"}},
        {{"0.2", "0.9", "-nan"}, {"0.2", "0.9"}},
        {{"nan", "0.4", "nan", "nan(1)", "0.1", "nan", "0.6"}, {"0.1", "0.4", "0.6"}},
    };
    for (const auto& [values, numbers] : cases) {
        for (const bool ascending : {true, false}) {
            const auto rows = static_cast<int32_t>(values.size());
            ResultGrid g = ColumnGrid(Texts(values.size(), "x"), values);
            SortRowsNumeric(g, 3, 1, rows, ascending);
            const Texts sorted = Column(g, 3);
            Texts want = numbers;
            if (!ascending)
                std::reverse(want.begin(), want.end());
            EXPECT_EQ(Texts(sorted.begin(), sorted.begin() + std::ssize(numbers)), want)
                << values[0] << (ascending ? " ascending" : " descending");
            for (auto it = sorted.begin() + std::ssize(numbers); it != sorted.end(); ++it)
                EXPECT_TRUE(std::isnan(AtofC(*it))) << *it;
        }
    }
}

TEST(TableSort, EqualKeysComeOutAsTheExchangesLeaveThem) {
    // All keys equal: the scans stop at every row, so rows 1-5 and 2-4 are exchanged, then
    // the parts 1-2 and 4-5 once more.
    ResultGrid grid = ColumnGrid({"a", "b", "c", "d", "e"}, {"1", "1", "1", "1", "1"});
    SortRowsNumeric(grid, 3, 1, 5, true);
    EXPECT_EQ(Column(grid, 1), (Texts{"d", "e", "c", "a", "b"}));
    // The same exchanges once more bring the first order back, in either direction.
    SortRowsText(grid, 3, 1, 5, false);
    EXPECT_EQ(Column(grid, 1), (Texts{"a", "b", "c", "d", "e"}));
}

TEST(TableSort, SameOrderAsTheDirectTranscription) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 300; ++round) {
        const auto rows = static_cast<int32_t>(1 + random() % 40);
        const int32_t cols = 6;
        ResultGrid grid = RandomGrid(random, rows, cols);
        NaiveTable naive(GridRows(grid));
        SortState state;
        for (int step = 0; step < 4; ++step) {
            const auto col = static_cast<int32_t>(random() % cols);
            const SortDecision d = DecideHeaderSort(state, col);
            ApplySort(grid, d);
            naive.Sort(static_cast<size_t>(col), 1, rows - 1, d.ascending);
            state = d.after;
            ASSERT_EQ(GridRows(grid), naive.Rows()) << "round " << round << " column " << col;
        }
    }
}

TEST(TableSort, SortAfterLoadByTheSummaryColumn) {
    ResultGrid grid;
    const ResultLoadOutcome outcome =
        LoadText(grid,
                 ResultFile({"A", "B", "C"},
                            {{"0.1", "0.2", "0.3"}, {"0.5", "0.2", "0.9"}, {"0.9", "0.2", "0.6"}}),
                 ResultLoadOptions{ResultLineFormat::PValueThenName, 7, false, false, true});
    ASSERT_EQ(outcome.sort_request, -9);
    ApplySort(grid, DecideMarkerSort(SortState{}, *outcome.sort_request));
    // Worst (largest SL) first; every cell of a row moved with it.
    EXPECT_EQ(Column(grid, 1), (Texts{"B", "C", "A"}));
    EXPECT_EQ(Column(grid, 0), (Texts{"2", "3", "1"}));
    EXPECT_EQ(Column(grid, 4), (Texts{"0.2", "0.9", "0.5"}));
}
