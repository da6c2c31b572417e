// Sorting the result table by one column, and the choice of column and direction that a
// right click on a header (or the loader's request) makes.
#pragma once

#include "results/grid/result_grid.h"

#include <cstdint>
#include <optional>

namespace zentrope {

// X of a sort request that comes from the loader instead of the mouse; Y is then the
// column, negated for a descending sort.
inline constexpr int32_t SortMarker = -9999;

// Survives loads: a second request for the same column index reverses the order.
struct SortState {
    int32_t LastSortColumn = -9; // no column yet
    int32_t SortAscending = 0;   // 1 ascending, 0 descending
    bool operator==(const SortState&) const = default;
};

struct SortDecision {
    int32_t column = 0;
    bool ascending = true;
    SortState after; // the state once this sort is done
};

// A right click on the header of `column`: ascending, or the reverse of the last sort of
// the same column.
SortDecision DecideHeaderSort(const SortState& state, int32_t column);
// The loader's request: y is the column, negative for an always descending sort.
SortDecision DecideMarkerSort(const SortState& state, int32_t y);
// A mouse release over cell (col, row) (row -1 outside the cells): a sort only for the
// right button over row 0.
std::optional<SortDecision> DecideMouseSort(const SortState& state, bool right_button, int32_t col,
                                            int32_t row);

// -1 for "- error -", else the leading number as atof reads it (0 when there is none); for
// sequence cells it is the number the load read.
double CellNumber(const ResultGrid& grid, int32_t col, int32_t row);

// Quicksort (Hoare partition) of rows lo..hi inclusive by one column's key; equal keys do
// not keep their previous order. A key that is NaN ("nan" in the file) goes after every
// number, ascending and descending alike.
void SortRowsNumeric(ResultGrid& grid, int32_t col, int32_t lo, int32_t hi, bool ascending);
// The same, comparing texts byte by byte (unsigned; a prefix sorts first).
void SortRowsText(ResultGrid& grid, int32_t col, int32_t lo, int32_t hi, bool ascending);

// Sorts every row below the header as decided: column 1 by text, the others by number.
// The column's place decides the kind of key even when its cells are stored elsewhere
// (key_column), as after the user has dragged columns about.
void ApplySort(ResultGrid& grid, const SortDecision& decision, int32_t key_column);
inline void ApplySort(ResultGrid& grid, const SortDecision& decision) {
    ApplySort(grid, decision, decision.column);
}

} // namespace zentrope
