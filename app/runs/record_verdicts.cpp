#include "app/runs/record_verdicts.h"

#include "records/run_folder.h"
#include "records/run_store.h"
#include "results/verdict/run_verdict.h"

#include <QFile>
#include <QThreadPool>

using namespace zentrope;

namespace {

// A kept result, or a run that has ended without one; a run still going has nothing to judge.
bool VerdictDue(const RunRecord& run) {
    return !run.verdict && run.folderPresent &&
           (QFile::exists(run.folder + '/' + ResultCopyName) ||
            (run.kind == RunKind::Run && (run.end.endedAt.isValid() || run.end.cancelled)));
}

// True when the verdict was noted.
bool Judge(RunStore& store, const RunRecord& run) {
    const BriefVerdict verdict = JudgeResultFile(
        QFile::encodeName(run.folder + '/' + ResultCopyName).toStdString(), DefaultAlpha);
    return store.setVerdict(run.id, verdict).isEmpty();
}

} // namespace

RecordVerdicts& RecordVerdicts::instance() {
    static RecordVerdicts verdicts;
    return verdicts;
}

void RecordVerdicts::judgeLater(const QString& root, qint64 id) {
    QThreadPool::globalInstance()->start([this, root, id] {
        const StoreOpening opening = RunStore::open(root);
        if (!opening.store)
            return;
        if (const std::optional<RunRecord> run = opening.store->get(id);
            run && run->folderPresent && Judge(*opening.store, *run))
            emit judged(id);
    });
}

void RecordVerdicts::judgeAllDueLater(const QString& root) {
    if (!sweeping_.testAndSetOrdered(0, 1))
        return;
    QThreadPool::globalInstance()->start([this, root] {
        if (const StoreOpening opening = RunStore::open(root); opening.store) {
            for (const RunRecord& run : opening.store->list())
                if (VerdictDue(run) && Judge(*opening.store, run))
                    emit judged(run.id);
        }
        sweeping_.storeRelease(0);
    });
}
