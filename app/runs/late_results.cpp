#include "app/runs/late_results.h"

#include "records/run_folder.h"
#include "runner/result_freshness.h"
#include "runner/tester_process.h"

#include <QFile>

using namespace zentrope;

bool EndUnseen(const RunRecord& run) {
    return run.kind == RunKind::Run && !run.end.endedAt.isValid() && !run.end.cancelled;
}

namespace {

bool ResultDue(const RunRecord& run) {
    return EndUnseen(run) && run.testerPid && run.folderPresent && !run.resultPath.isEmpty() &&
           !QFile::exists(run.folder + '/' + ResultCopyName) && !ProcessExists(*run.testerPid);
}

} // namespace

void CollectLateResults(RunStore& store) {
    for (const RunRecord& run : store.list()) {
        if (!ResultDue(run))
            continue;
        const std::string path = QFile::encodeName(run.resultPath).toStdString();
        // A file older than the run is another run's; one not written leaves nothing to copy.
        if (CheckResultFreshness(path, run.startedAt) == ResultFreshness::Written)
            store.finish(run.id, run.end, run.resultPath);
    }
}
