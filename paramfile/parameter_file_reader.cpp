#include "paramfile/parameter_file_reader.h"

#include "model/sizes.h"
#include "paramfile/reader_sections.h"

#include <filesystem>
#include <fstream>

namespace zentrope {
namespace {

SectionEnd ReadLine(ReaderState& state, std::string& line) {
    CutAtHash(line);
    if (line.empty())
        return SectionEnd::NextLine;
    state.sectionHeaderText = line;
    LowerCaseAscii(line);
    // A line that ends the General section may open the Enable section, and a line that ends
    // either may open a test section; "[general]" itself is only looked for here.
    if (line.starts_with("[general]")) {
        SectionEnd end = ReadGeneralSection(state, line);
        if (end != SectionEnd::NextLine)
            return end;
    }
    if (line.starts_with("[enable]")) {
        SectionEnd end = ReadEnableSection(state, line);
        if (end != SectionEnd::NextLine)
            return end;
    }
    return ReadTestSection(state, line);
}

} // namespace

void ShowParseError(const MessageSink& sink, std::string_view detail) {
    sink(std::string(ParseErrorIntro) + std::string(detail));
}

void LowerCaseAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

void Report(const ReaderState& state, std::string_view detail) {
    ShowParseError(state.sink, detail);
}

void ReportNoLine(const ReaderState& state, LineRead read, std::string_view section) {
    std::string what = read == LineRead::End
                           ? "Reached the end of the configuration file while reading"
                           : "Error while reading";
    Report(state, "\n\t!! ERROR !!\n" + what + " the '" + std::string(section) + "' section.");
}

void CutAtHash(std::string& line) {
    size_t hash = line.find('#');
    if (hash != std::string::npos)
        line.erase(hash);
}

void StoreSize(const ReaderState& state, std::string_view text, std::string_view line,
               uint32_t& field) {
    ParsedSize size = ParseSizeWithUnit(text);
    if (size.fits)
        field = size.bits;
    else
        Report(state, "\n\t!! ERROR !!\nSize out of range (0 to 4294967295 bits) in line: " +
                          std::string(line) + "\n");
}

int ReadParameterStream(std::istream& in, ParameterSet& set, const MessageSink& sink) {
    LineReader lines(in);
    ReaderState state{lines, set, sink, {}};
    std::string line;
    for (;;) {
        LineRead read = lines.Next(line);
        if (read != LineRead::Line) {
            if (read == LineRead::End)
                return 0;
            Report(state, "\n\t!! ERROR !!\nError while reading the parameter file.");
            return 1;
        }
        SectionEnd end = ReadLine(state, line);
        if (end != SectionEnd::NextLine)
            return end == SectionEnd::Fatal ? 1 : 0;
    }
}

int ReadParameterFile(const std::string& path, ParameterSet& set, const MessageSink& sink) {
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, ec))
        in.open(path, std::ios::binary);
    if (!in.is_open()) {
        ShowParseError(sink, "\n\t!! ERROR !!\nParameter file \"" + path + "\" not opened.\n");
        return 1;
    }
    return ReadParameterStream(in, set, sink);
}

} // namespace zentrope
