#include "result_loader_steps.h"

#include "model/c_text.h"

#include <string>

namespace zentrope {
namespace {

// The tester's lines are read in pieces of at most this many characters; a longer line
// counts as several lines.
constexpr size_t LinePieceLength = 999;
constexpr size_t ShortestDataLine = 3;
constexpr int32_t FirstSequenceColumn = ResultGrid::FixedColumns;

// A p-value of exactly -1 marks a test without result. Only a text whose first character
// after white space is a minus sign can read as -1, which spares most cells the conversion.
bool IsMissingResult(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\n\v\f\r");
    return first != std::string_view::npos && text[first] == '-' && AtofC(text) == -1.0;
}

struct LoadCursor {
    int32_t column = FirstSequenceColumn - 1;
    int32_t row = 0;
};

void OpenSection(LoadCursor& at, ResultGrid& grid) {
    at.row = 0;
    ++at.column;
    grid.SetColumnCount(at.column + 1);
    grid.SetCell(at.column, 0, std::to_string(at.column - FirstSequenceColumn + 1));
}

struct Span {
    size_t from = 0;
    size_t length = 0;
};

// Cut at the first TAB; the line feed that ends the second field is dropped.
struct LineFields {
    Span pvalue;
    Span name;
};

LineFields CutDataLine(std::string_view line, size_t tab, ResultLineFormat format) {
    const size_t end = line.back() == '\n' ? line.size() - 1 : line.size();
    const Span first{0, tab};
    const Span second{tab + 1, end - tab - 1};
    if (format == ResultLineFormat::PValueThenName)
        return {first, second};
    return {second, first};
}

// line_text is the stored copy of line.
void ReadDataLine(std::string_view line, size_t tab, CellText line_text, ResultLineFormat format,
                  LoadCursor& at, ResultGrid& grid, CellText error) {
    const LineFields fields = CutDataLine(line, tab, format);
    ++at.row;
    if (at.column == FirstSequenceColumn) {
        grid.SetRowCount(at.row + 1);
        grid.SetCell(0, at.row, std::to_string(at.row));
        grid.SetCell(1, at.row, line_text.Part(fields.name.from, fields.name.length));
    } else if (at.row >= grid.RowCount()) {
        return; // below the table; every load empties such cells anyway
    }
    const bool missing = IsMissingResult(line.substr(fields.pvalue.from, fields.pvalue.length));
    grid.SetCell(at.column, at.row,
                 missing ? error : line_text.Part(fields.pvalue.from, fields.pvalue.length));
}

// Walks the lines of a result file: on_heading() at every section heading that opens a
// section, on_data(line, tab, pos) at every data line (pos: where the line starts). Stops
// early when on_data returns false.
template <typename OnHeading, typename OnData>
void WalkResultLines(std::string_view text, const OnHeading& on_heading, const OnData& on_data) {
    bool in_section = false;
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const std::string_view line = NextLinePiece(text, pos, LinePieceLength);
        if (!in_section) {
            in_section = line.starts_with("Sequen");
            if (in_section)
                on_heading();
            continue;
        }
        if (line.size() < ShortestDataLine) {
            in_section = false;
            continue;
        }
        const size_t tab = line.find('\t');
        if (tab != std::string_view::npos && !on_data(line, tab, start))
            return;
    }
}

// The whole field is one number as atof reads it, white space around it allowed.
bool IsWholeNumber(std::string_view field) {
    size_t used = 0;
    AtofC(field, &used);
    return used > 0 && field.find_first_not_of(" \t\n\v\f\r", used) == std::string_view::npos;
}

std::string_view PValueField(std::string_view line, size_t tab, ResultLineFormat format) {
    const Span pvalue = CutDataLine(line, tab, format).pvalue;
    return line.substr(pvalue.from, pvalue.length);
}

ResultLineFormat OtherFormat(ResultLineFormat format) {
    return format == ResultLineFormat::PValueThenName ? ResultLineFormat::NameThenPValue
                                                      : ResultLineFormat::PValueThenName;
}

} // namespace

std::optional<ResultLineFormat> FittingLineFormat(std::string_view text, ResultLineFormat chosen) {
    const ResultLineFormat other = OtherFormat(chosen);
    bool chosen_fits = false;
    bool other_fits = true;
    bool any_line = false;
    WalkResultLines(
        text, [] {},
        [&](std::string_view line, size_t tab, size_t) {
            any_line = true;
            chosen_fits = IsWholeNumber(PValueField(line, tab, chosen));
            other_fits = other_fits && IsWholeNumber(PValueField(line, tab, other));
            return !chosen_fits; // one number in the chosen format settles it
        });
    if (chosen_fits)
        return chosen;
    if (any_line && other_fits)
        return other;
    return std::nullopt;
}

int32_t ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                           ResultGrid& grid) {
    const CellText error = grid.StoreText(ErrorCellText);
    grid.SetCell(0, 0, "N");
    grid.SetCell(1, 0, "Test name");
    grid.SetCell(2, 0, "pvals");
    LoadCursor at;
    WalkResultLines(
        text, [&] { OpenSection(at, grid); },
        [&](std::string_view line, size_t tab, size_t pos) {
            ReadDataLine(line, tab, file.Part(pos, line.size()), format, at, grid, error);
            return true;
        });
    return at.column;
}

} // namespace zentrope
