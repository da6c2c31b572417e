// Reads the tester's parameter file into a ParameterSet, forgiving about case, comments and
// blank lines, and reporting every problem through a message sink.
#pragma once

#include "model/parameter_set.h"

#include <functional>
#include <istream>
#include <string>
#include <string_view>

namespace zentrope {

// Receives the full text of each message; the window shows it in a box.
using MessageSink = std::function<void(const std::string& text)>;

inline constexpr std::string_view ParseErrorIntro = "ERROR while parsing the parameter file:\n";

// 0 when the end of the file was reached, 1 when reading was abandoned after an error
// message. Fields are stored as they are read, so a failure leaves those read before it.
int ReadParameterFile(const std::string& path, ParameterSet& set, const MessageSink& sink);
// The same on an open stream (the file's content); used by ReadParameterFile.
int ReadParameterStream(std::istream& in, ParameterSet& set, const MessageSink& sink);

// Passes ParseErrorIntro + detail to the sink.
void ShowParseError(const MessageSink& sink, std::string_view detail);

// A to Z to a to z in place; every other byte unchanged.
void LowerCaseAscii(std::string& text);

} // namespace zentrope
