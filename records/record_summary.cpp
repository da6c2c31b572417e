#include "records/record_summary.h"

#include <QFileInfo>

namespace zentrope {
namespace {

// How the run itself ended, where that decides before its result does.
enum class EndState { Cancelled, Failed, Other };

EndState EndStateOf(const RunRecord& run) {
    if (run.kind == RunKind::Imported)
        return EndState::Other;
    if (run.end.cancelled)
        return EndState::Cancelled;
    if (run.end.endSignal || (run.end.exitCode && *run.end.exitCode != 0))
        return EndState::Failed;
    return EndState::Other;
}

} // namespace

QString InputText(const RunRecord& run) {
    if (run.kind == RunKind::Imported)
        return QFileInfo(run.source).fileName();
    if (run.inputs.isEmpty())
        return InFileText(QString());
    const QString first = QFileInfo(run.inputs.first().path).fileName();
    return run.inputs.size() == 1
               ? first
               : QStringLiteral("%1 and %2 more").arg(first).arg(run.inputs.size() - 1);
}

QString InFileText(const QString& inFile) {
    return inFile.isEmpty() ? QStringLiteral("generator") : QFileInfo(inFile).fileName();
}

QString VerdictText(const RunRecord& run) {
    switch (EndStateOf(run)) {
    case EndState::Cancelled:
        return QStringLiteral("cancelled");
    case EndState::Failed:
        return QStringLiteral("failed");
    case EndState::Other:
        break;
    }
    if (!run.verdict)
        return QString();
    switch (run.verdict->outcome) {
    case BriefOutcome::Passes:
        return QStringLiteral("passes");
    case BriefOutcome::Fails:
        return run.verdict->failingRows == 1
                   ? QStringLiteral("FAILS 1 row")
                   : QStringLiteral("FAILS %1 rows").arg(run.verdict->failingRows);
    case BriefOutcome::Incomplete:
        return QStringLiteral("incomplete");
    case BriefOutcome::NoFigures:
        return QStringLiteral("no figures");
    case BriefOutcome::NoTable:
        return QStringLiteral("no result");
    }
    return QString();
}

int VerdictRank(const RunRecord& run) {
    switch (EndStateOf(run)) {
    case EndState::Cancelled:
        return 3;
    case EndState::Failed:
        return 2;
    case EndState::Other:
        break;
    }
    if (!run.verdict)
        return 7;
    switch (run.verdict->outcome) {
    case BriefOutcome::Fails:
        return -run.verdict->failingRows;
    case BriefOutcome::Incomplete:
        return 1;
    case BriefOutcome::NoFigures:
        return 4;
    case BriefOutcome::NoTable:
        return 5;
    case BriefOutcome::Passes:
        return 6;
    }
    return 7;
}

} // namespace zentrope
