#include "results/grid/result_append.h"

#include "model/c_text.h"
#include "results/grid/result_loader_steps.h"

#include <string>

namespace zentrope {
namespace {

constexpr int32_t SummaryColumnCount = 4; // spacer, KS, AD, SL

} // namespace

SectionPValues ReadNewSections(std::string_view text, ResultLineFormat chosen) {
    return ReadSectionPValues(text, FittingLineFormat(text, chosen).value_or(chosen));
}

void AppendSequenceColumns(ResultGrid& grid, const SectionPValues& sections) {
    ResultSet& numbers = grid.GrowingResults();
    const auto rows = static_cast<size_t>(numbers.RowCount());
    std::vector<double> values(rows);
    std::vector<PValueMark> marks(rows);
    const CellText error = grid.StoreText(ErrorCellText);
    for (const std::vector<std::string_view>& section : sections) {
        // Cells by stored row; the header's is set below.
        std::vector<CellText> cells(std::min(section.size(), rows) + ResultGrid::FixedRows);
        for (size_t row = 0; row < rows; ++row) {
            if (row >= section.size()) {
                values[row] = 0.0;
                marks[row] = PValueMark::Missing;
                continue;
            }
            const bool isError = section[row] == ErrorCellText;
            cells[row + ResultGrid::FixedRows] = isError ? error : grid.StoreText(section[row]);
            values[row] = isError ? -1.0 : AtofC(section[row]);
            marks[row] = isError ? PValueMark::Error : PValueMark::Number;
        }
        const int32_t column = grid.SequenceColumnEnd();
        cells[0] = grid.StoreText(std::to_string(column - ResultGrid::FixedColumns + 1));
        grid.InsertColumn(column, std::move(cells));
        grid.SetSequenceColumnEnd(column + 1);
        numbers.AppendSequence(values, marks);
    }
}

bool NeedsSummaryColumns(const ResultGrid& grid) {
    return grid.SpacerColumn() < 0 && grid.SequenceColumnEnd() - ResultGrid::FixedColumns >= 2;
}

void AddSummaryColumns(ResultGrid& grid) {
    const int32_t spacer = grid.SequenceColumnEnd();
    grid.SetColumnCount(spacer + SummaryColumnCount);
    grid.SetSpacerColumn(spacer);
    grid.SetCell(spacer, 0, std::string_view{}); // no header left over from an earlier load
    grid.SetCell(spacer + 1, 0, "KS");
    grid.SetCell(spacer + 2, 0, "AD");
    grid.SetCell(spacer + 3, 0, "SL");
}

} // namespace zentrope
