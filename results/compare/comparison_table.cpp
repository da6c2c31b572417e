#include "results/compare/comparison_table.h"

#include "results/grid/csv.h"
#include "results/grid/result_grid.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace zentrope {
namespace {

std::string Fixed(double value, int32_t digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits < 0 ? 6 : digits, value);
    return text;
}

std::vector<std::string> HeaderOf(std::span<const ComparedRun> runs) {
    std::vector<std::string> header = {"Test name", "Runs", "Flagged", "k-sample AD p"};
    for (const ComparedRun& run : runs) {
        for (const char* figure : {"KS ", "AD ", "SL "})
            header.push_back(figure + std::string(run.label));
    }
    return header;
}

void AppendFigures(std::vector<std::string>& cells, const std::optional<ResultRow>& row,
                   int32_t digits) {
    if (!row) {
        cells.insert(cells.end(), 3, std::string(MissingRowText));
        return;
    }
    if (!row->figures) {
        cells.insert(cells.end(), 3, std::string(ErrorCellText));
        return;
    }
    cells.push_back(Fixed(row->figures->ks, digits));
    cells.push_back(Fixed(row->figures->ad, digits));
    cells.push_back(Fixed(row->figures->sl, 3));
}

std::vector<std::string> CellsOf(std::span<const ComparedRun> runs, const ComparedRow& row,
                                 int32_t digits) {
    std::vector<std::string> cells = {
        std::string(row.name), std::to_string(row.present) + " of " + std::to_string(runs.size()),
        std::to_string(row.flagged),
        std::isnan(row.test.p_value) ? std::string(NoTestText) : Fixed(row.test.p_value, digits)};
    for (size_t r = 0; r < runs.size(); ++r)
        AppendFigures(cells, RowOfRun(runs, row, r), digits);
    return cells;
}

} // namespace

ComparisonTable MakeComparisonTable(std::span<const ComparedRun> runs,
                                    std::span<const ComparedRow> compared, int32_t pval_digits) {
    ComparisonTable table;
    table.header = HeaderOf(runs);
    table.rows.reserve(compared.size());
    for (const ComparedRow& row : compared) {
        table.rows.push_back(CellsOf(runs, row, pval_digits));
        table.in_every_run.push_back(row.InEveryRun());
        table.flagged.push_back(row.flagged);
    }
    return table;
}

std::string ComparisonCsv(const ComparisonTable& table) {
    std::string csv;
    std::vector<std::string_view> fields;
    const auto append = [&](const std::vector<std::string>& cells) {
        fields.assign(cells.begin(), cells.end());
        AppendCsvRecord(csv, fields);
    };
    append(table.header);
    for (const std::vector<std::string>& row : table.rows)
        append(row);
    return csv;
}

} // namespace zentrope
