// The [General] section: one key line per setting, matched by lower-case prefix.
#include "paramfile/reader_sections.h"

#include "model/c_text.h"
#include "model/parameter_fields.h"

#include <optional>

namespace zentrope {
namespace {

std::string LowerCased(std::string_view text) {
    std::string lowered(text);
    LowerCaseAscii(lowered);
    return lowered;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The text between the first two quotation marks; an empty name leaves the field alone.
bool StoreQuotedName(const ReaderState& state, std::string_view line,
                     std::optional<std::string>& field, std::string_view name) {
    size_t open = line.find('"');
    size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
    if (close == std::string_view::npos) {
        Report(state, "\n\t!! ERROR !!\nThe " + std::string(name) +
                          " file name must be always enclosed in quotation marks.");
        return false;
    }
    if (close > open + 1)
        field = std::string(line.substr(open + 1, close - open - 1));
    return true;
}

void ReportUnknownKey(const ReaderState& state, std::string key) {
    while (!key.empty() && (key.back() == '\r' || key.back() == '\n'))
        key.pop_back();
    Report(state, "\n\t!! ERROR !!\nParameter \"" + key +
                      "\" not recognised in the \"General\" section.\n");
}

// Sizes are matched with the blank after their key: "n" alone begins "nt".
bool KeyMatches(std::string_view lowered, const ParameterField& field) {
    if (field.section != GeneralSection || !lowered.starts_with(LowerCased(field.key)))
        return false;
    return field.kind != FieldKind::Size || lowered.substr(field.key.size()).starts_with(' ');
}

// Stores the value after the key; false after a fatal message.
bool StoreValue(const ReaderState& state, std::string_view line, const ParameterField& field) {
    const std::string_view value = line.substr(field.key.size());
    ParameterSet& set = state.set;
    switch (field.kind) {
    case FieldKind::Size:
        StoreSize(state, value.substr(1), line,
                  set.*std::get<uint32_t ParameterSet::*>(field.member));
        return true;
    case FieldKind::Number:
        set.*std::get<double ParameterSet::*>(field.member) = AtofC(value);
        return true;
    case FieldKind::Text:
    case FieldKind::KeptText:
        return StoreQuotedName(
            state, line, set.*std::get<std::optional<std::string> ParameterSet::*>(field.member),
            field.key);
    default:
        set.*std::get<int32_t ParameterSet::*>(field.member) = AtolC(value);
        return true;
    }
}

// line starts at its first letter, case as written; false after a fatal message.
bool ReadKeyLine(const ReaderState& state, std::string_view line) {
    std::string key(line);
    LowerCaseAscii(key);
    for (const ParameterField& field : ParameterFields())
        if (KeyMatches(key, field))
            return StoreValue(state, line, field);
    ReportUnknownKey(state, key);
    return false;
}

} // namespace

SectionEnd ReadGeneralSection(ReaderState& state, std::string& current) {
    std::string line;
    for (;;) {
        LineRead read = state.lines.Next(line);
        if (read != LineRead::Line) {
            ReportNoLine(state, read, "General");
            return SectionEnd::Fatal;
        }
        CutAtHash(line);
        size_t start = 0;
        while (start < line.size() && !IsLetter(line[start]) && line[start] != '[')
            ++start;
        if (start == line.size())
            continue;
        if (line[start] == '[') {
            state.sectionHeaderText = line;
            LowerCaseAscii(line);
            current = line;
            return SectionEnd::NextLine;
        }
        if (!ReadKeyLine(state, std::string_view(line).substr(start)))
            return SectionEnd::Fatal;
    }
}

} // namespace zentrope
