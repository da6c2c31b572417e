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
    bool in_section = false;
};

void OpenSection(LoadCursor& at, ResultGrid& grid) {
    at.in_section = true;
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

} // namespace

int32_t ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                           ResultGrid& grid) {
    const CellText error = grid.StoreText(ErrorCellText);
    grid.SetCell(0, 0, "N");
    grid.SetCell(1, 0, "Test name");
    grid.SetCell(2, 0, "pvals");
    LoadCursor at;
    for (size_t pos = 0; pos < text.size();) {
        const std::string_view line = NextLinePiece(text, pos, LinePieceLength);
        const CellText line_text = file.Part(pos - line.size(), line.size());
        if (!at.in_section) {
            if (line.starts_with("Sequen"))
                OpenSection(at, grid);
            continue;
        }
        if (line.size() < ShortestDataLine) {
            at.in_section = false;
            continue;
        }
        const size_t tab = line.find('\t');
        if (tab != std::string_view::npos)
            ReadDataLine(line, tab, line_text, format, at, grid, error);
    }
    return at.column;
}

} // namespace zentrope
