// The [General] section: one key line per setting, matched by lower-case prefix.
#include "reader_sections.h"

#include "model/c_text.h"

#include <optional>

namespace zentrope {
namespace {

struct IntegerKey {
    std::string_view prefix;
    int32_t ParameterSet::*field;
};

struct NumberKey {
    std::string_view prefix;
    double ParameterSet::*field;
};

// None of these prefixes begins another, so their order does not change which one matches.
constexpr IntegerKey IntegerKeys[] = {
    {"nt", &ParameterSet::NT},
    {"auto_n", &ParameterSet::auto_n},
    {"showpvals", &ParameterSet::ShowPvals},
    {"overalltestnumber", &ParameterSet::OverallTestNumber},
    {"testname_pv", &ParameterSet::TestName_pv},
    {"pval_digits", &ParameterSet::pval_digits},
    {"idlepriority", &ParameterSet::IdlePriority},
    {"sortks", &ParameterSet::sortKS},
    {"sortad", &ParameterSet::sortAD},
    {"sortsl", &ParameterSet::sortSL},
};

constexpr NumberKey NumberKeys[] = {
    {"ksmin", &ParameterSet::KSmin},
    {"admin", &ParameterSet::ADmin},
    {"slmax", &ParameterSet::SLmax},
};

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

// line starts at its first letter, case as written; false after a fatal message.
bool ReadKeyLine(const ReaderState& state, std::string_view line) {
    std::string key(line);
    LowerCaseAscii(key);
    ParameterSet& set = state.set;
    if (key.starts_with("n ")) {
        StoreSize(state, line.substr(2), line, set.n);
        return true;
    }
    for (const IntegerKey& k : IntegerKeys)
        if (key.starts_with(k.prefix)) {
            set.*k.field = AtolC(line.substr(k.prefix.size()));
            return true;
        }
    for (const NumberKey& k : NumberKeys)
        if (key.starts_with(k.prefix)) {
            set.*k.field = AtofC(line.substr(k.prefix.size()));
            return true;
        }
    if (key.starts_with("outfile"))
        return StoreQuotedName(state, line, set.OutFile, "OutFile");
    if (key.starts_with("infile"))
        return StoreQuotedName(state, line, set.InFile, "InFile");
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
