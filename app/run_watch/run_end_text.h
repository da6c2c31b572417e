// What the window tells the user about a run that gave no result of its own.
#pragma once

#include "runner/tester_process.h"

#include <QString>
#include <QStringList>

inline const QString CancelledRunText =
    QStringLiteral("Zentrope was cancelled. No result file is loaded.");

// Why there is no result (the file not written, or the tester's exit), the exit code or
// signal, and the newest lines of the tester's log.
QString FailedRunText(const QString& resultPath, bool resultWritten, const zentrope::TesterEnd& end,
                      const QStringList& logLines);
