#include "results/grid/result_loader_steps.h"

#include "model/c_text.h"
#include "results/grid/parallel_parts.h"

#include <algorithm>
#include <string>
#include <vector>

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

// Walks the lines of a result file from begin, a place outside any section, to the end of
// text: on_heading() at every section heading that opens a section, on_data(line, tab, pos) at
// every data line (pos: where the line starts). Stops early when on_data returns false.
template <typename OnHeading, typename OnData>
void WalkResultLines(std::string_view text, size_t begin, const OnHeading& onHeading,
                     const OnData& on_data) {
    bool inSection = false;
    for (size_t pos = begin; pos < text.size();) {
        const size_t start = pos;
        const std::string_view line = NextLinePiece(text, pos, LinePieceLength);
        if (!inSection) {
            inSection = line.starts_with("Sequen");
            if (inSection)
                onHeading();
            continue;
        }
        if (line.size() < ShortestDataLine) {
            inSection = false;
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

// Below this many bytes per thread, starting a thread costs more than it saves.
constexpr int64_t FewestBytesPerThread = int64_t{1} << 20;

// The sections of one stretch of the file, each a column of cells by row (row 0, the
// header's, left empty), and the test names of its first section by row from 1.
struct Stretch {
    std::vector<std::vector<CellText>> columns;
    std::vector<CellText> names;
    size_t lastDataEnd = 0; // where the stretch's last data line ends in the text
};

// Progress is told, and a stop looked for, after this many bytes of lines.
constexpr size_t ProgressBytes = size_t{1} << 20;

// A new section, with room for as many lines as the one before it.
void OpenSection(Stretch& out) {
    const size_t cells = out.columns.empty() ? 1 : out.columns.back().size();
    out.columns.emplace_back(1).reserve(cells);
}

void ReadStretch(std::string_view text, size_t begin, CellText file, ResultLineFormat format,
                 CellText error, Stretch& out, LoadWatch* watch) {
    size_t told = begin;
    WalkResultLines(
        text, begin, [&] { OpenSection(out); },
        [&](std::string_view line, size_t tab, size_t pos) {
            if (pos - told >= ProgressBytes) {
                Advance(watch, int64_t(pos - told));
                told = pos;
            }
            out.lastDataEnd = pos + line.size();
            const LineFields fields = CutDataLine(line, tab, format);
            const CellText lineText = file.Part(pos, line.size());
            if (out.columns.size() == 1)
                out.names.push_back(lineText.Part(fields.name.from, fields.name.length));
            const bool missing =
                IsMissingResult(line.substr(fields.pvalue.from, fields.pvalue.length));
            out.columns.back().push_back(
                missing ? error : lineText.Part(fields.pvalue.from, fields.pvalue.length));
            return true;
        });
}

// Just past the first line shorter than a data line from the line after pos on. Whether or
// not a section was open before it, none is open after it, so reading can start there.
size_t SectionFreePlace(std::string_view text, size_t pos) {
    const size_t lf = text.find('\n', pos);
    if (lf == std::string_view::npos)
        return text.size();
    for (pos = lf + 1; pos < text.size();)
        if (NextLinePiece(text, pos, LinePieceLength).size() < ShortestDataLine)
            return pos;
    return text.size();
}

// Where the stretches that threads read begin, and the end of the text.
std::vector<size_t> StretchBounds(std::string_view text) {
    const int32_t parts = PartCount(static_cast<int64_t>(text.size()), FewestBytesPerThread);
    std::vector<size_t> bounds{0};
    for (int32_t part = 1; part < parts; ++part)
        bounds.push_back(
            std::max(bounds.back(), SectionFreePlace(text, text.size() * size_t(part) / parts)));
    bounds.push_back(text.size());
    return bounds;
}

// The row count, the row numbers and the test names from the first section.
void WriteTestRows(const std::vector<CellText>& names, ResultGrid& grid) {
    if (names.empty())
        return; // the rows of an earlier load stay counted
    const auto rows = static_cast<int32_t>(names.size());
    grid.SetRowCount(rows + 1);
    for (int32_t row = 1; row <= rows; ++row) {
        grid.SetCell(0, row, std::to_string(row));
        grid.SetCell(1, row, names[static_cast<size_t>(row - 1)]);
    }
}

} // namespace

std::optional<ResultLineFormat> FittingLineFormat(std::string_view text, ResultLineFormat chosen) {
    const ResultLineFormat other = OtherFormat(chosen);
    bool chosenFits = false;
    bool otherFits = true;
    bool anyLine = false;
    WalkResultLines(
        text, 0, [] {},
        [&](std::string_view line, size_t tab, size_t) {
            anyLine = true;
            chosenFits = IsWholeNumber(PValueField(line, tab, chosen));
            otherFits = otherFits && IsWholeNumber(PValueField(line, tab, other));
            return !chosenFits; // one number in the chosen format settles it
        });
    if (chosenFits)
        return chosen;
    if (anyLine && otherFits)
        return other;
    return std::nullopt;
}

SectionsRead ReadResultSections(std::string_view text, CellText file, ResultLineFormat format,
                                ResultGrid& grid, LoadWatch* watch) {
    if (watch)
        watch->Begin(LoadStage::Sections, int64_t(text.size()));
    const CellText error = grid.StoreText(ErrorCellText);
    grid.SetCell(0, 0, "N");
    grid.SetCell(1, 0, "Test name");
    grid.SetCell(2, 0, "pvals");
    const std::vector<size_t> bounds = StretchBounds(text);
    std::vector<Stretch> stretches(bounds.size() - 1);
    RunParts(static_cast<int32_t>(stretches.size()), [&](int32_t part) {
        const auto k = static_cast<size_t>(part);
        ReadStretch(text.substr(0, bounds[k + 1]), bounds[k], file, format, error, stretches[k],
                    watch);
    });
    std::vector<std::vector<CellText>*> sections;
    for (Stretch& stretch : stretches)
        for (std::vector<CellText>& cells : stretch.columns) {
            if (sections.empty())
                WriteTestRows(stretch.names, grid);
            sections.push_back(&cells);
        }
    const int32_t rows = std::max(grid.RowCount(), ResultGrid::FixedRows);
    for (std::vector<CellText>* cells : sections)
        if (cells->size() > static_cast<size_t>(rows))
            cells->resize(static_cast<size_t>(rows)); // below the table
    const auto sequences = static_cast<int32_t>(sections.size());
    SectionsRead read{FirstSequenceColumn - 1 + sequences,
                      ResultSet::ToBeWritten(rows - ResultGrid::FixedRows, sequences),
                      !text.empty() && text.back() != '\n' &&
                          stretches.back().lastDataEnd == text.size()};
    ReadResultNumbers(sections, text, error, read.numbers, watch);
    for (int32_t sequence = 0; sequence < sequences; ++sequence) {
        const int32_t column = FirstSequenceColumn + sequence;
        grid.SetColumnCount(column + 1);
        grid.AdoptColumn(column, std::move(*sections[static_cast<size_t>(sequence)]));
        grid.SetCell(column, 0, std::to_string(sequence + 1));
    }
    return read;
}

std::vector<std::vector<std::string_view>> ReadSectionPValues(std::string_view text,
                                                              ResultLineFormat format) {
    std::vector<std::vector<std::string_view>> sections;
    WalkResultLines(
        text, 0, [&] { sections.emplace_back(); },
        [&](std::string_view line, size_t tab, size_t) {
            const Span pvalue = CutDataLine(line, tab, format).pvalue;
            const std::string_view value = line.substr(pvalue.from, pvalue.length);
            sections.back().push_back(IsMissingResult(value) ? ErrorCellText : value);
            return true;
        });
    return sections;
}

} // namespace zentrope
