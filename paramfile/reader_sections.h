// The reader's shared state and its section readers; internal to the reader.
#pragma once

#include "paramfile/line_reader.h"
#include "paramfile/parameter_file_reader.h"

#include <string>
#include <string_view>

namespace zentrope {

struct ReaderState {
    LineReader& lines;
    ParameterSet& set;
    const MessageSink& sink;
    // The header of the section being read, case as written, cut at '#'.
    std::string sectionHeaderText;
};

// How a section reader handed control back to the top level.
enum class SectionEnd {
    NextLine, // go on reading; for General and Enable, current holds the header that ended it
    FileEnd,  // the file ended where that is allowed
    Fatal,    // a message was shown; reading stops with result 1
};

void Report(const ReaderState& state, std::string_view detail);
// The message for a line that could not be read: end of file or a broken read.
void ReportNoLine(const ReaderState& state, LineRead read, std::string_view section);
void CutAtHash(std::string& line);
// Stores the size read from text, or reports the line when it does not fit in 32 bits.
void StoreSize(const ReaderState& state, std::string_view text, std::string_view line,
               uint32_t& field);

SectionEnd ReadGeneralSection(ReaderState& state, std::string& current);
SectionEnd ReadEnableSection(ReaderState& state, std::string& current);
// Reads the test section named by current, or reports a header naming no test.
SectionEnd ReadTestSection(ReaderState& state, const std::string& current);

} // namespace zentrope
