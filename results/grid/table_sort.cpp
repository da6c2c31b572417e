#include "results/grid/table_sort.h"

#include "model/c_text.h"

#include <cmath>
#include <string_view>

namespace zentrope {
namespace {

// Hoare's quicksort over rows lo..hi. key(row) reads a row's key; before(a, b) is the
// strict order of the requested direction. The two parts of a partition are disjoint, so
// recursing into the smaller one and looping over the larger gives the very same order as
// sorting the lower part first, with the stack depth bounded by log2 of the row count.
template <typename KeyAt, typename Before>
void HoareSort(ResultGrid& grid, int32_t lo, int32_t hi, const KeyAt& key, const Before& before) {
    while (lo < hi) {
        const auto middle = static_cast<int32_t>((static_cast<int64_t>(lo) + hi) / 2);
        const auto pivot = key(middle);
        int32_t i = lo;
        int32_t j = hi;
        do {
            while (before(key(i), pivot) && i < hi)
                ++i;
            while (before(pivot, key(j)) && j > lo)
                --j;
            if (i <= j) {
                grid.SwapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            HoareSort(grid, lo, j, key, before);
            lo = i;
        } else {
            HoareSort(grid, i, hi, key, before);
            hi = j;
        }
    }
}

// NaN is not a number: it goes after every number in either direction. Its key never
// reaches a plain comparison, so the order stays strict and weak and the scans stop where
// the partition needs them to.
bool NumberBefore(double a, double b, bool ascending) {
    if (std::isnan(a))
        return false;
    return std::isnan(b) || (ascending ? a < b : b < a);
}

} // namespace

SortDecision DecideHeaderSort(const SortState& state, int32_t column) {
    const int32_t ascending = column == state.LastSortColumn ? 1 - state.SortAscending : 1;
    return SortDecision{column, ascending == 1, SortState{column, ascending}};
}

SortDecision DecideMarkerSort(const SortState& state, int32_t y) {
    if (y >= 0)
        return DecideHeaderSort(state, y);
    // Pretend the column was just sorted ascending, so that the toggle turns descending.
    const int32_t column = y == INT32_MIN ? INT32_MAX : -y;
    return DecideHeaderSort(SortState{column, 1}, column);
}

std::optional<SortDecision> DecideMouseSort(const SortState& state, bool right_button, int32_t col,
                                            int32_t row) {
    if (!right_button || row != 0)
        return std::nullopt;
    return DecideHeaderSort(state, col);
}

double CellNumber(const ResultGrid& grid, int32_t col, int32_t row) {
    // The load read every p-value once; its number is the one the text gives.
    const ResultSet& numbers = grid.Results();
    const int32_t sequence = col - ResultGrid::FixedColumns;
    const int32_t numbers_row = grid.ResultRowAt(row);
    if (numbers_row >= 0 && sequence >= 0 && sequence < numbers.SequenceCount())
        return numbers.PValue(numbers_row, sequence);
    const std::string_view text = grid.Cell(col, row);
    return text == ErrorCellText ? -1.0 : AtofC(text);
}

void SortRowsNumeric(ResultGrid& grid, int32_t col, int32_t lo, int32_t hi, bool ascending) {
    HoareSort(
        grid, lo, hi, [&grid, col](int32_t row) { return CellNumber(grid, col, row); },
        [ascending](double a, double b) { return NumberBefore(a, b, ascending); });
}

void SortRowsText(ResultGrid& grid, int32_t col, int32_t lo, int32_t hi, bool ascending) {
    // Views stay valid: exchanging rows moves indices, never the stored text. The
    // comparison of std::string_view is byte-wise on unsigned values.
    HoareSort(
        grid, lo, hi, [&grid, col](int32_t row) { return grid.Cell(col, row); },
        [ascending](std::string_view a, std::string_view b) { return ascending ? a < b : b < a; });
}

void ApplySort(ResultGrid& grid, const SortDecision& decision, int32_t key_column) {
    const int32_t last_row = grid.RowCount() - 1;
    if (decision.column == 1)
        SortRowsText(grid, key_column, ResultGrid::FixedRows, last_row, decision.ascending);
    else
        SortRowsNumeric(grid, key_column, ResultGrid::FixedRows, last_row, decision.ascending);
}

} // namespace zentrope
