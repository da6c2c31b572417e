#include "app/table/result_column_widths.h"

#include "app/widgets/text_width_meter.h"

#include <algorithm>

using zentrope::ResultGrid;

namespace {

constexpr int SpacerWidth = 20;
constexpr int CellPadding = 6;
constexpr int FixedCellPadding = 4; // the raised frame of fixed cells takes more room

// The widest text of a column over every row, headers in their bold face.
int WidestText(const ResultGrid& grid, int32_t col, const TextWidthMeter& cells,
               const TextWidthMeter& headers) {
    int widest = headers.Width(grid.Cell(col, 0));
    for (int32_t row = 1; row < grid.RowCount(); ++row)
        widest = std::max(widest, cells.Width(grid.Cell(col, row)));
    return widest;
}

} // namespace

std::vector<int> ResultColumnWidths(const ResultGrid& grid, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    const TextWidthMeter cells(font);
    const TextWidthMeter headers(bold);
    const int32_t end = grid.SequenceColumnEnd();
    std::vector<int> widths;
    for (int32_t col = 0; col < end; ++col) {
        const int padding = CellPadding + (col < ResultGrid::FixedColumns ? FixedCellPadding : 0);
        widths.push_back(WidestText(grid, col, cells, headers) + padding);
    }
    if (grid.SpacerColumn() != end)
        return widths;
    widths.push_back(SpacerWidth);
    for (int32_t col = end + 1; col < std::min(end + 4, grid.ColumnCount()); ++col)
        widths.push_back(WidestText(grid, col, cells, headers) + CellPadding);
    return widths;
}
