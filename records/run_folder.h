// The folder that holds one run's files, made under the store's root before anything is
// recorded about the run, and the safe copying of files into it.
#pragma once

#include <QDateTime>
#include <QString>

namespace zentrope {

inline constexpr const char* ParameterCopyName = "parameters.txt";
inline constexpr const char* ResultCopyName = "result.txt";
inline constexpr const char* LogName = "tester.log";

struct RunFolder {
    QString path;  // absolute; empty when none could be made
    QString error; // why none could be made
};

// The folder of all runs under `root`.
QString RunsFolderOf(const QString& root);

// A new, empty folder for a run started at `startedAt`, named after that time; never one
// that another run, even of another window at the same moment, already holds.
RunFolder MakeRunFolder(const QString& root, const QDateTime& startedAt);

// Copies `source` to `target` through a temporary file that replaces nothing until the
// whole copy is on the disk. Returns an empty text, or why the copy failed; a failed copy
// leaves nothing at `target`.
QString CopyWholeFile(const QString& source, const QString& target);

} // namespace zentrope
