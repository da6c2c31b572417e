#include "app/table/result_column_widths.h"

using zentrope::ResultGrid;

std::vector<int> ResultColumnWidths(const ResultGrid& grid, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    const TextWidthMeter cells(font);
    const TextWidthMeter headers(bold);
    const int32_t end = grid.SequenceColumnEnd();
    const int32_t rows = grid.RowCount();
    std::vector<int> widths;
    for (int32_t col = 0; col < end; ++col) {
        const int padding = CellPadding + (col < ResultGrid::FixedColumns ? FixedCellPadding : 0);
        widths.push_back(WidestText(grid, rows, col, cells, headers) + padding);
    }
    if (grid.SpacerColumn() != end)
        return widths;
    widths.push_back(SpacerWidth);
    for (int32_t col = end + 1; col < std::min(end + 4, grid.ColumnCount()); ++col)
        widths.push_back(WidestText(grid, rows, col, cells, headers) + CellPadding);
    return widths;
}
