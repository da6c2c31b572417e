// The sections of the tests that take parameters: value lines of tab-separated integers.
#include "reader_sections.h"

#include "model/c_text.h"

#include <array>
#include <vector>

namespace zentrope {
namespace {

// Up to four integers of one value line; an absent output skips nothing, it is not read.
using Outputs = std::array<int32_t*, 4>;

Outputs Range(RangeParam& r, int32_t* extra = nullptr) {
    return {&r.min, &r.max, &r.step, extra};
}

struct TestSection {
    std::string_view key;
    bool rawSizeLines; // the DFT section starts with two size lines taken as they are
    std::vector<Outputs> (*valueLines)(ParameterSet&);
};

// Matched in this order by prefix; a "[Serial two-bit]" header reads as Serial.
const TestSection TestSections[] = {
    {"dft", true,
     [](ParameterSet& s) {
         return std::vector<Outputs>{Range(s.DFT_rows), {&s.DFT_mode0, &s.DFT_mode1}};
     }},
    {"coupon collector", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.Coupon_block_size)}; }},
    {"maurer", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.Maurer_block_size, &s.Maurer_N)}; }},
    {"short blocks", false,
     [](ParameterSet& s) {
         return std::vector<Outputs>{Range(s.ShortBlocks_block_size),
                                     Range(s.ShortBlocks_bits_distance)};
     }},
    {"runs", false,
     [](ParameterSet& s) {
         return std::vector<Outputs>{Range(s.Runs_block_size), Range(s.Runs_run_length)};
     }},
    {"permutation", false,
     [](ParameterSet& s) {
         return std::vector<Outputs>{Range(s.Permutation_block_size),
                                     Range(s.Permutation_group_size)};
     }},
    {"long blocks", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.LongBlocks_block_size)}; }},
    {"windowed autocorrelation", false,
     [](ParameterSet& s) {
         return std::vector<Outputs>{Range(s.WinAutocorr_distance),
                                     Range(s.WinAutocorr_block_size)};
     }},
    {"non overlapping template matchings", false,
     [](ParameterSet& s) {
         return std::vector<Outputs>{Range(s.NOTM_block_size, &s.NOTM_templates)};
     }},
    {"serial", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.Serial_block_size)}; }},
    {"rank 6x8", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.Rank6x8_byte_order)}; }},
    {"amls", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.AMLS_block_length)}; }},
    {"collision", false,
     [](ParameterSet& s) { return std::vector<Outputs>{Range(s.Collision_block_size)}; }},
};

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

bool ReadRawSizeLines(ReaderState& state) {
    std::string line;
    for (uint32_t* field : {&state.set.DFT_max_n, &state.set.DFT_optimize}) {
        LineRead read = state.lines.Next(line);
        if (read != LineRead::Line) {
            ReportNoLine(state, read, SectionName(state));
            return false;
        }
        StoreSize(state, line, line, *field);
    }
    return true;
}

const TestSection* FindTestSection(std::string_view header) {
    if (header.empty())
        return nullptr;
    for (const TestSection& section : TestSections)
        if (header.substr(1).starts_with(section.key))
            return &section;
    return nullptr;
}

} // namespace

SectionEnd ReadTestSection(ReaderState& state, const std::string& current) {
    const TestSection* section = FindTestSection(current);
    if (!section) {
        if (current.starts_with('['))
            Report(state, "Test not found: " + current);
        return SectionEnd::NextLine;
    }
    if (section->rawSizeLines && !ReadRawSizeLines(state))
        return SectionEnd::Fatal;
    for (const Outputs& outputs : section->valueLines(state.set))
        if (!ReadValueLine(state, outputs))
            return SectionEnd::Fatal;
    return SectionEnd::NextLine;
}

} // namespace zentrope
