#include "app/runs/late_results.h"

#include "records/run_folder.h"
#include "runner/result_freshness.h"
#include "runner/run_backend.h"
#include "runner/tester_process.h"

#include <QFile>

using namespace zentrope;

bool EndUnseen(const RunRecord& run) {
    return run.kind == RunKind::Run && !run.end.endedAt.isValid() && !run.end.cancelled;
}

namespace {

bool ResultDue(const RunRecord& run) {
    const bool startNoted = run.testerPid || !run.runner.backend.isEmpty();
    return EndUnseen(run) && startNoted && run.folderPresent && !run.resultPath.isEmpty() &&
           !QFile::exists(run.folder + '/' + ResultCopyName) && !RunStillGoing(run);
}

} // namespace

bool RunStillGoing(const RunRecord& run) {
    if (run.runner.backend.isEmpty())
        return run.testerPid && ProcessExists(*run.testerPid);
    const BackendKind* kind = FindBackendKind(run.runner.backend);
    return !kind || kind->going(run.runner);
}

bool CollectLateResult(RunStore& store, const RunRecord& run) {
    if (!ResultDue(run))
        return false;
    const std::string path = QFile::encodeName(run.resultPath).toStdString();
    // A file older than the run is another run's; one not written leaves nothing to copy.
    return CheckResultFreshness(path, run.startedAt) == ResultFreshness::Written &&
           store.Finish(run.id, run.end, run.resultPath).isEmpty();
}

void CollectLateResults(RunStore& store) {
    for (const RunRecord& run : store.List())
        CollectLateResult(store, run);
}
