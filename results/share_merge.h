// Shares of one run merged into the result file the whole run writes: the first share's
// report without the share lines, every section in sequence order, the lines the shares
// wrote after their sections, and the summary of the whole run. Shares of different runs,
// a gap or an overlap in their sequences, a share cut short and a file that is no share's
// result are refused with a message that names the file; the merged file is written whole
// or not at all.
#pragma once

#include "model/parameter_set.h"

#include <functional>
#include <string>
#include <vector>

namespace zentrope {

// The whole run's p-values, for its closing summary.
struct MergedRun {
    std::vector<std::string> lineNames;
    std::vector<std::vector<double>> pValues; // [sequence][line], as the files hold them
    ParameterSet summarySettings;             // the fields a share's settings line carries
};

// The summary lines as the tester writes them after the last section.
using SummaryWriter = std::function<std::string(const MergedRun&)>;

// An empty text when the merged file was written; else why not (nothing written then).
std::string MergeShareFiles(const std::vector<std::string>& sharePaths, const std::string& outPath,
                            const SummaryWriter& summary);

} // namespace zentrope
