// The tester's command line: PARAMFILE [--sequences FIRST:COUNT] [--result PATH].
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrope {

// Sequences FIRST ... FIRST + COUNT - 1 (from 0) of the run the parameter file describes.
struct SequenceRange {
    int32_t first = 0;
    int32_t count = 0;
};

struct TesterArguments {
    std::string parameterFile;
    std::optional<SequenceRange> sequences;
    std::optional<std::string> resultPath; // instead of the parameter file's OutFile
};

inline constexpr const char* TesterUsage =
    "Usage: Zentrope.exe <parameter file> [--sequences FIRST:COUNT] [--result PATH]";

// None, with the reason in `problem`, when the arguments are not of that form.
std::optional<TesterArguments> ParseTesterArguments(const std::vector<std::string>& args,
                                                    std::string& problem);

} // namespace zentrope
