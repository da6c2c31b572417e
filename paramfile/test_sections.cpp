// The sections of the tests that take parameters: value lines of tab-separated integers.
#include "paramfile/reader_sections.h"

#include "model/c_text.h"
#include "model/parameter_fields.h"

#include <array>

namespace zentrope {
namespace {

// Up to four integers of one value line; an absent output skips nothing, it is not read.
using Outputs = std::array<int32_t*, 4>;

// The integers of the fields that share one line, in file order.
Outputs OutputsOf(const FieldRow& row, ParameterSet& set) {
    Outputs outputs{};
    size_t next = 0;
    for (const ParameterField* field : row) {
        if (auto* range = std::get_if<RangeParam ParameterSet::*>(&field->member)) {
            RangeParam& r = set.**range;
            for (int32_t* value : {&r.min, &r.max, &r.step})
                outputs.at(next++) = value;
        } else {
            outputs.at(next++) = &(set.*std::get<int32_t ParameterSet::*>(field->member));
        }
    }
    return outputs;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNumberChar(char c) {
    return IsDigit(c) || c == '-';
}

std::string SectionName(const ReaderState& state) {
    std::string name = state.sectionHeaderText;
    while (!name.empty() && (name.back() == ' ' || (name.back() >= '\t' && name.back() <= '\r')))
        name.pop_back();
    return name;
}

// Every character that is not a digit or '-' separates numbers: "2.5" gives 2, then 5.
size_t TakeInteger(const ReaderState& state, std::string_view line, size_t pos, int32_t& out) {
    while (pos < line.size() && !IsNumberChar(line[pos]))
        ++pos;
    if (pos == line.size()) {
        Report(state,
               "\n\t!! ERROR !!\nParameter missing in section: " + state.sectionHeaderText + "\n");
        return pos;
    }
    out = AtolC(line.substr(pos));
    while (pos < line.size() && IsNumberChar(line[pos]))
        ++pos;
    return pos;
}

// The next line that does not begin with '#'; a blank line counts and has no values.
bool ReadValueLine(ReaderState& state, const Outputs& outputs) {
    std::string line;
    do {
        LineRead read = state.lines.Next(line);
        if (read != LineRead::Line) {
            ReportNoLine(state, read, SectionName(state));
            return false;
        }
    } while (line.starts_with('#'));
    LowerCaseAscii(line);
    CutAtHash(line);
    size_t pos = 0;
    for (int32_t* out : outputs)
        if (out)
            pos = TakeInteger(state, line, pos, *out);
    return true;
}

// A size line is taken as it stands: not lower-cased, not cut, not skipped when commented.
bool ReadRawSizeLine(ReaderState& state, uint32_t& field) {
    std::string line;
    LineRead read = state.lines.Next(line);
    if (read != LineRead::Line) {
        ReportNoLine(state, read, SectionName(state));
        return false;
    }
    StoreSize(state, line, line, field);
    return true;
}

bool ReadRow(ReaderState& state, const FieldRow& row) {
    const ParameterField& first = *row.front();
    if (first.kind == FieldKind::Size)
        return ReadRawSizeLine(state, state.set.*std::get<uint32_t ParameterSet::*>(first.member));
    return ReadValueLine(state, OutputsOf(row, state.set));
}

} // namespace

SectionEnd ReadTestSection(ReaderState& state, const std::string& current) {
    // The first character is not examined; a "[Serial two-bit]" header reads as Serial.
    const std::optional<TestId> section =
        current.empty() ? std::nullopt
                        : FindSectionByKeyPrefix(std::string_view(current).substr(1));
    if (!section) {
        if (current.starts_with('['))
            Report(state, "Test not found: " + current);
        return SectionEnd::NextLine;
    }
    for (const FieldRow& row : FileRows())
        if (row.front()->section == *section && !ReadRow(state, row))
            return SectionEnd::Fatal;
    return SectionEnd::NextLine;
}

} // namespace zentrope
