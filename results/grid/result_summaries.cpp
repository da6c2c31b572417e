#include "results/grid/result_loader_steps.h"

#include "model/c_text.h"
#include "results/grid/result_append.h"

#include <string>
#include <utility>

namespace zentrope {
namespace {

constexpr int32_t CountColumn = 2;
constexpr int32_t FirstSequenceColumn = ResultGrid::FixedColumns;
constexpr int32_t PrintfDefaultPrecision = 6;

void MarkSingleValues(ResultGrid& grid) {
    const CellText one = grid.StoreText("1");
    for (int32_t row = ResultGrid::FixedRows; row < grid.RowCount(); ++row)
        grid.SetCell(CountColumn, row, one);
}

} // namespace

std::string FormatDigits(double value, int32_t digits) {
    return FormatFixed(value, digits < 0 ? PrintfDefaultPrecision : digits);
}

void WriteRowSummaries(ResultGrid& grid, int32_t digits) {
    const int32_t spacer = grid.SpacerColumn();
    if (spacer < 0) {
        MarkSingleValues(grid);
        return;
    }
    const CellText error = grid.StoreText(ErrorCellText);
    const ResultSet& numbers = grid.Results();
    // Shown rows: a sorted table keeps each row's cells together.
    for (int32_t row = ResultGrid::FixedRows; row < grid.RowCount(); ++row) {
        const int32_t resultRow = grid.ResultRowAt(row);
        if (resultRow < 0)
            continue;
        const ResultRow figures = numbers.Row(resultRow);
        grid.SetCell(CountColumn, row, std::to_string(figures.count));
        if (!figures.figures) {
            for (int32_t col = spacer + 1; col <= spacer + 3; ++col)
                grid.SetCell(col, row, error);
            continue;
        }
        grid.SetCell(spacer + 1, row, FormatDigits(figures.figures->ks, digits));
        grid.SetCell(spacer + 2, row, FormatDigits(figures.figures->ad, digits));
        grid.SetCell(spacer + 3, row, FormatFixed(figures.figures->sl, 3));
    }
}

std::optional<int32_t> SummariseResultRows(SectionsRead&& sections,
                                           const ResultLoadOptions& options, ResultGrid& grid) {
    const int32_t last_sequence_column = sections.last_sequence_column;
    grid.SetSequenceColumnEnd(last_sequence_column + 1);
    grid.SetSpacerColumn(-1);
    ResultSet numbers = std::move(sections.numbers);
    // Names refer to the file's bytes, which stay put while the grid's own texts grow.
    for (int32_t row = 0; row < numbers.RowCount(); ++row)
        numbers.SetName(row, grid.Cell(1, row + ResultGrid::FixedRows));
    if (last_sequence_column < FirstSequenceColumn + 1) { // at most one sequence
        grid.SetResults(std::move(numbers));
        WriteRowSummaries(grid, options.pval_digits);
        return std::nullopt;
    }
    AddSummaryColumns(grid);
    const int32_t spacer = grid.SpacerColumn();

    // Every row of the table, also those below a last section shorter than the first.
    grid.SetResults(std::move(numbers));
    WriteRowSummaries(grid, options.pval_digits);

    if (options.sort_ks)
        return spacer + 1;
    if (options.sort_ad)
        return spacer + 2;
    if (options.sort_sl)
        return -(spacer + 3); // worst first
    return std::nullopt;
}

} // namespace zentrope
