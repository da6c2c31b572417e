#include "app/runs/unfinished_runs.h"

#include "app/runs/late_results.h"
#include "app/runs/result_place.h"
#include "records/file_hash.h"
#include "records/run_folder.h"
#include "runner/result_freshness.h"
#include "runner/tester_process.h"

#include <QDir>
#include <QFileInfo>

using namespace zentrope;

namespace {

constexpr qint64 StartingGraceSeconds = 60;

bool MayStillBeStarting(const RunRecord& run) {
    return run.startedAt.secsTo(QDateTime::currentDateTime()) < StartingGraceSeconds;
}

// The tester started, its log shows, but its process was never noted: found writing its log
// it is noted now; ended, its run is completed with the log's last change as its end (its exit
// code is not known) and the result it wrote during the run.
void FinishUnnoted(RunStore& store, const RunRecord& run, UnfinishedRuns& done) {
    const QString log = QDir(run.folder).filePath(LogName);
    if (!QFileInfo::exists(log)) {
        done.removed += store.Remove(run.id).isEmpty();
        return;
    }
    const QString resultPath =
        KeptResultPath(QDir(run.folder).filePath(ParameterCopyName), run.testerPath);
    if (const std::optional<qint64> pid = ProcessWritingTo(log)) {
        done.found += store.SetStart(run.id, *pid, resultPath).isEmpty();
        return;
    }
    RunEnd end;
    end.endedAt = QFileInfo(log).lastModified();
    const bool written = CheckResultFreshness(QFile::encodeName(resultPath).toStdString(),
                                              run.startedAt) == ResultFreshness::Written;
    if (store.Finish(run.id, end, written ? resultPath : QString()).isEmpty() ||
        (written && store.Finish(run.id, end).isEmpty()))
        ++done.completed;
}

// The tester is hashed only while it is still the file that ran: unchanged since the start.
void HashTesterLate(RunStore& store, const RunRecord& run, UnfinishedRuns& done) {
    const QFileInfo tester(run.testerPath);
    if (!tester.isFile() || tester.size() != run.testerSize ||
        tester.lastModified() > run.startedAt)
        return;
    const FileHash hash = HashFile(run.testerPath);
    if (!hash.sha256.isEmpty() && store.SetTester(run.id, hash.size, hash.sha256).isEmpty())
        ++done.hashed;
}

} // namespace

UnfinishedRuns FinishUnfinishedRuns(RunStore& store) {
    UnfinishedRuns done;
    if (store.ReadOnly())
        return done;
    for (const RunRecord& run : store.List()) {
        if (run.kind != RunKind::Run || !run.folderPresent || MayStillBeStarting(run))
            continue;
        if (EndUnseen(run) && !run.testerPid && run.runner.backend.isEmpty()) {
            FinishUnnoted(store, run, done);
            if (!store.Get(run.id))
                continue;
        }
        if (run.testerSha256.isEmpty())
            HashTesterLate(store, run, done);
    }
    return done;
}
