#include "results/result_loader_steps.h"

#include "model/c_text.h"

#include <string>
#include <utility>

namespace zentrope {
namespace {

constexpr int32_t CountColumn = 2;
constexpr int32_t FirstSequenceColumn = ResultGrid::FixedColumns;
constexpr int32_t PrintfDefaultPrecision = 6;

struct SummaryColumns {
    int32_t ks, ad, sl;
};

void WriteRowFigures(ResultGrid& grid, int32_t row, const ResultRow& numbers,
                     const SummaryColumns& at, int32_t digits, CellText error) {
    grid.SetCell(CountColumn, row, std::to_string(numbers.count));
    if (!numbers.figures) {
        for (int32_t col : {at.ks, at.ad, at.sl})
            grid.SetCell(col, row, error);
        return;
    }
    grid.SetCell(at.ks, row, FormatDigits(numbers.figures->ks, digits));
    grid.SetCell(at.ad, row, FormatDigits(numbers.figures->ad, digits));
    grid.SetCell(at.sl, row, FormatFixed(numbers.figures->sl, 3));
}

void MarkSingleValues(ResultGrid& grid) {
    const CellText one = grid.StoreText("1");
    for (int32_t row = ResultGrid::FixedRows; row < grid.RowCount(); ++row)
        grid.SetCell(CountColumn, row, one);
}

} // namespace

std::string FormatDigits(double value, int32_t digits) {
    return FormatFixed(value, digits < 0 ? PrintfDefaultPrecision : digits);
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
        MarkSingleValues(grid);
        grid.SetResults(std::move(numbers));
        return std::nullopt;
    }
    const int32_t spacer = last_sequence_column + 1;
    const SummaryColumns at{spacer + 1, spacer + 2, spacer + 3};
    grid.SetColumnCount(at.sl + 1);
    grid.SetSpacerColumn(spacer);
    grid.SetCell(spacer, 0, std::string_view{}); // no header left over from an earlier load
    grid.SetCell(at.ks, 0, "KS");
    grid.SetCell(at.ad, 0, "AD");
    grid.SetCell(at.sl, 0, "SL");

    // Every row of the table, also those below a last section shorter than the first.
    const CellText error = grid.StoreText(ErrorCellText);
    for (int32_t row = 0; row < numbers.RowCount(); ++row)
        WriteRowFigures(grid, row + ResultGrid::FixedRows, numbers.Row(row), at,
                        options.pval_digits, error);
    grid.SetResults(std::move(numbers));

    if (options.sort_ks)
        return at.ks;
    if (options.sort_ad)
        return at.ad;
    if (options.sort_sl)
        return -at.sl; // worst first
    return std::nullopt;
}

} // namespace zentrope
