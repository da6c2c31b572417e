#include "results/verdict/figures_csv.h"

#include "results/grid/csv.h"
#include "results/grid/figure_text.h"
#include "results/grid/parallel_parts.h"
#include "results/verdict/row_detail.h"
#include "results/verdict/verdict_rows.h"

#include <limits>
#include <string_view>

namespace zentrope {
namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t from = text.find_first_not_of(" \t\r\n");
    if (from == std::string_view::npos)
        return {};
    return text.substr(from, text.find_last_not_of(" \t\r\n") - from + 1);
}

// The exact KS p of every row with values; NaN for the others.
std::vector<double> ExactKsOfRows(const ResultSet& results, double alpha) {
    std::vector<double> exact(size_t(results.RowCount()), std::numeric_limits<double>::quiet_NaN());
    const int32_t parts = PartCount(results.RowCount(), 16);
    RunParts(parts, [&](int32_t part) {
        for (int32_t row = part; row < results.RowCount(); row += parts)
            if (results.Row(row).figures)
                exact[size_t(row)] = DescribeRow(results.Row(row), alpha).ks_exact_p;
    });
    return exact;
}

std::string Header(int32_t sequences) {
    std::vector<std::string> fields{"N", "Test name", "pvals"};
    for (int32_t s = 1; s <= sequences; ++s)
        fields.push_back(std::to_string(s));
    for (const char* caption :
         {"KS", "AD", "SL", "exact KS p", "Holm KS p", "mark", "crosses", "no result"})
        fields.emplace_back(caption);
    std::vector<std::string_view> views(fields.begin(), fields.end());
    std::string out;
    AppendCsvRecord(out, views);
    return out;
}

// What the export says of a row beyond its cells.
struct RowNotes {
    std::string mark;
    std::string crosses;
    std::string reason;
    double holm = std::numeric_limits<double>::quiet_NaN();
};

std::vector<RowNotes> NotesOfRows(const ResultSet& results, const FlagThresholds& thresholds,
                                  double alpha, const std::vector<NoResultReason>& reasons) {
    std::vector<RowNotes> notes(size_t(results.RowCount()));
    for (int32_t row = 0; row < results.RowCount(); ++row) {
        const ResultRow cells = results.Row(row);
        for (const PValueMark mark : cells.marks)
            if (mark == PValueMark::Error) {
                const std::string why = RowReasonText(reasons, cells, row);
                notes[size_t(row)].reason = why.empty() ? std::string(NoReasonGiven) : why;
                break;
            }
    }
    const VerdictRows rows = VerdictRowsOf(results, thresholds, alpha, reasons);
    for (const RowWithoutResult& row : rows.without) {
        notes[size_t(row.row)].mark = "no result";
        notes[size_t(row.row)].reason = row.reason;
    }
    for (const FailingRow& row : rows.failing) {
        RowNotes& note = notes[size_t(row.row)];
        note.mark = "fails";
        for (const std::string& text : CrossedTexts(row, thresholds, alpha))
            note.crosses += (note.crosses.empty() ? "" : "; ") + text;
    }
    const std::vector<double> holm = HolmKsOfRows(results);
    for (size_t row = 0; row < notes.size(); ++row)
        notes[row].holm = holm[row];
    return notes;
}

} // namespace

std::string FiguresCsv(const ResultGrid& grid, const FlagThresholds& thresholds, double alpha,
                       const std::vector<NoResultReason>& reasons) {
    const ResultSet& results = grid.Results();
    const std::vector<double> exact = ExactKsOfRows(results, alpha);
    const std::vector<RowNotes> notes = NotesOfRows(results, thresholds, alpha, reasons);
    std::string out = Header(results.SequenceCount());
    std::vector<std::string> owned;
    std::vector<std::string_view> fields;
    for (int32_t shown = ResultGrid::FixedRows; shown < grid.RowCount(); ++shown) {
        const int32_t row = grid.ResultRowAt(shown);
        if (row < 0)
            continue;
        const ResultRow cells = results.Row(row);
        owned.clear();
        fields.clear();
        for (int32_t col = 0; col < ResultGrid::FixedColumns; ++col)
            owned.emplace_back(Trimmed(grid.Cell(col, shown)));
        for (int32_t s = 0; s < results.SequenceCount(); ++s) {
            const PValueMark mark = cells.marks[size_t(s)];
            owned.emplace_back(mark == PValueMark::Error ? "-1"
                               : mark == PValueMark::Missing
                                   ? ""
                                   : Trimmed(grid.Cell(ResultGrid::FixedColumns + s, shown)));
        }
        const auto figure = [&](double value) {
            owned.push_back(cells.figures ? FigureText17(value) : std::string());
        };
        figure(cells.figures ? cells.figures->ks : 0);
        figure(cells.figures ? cells.figures->ad : 0);
        figure(cells.figures ? cells.figures->sl : 0);
        figure(exact[size_t(row)]);
        figure(notes[size_t(row)].holm);
        const RowNotes& note = notes[size_t(row)];
        owned.insert(owned.end(), {note.mark, note.crosses, note.reason});
        fields.assign(owned.begin(), owned.end());
        AppendCsvRecord(out, fields);
    }
    return out;
}

} // namespace zentrope
