// The result table's column widths as a load fits them: each column as wide as its widest
// text (headers bold), fixed columns a little wider for their frame, the spacer 20 pixels.
// Pure arithmetic over the cells once the font's advances are taken, so a load off the
// window's thread can measure its millions of cells there.
#pragma once

#include "app/widgets/text_width_meter.h"
#include "results/grid/result_grid.h"

#include <QFont>
#include <algorithm>
#include <vector>

inline constexpr int SpacerWidth = 20;
inline constexpr int CellPadding = 6;
inline constexpr int FixedCellPadding = 4; // the raised frame of fixed cells takes more room

// The widest text of a column over rows 0 to rows - 1 of `source` (a grid or the table's model:
// anything with Cell(col, row)), the header in its bold face.
template <typename Cells>
int WidestText(const Cells& source, int32_t rows, int32_t col, const TextWidthMeter& cells,
               const TextWidthMeter& headers) {
    int widest = headers.Width(source.Cell(col, 0));
    for (int32_t row = 1; row < rows; ++row)
        widest = std::max(widest, cells.Width(source.Cell(col, row)));
    return widest;
}

// Widths of the columns the load made, first to last: all are measured before any is
// applied, so that the header lays its sections out once.
std::vector<int> ResultColumnWidths(const zentrope::ResultGrid& grid, const QFont& font);
