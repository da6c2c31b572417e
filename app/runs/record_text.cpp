#include "app/runs/record_text.h"

#include "app/runs/late_results.h"
#include "records/record_summary.h"
#include "records/run_folder.h"

#include <QFile>
#include <QStringList>

using namespace zentrope;

namespace {

QString Known(const QString& text) {
    return text.isEmpty() ? QStringLiteral("not known") : text;
}

// A tester left running when the window closed ends unseen: its end stays unknown, though
// its result may have been collected since.
QString EndedLine(const RunRecord& run) {
    if (EndUnseen(run))
        return QStringLiteral("Ended: not known; the tester ran on its own after the window "
                              "closed, so its end and exit code were not seen%1")
            .arg(QFile::exists(run.folder + '/' + ResultCopyName)
                     ? QStringLiteral(". Its result was collected once it had ended")
                     : QString());
    return QStringLiteral("Ended: %1, exit %2")
        .arg(run.end.endedAt.toString(Qt::ISODate), EndText(run));
}

QStringList ImportedLines(const RunRecord& run) {
    return {QStringLiteral("Imported from: %1").arg(run.source),
            QStringLiteral("Folder: %1%2").arg(run.folder, run.folderPresent ? "" : " (gone)"),
            QStringLiteral("Imported: %1").arg(run.startedAt.toString(Qt::ISODate)),
            QStringLiteral("Front end: %1").arg(run.frontEndVersion),
            QStringLiteral("Tester, parameters and input files: not known for a result file "
                           "loaded from outside the recorded runs")};
}

QStringList RunLines(const RunRecord& run) {
    QStringList lines{
        QStringLiteral("Folder: %1%2").arg(run.folder, run.folderPresent ? "" : " (gone)"),
        QStringLiteral("Tester: %1 (%2 bytes, SHA-256 %3)")
            .arg(run.testerPath)
            .arg(run.testerSize)
            .arg(Known(run.testerSha256)),
        QStringLiteral("Front end: %1").arg(run.frontEndVersion),
        QStringLiteral("Started: %1").arg(run.startedAt.toString(Qt::ISODate)),
        EndedLine(run),
        QStringLiteral("n: %1  NT: %2")
            .arg(run.n ? QString::number(*run.n) : QString())
            .arg(run.NT ? QString::number(*run.NT) : QString()),
        QStringLiteral("Tests: %1").arg(run.enabledTests.join(", "))};
    for (const InputFileFacts& input : run.inputs)
        lines << QStringLiteral("Input: %1 (%2 bytes, %3, SHA-256 %4)")
                     .arg(input.path)
                     .arg(input.size)
                     .arg(input.modified.toString(Qt::ISODate), Known(input.sha256));
    return lines;
}

} // namespace

QString EndText(const RunRecord& run) {
    const RunEnd& end = run.end;
    if (run.kind == RunKind::Imported)
        return QString();
    if (end.cancelled)
        return QStringLiteral("cancelled");
    if (end.endSignal)
        return QStringLiteral("signal %1").arg(*end.endSignal);
    if (end.exitCode)
        return QString::number(*end.exitCode);
    return QStringLiteral("not known");
}

QString VerdictBasis(const RunRecord& run) {
    return run.verdict ? QStringLiteral("Holm over the rows' KS p-values at %1")
                             .arg(QString::number(run.verdict->alpha))
                       : QString();
}

QString RecordText(const RunRecord& run, const QString& hashing) {
    QStringList lines = run.kind == RunKind::Imported ? ImportedLines(run) : RunLines(run);
    if (const QString verdict = VerdictText(run); !verdict.isEmpty())
        lines << (run.verdict ? QStringLiteral("Verdict: %1 (%2)").arg(verdict, VerdictBasis(run))
                              : QStringLiteral("Verdict: %1").arg(verdict));
    if (!hashing.isEmpty())
        lines << hashing;
    return lines.join('\n');
}
