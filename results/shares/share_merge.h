// Shares of one run merged into the result file the whole run writes: the first share's
// report without the share lines, every section in sequence order, then what the tester
// writes after the last section for the whole run: the lines the shares wrote about single
// sequences, and the summary. Shares of different runs,
// a gap or an overlap in their sequences, a share cut short and a file that is no share's
// result are refused with a message that names the file; the merged file is written whole
// or not at all.
#pragma once

#include "model/parameter_set.h"

#include <functional>
#include <string>
#include <vector>

namespace zentrope {

// What the end of the whole run's file is made from.
struct MergedRun {
    // The non-empty lines the shares wrote between their last section and their summary
    // (the "No result" lines of single sequences), in sequence order, each with its line feed.
    std::string sequenceNotes;
    std::vector<std::string> lineNames;
    std::vector<std::vector<double>> pValues; // [sequence][line], as the files hold them
    ParameterSet summarySettings;             // the fields a share's settings line carries
};

// Everything after the last section, as the tester writes it.
using RunEndWriter = std::function<std::string(const MergedRun&)>;

// An empty text when the merged file was written; else why not (nothing written then).
std::string MergeShareFiles(const std::vector<std::string>& sharePaths, const std::string& outPath,
                            const RunEndWriter& runEnd);

} // namespace zentrope
