#include "app/run_watch/run_end_text.h"

namespace {

// Enough to show why a tester stopped, few enough for a box.
constexpr int BoxLines = 10;

QString ExitText(const zentrope::TesterEnd& end) {
    if (end.signalled)
        return QStringLiteral("Zentrope was ended by signal %1.").arg(end.code);
    if (end.code == -1)
        return QStringLiteral("The exit code of Zentrope is not known.");
    return QStringLiteral("Exit code: %1").arg(end.code);
}

} // namespace

QString FailedRunText(const QString& resultPath, bool resultWritten, const zentrope::TesterEnd& end,
                      const QStringList& logLines) {
    QString text =
        resultWritten
            ? QStringLiteral("Zentrope has ended with an error; its output file\n\"%1\"\nis "
                             "not loaded.")
                  .arg(resultPath)
            : QStringLiteral("Zentrope has ended without writing the output file\n\"%1\".")
                  .arg(resultPath);
    text += '\n' + ExitText(end);
    if (logLines.isEmpty())
        return text + QStringLiteral("\n\nZentrope wrote nothing to its log.");
    return text + QStringLiteral("\n\nThe last lines of its log:\n") +
           logLines.mid(qMax(0, logLines.size() - BoxLines)).join('\n');
}
