#include "tester/merge_shares.h"
#include "results/shares/share_merge.h"
#include "tester/result_report.h"

namespace zentrope {

std::string MergeShares(const std::vector<std::string>& sharePaths, const std::string& outPath) {
    return MergeShareFiles(sharePaths, outPath, [](const MergedRun& run) {
        RunResults results;
        results.lineNames = run.lineNames;
        results.pValues = run.pValues;
        return FormatRunEnd(run.sequenceNotes, results, run.summarySettings);
    });
}

} // namespace zentrope
