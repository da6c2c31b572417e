#include "result_loader_steps.h"

#include "goodness_of_fit.h"
#include "model/c_text.h"

#include <string>
#include <vector>

namespace zentrope {
namespace {

constexpr int32_t CountColumn = 2;
constexpr int32_t FirstSequenceColumn = ResultGrid::FixedColumns;
constexpr int32_t FewestValuesForFigures = 3;
constexpr int32_t PrintfDefaultPrecision = 6;

struct SummaryColumns {
    int32_t ks, ad, sl;
};

void CollectRowValues(const ResultGrid& grid, int32_t row, int32_t last_sequence_column,
                      std::vector<double>& values) {
    values.clear();
    for (int32_t col = FirstSequenceColumn; col <= last_sequence_column; ++col) {
        const std::string_view text = grid.Cell(col, row);
        if (text != ErrorCellText)
            values.push_back(AtofC(text)); // an empty cell counts as 0
    }
}

void WriteRowFigures(ResultGrid& grid, int32_t row, std::vector<double>& values,
                     const SummaryColumns& at, int32_t digits, CellText error) {
    const auto n = static_cast<int32_t>(values.size());
    grid.SetCell(CountColumn, row, std::to_string(n));
    if (n < FewestValuesForFigures) {
        for (int32_t col : {at.ks, at.ad, at.sl})
            grid.SetCell(col, row, error);
        return;
    }
    SortPValues(values.data(), n);
    grid.SetCell(at.ks, row, FormatDigits(KsPValue(values.data(), n), digits));
    grid.SetCell(at.ad, row, FormatDigits(AdPValue(values.data(), n), digits));
    grid.SetCell(at.sl, row, FormatFixed(SlPercent(values.data(), n), 3));
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

std::optional<int32_t> SummariseResultRows(int32_t last_sequence_column,
                                           const ResultLoadOptions& options, ResultGrid& grid) {
    grid.SetSequenceColumnEnd(last_sequence_column + 1);
    grid.SetSpacerColumn(-1);
    if (last_sequence_column < FirstSequenceColumn + 1) { // at most one sequence
        MarkSingleValues(grid);
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
    std::vector<double> values;
    values.reserve(static_cast<size_t>(last_sequence_column - FirstSequenceColumn + 1));
    for (int32_t row = ResultGrid::FixedRows; row < grid.RowCount(); ++row) {
        CollectRowValues(grid, row, last_sequence_column, values);
        WriteRowFigures(grid, row, values, at, options.pval_digits, error);
    }

    if (options.sort_ks)
        return at.ks;
    if (options.sort_ad)
        return at.ad;
    if (options.sort_sl)
        return -at.sl; // worst first
    return std::nullopt;
}

} // namespace zentrope
