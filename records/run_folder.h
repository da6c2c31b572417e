// The folder that holds one run's files, made under the store's root before anything is
// recorded about the run, and the safe copying of files into it.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class QLockFile;

namespace zentrope {

inline constexpr const char* ParameterCopyName = "parameters.txt";
inline constexpr const char* ResultCopyName = "result.txt";
inline constexpr const char* LogName = "tester.log";

struct RunFolder {
    QString path;  // absolute; empty when none could be made
    QString error; // why none could be made
    // Held until the folder has its record: a folder without one whose lock is held is still
    // being filled, and one whose lock is not held was left by a program that stopped.
    std::shared_ptr<QLockFile> creating;
};

// The folder of all runs under `root`.
QString RunsFolderOf(const QString& root);

// A new, empty folder for a run started at `startedAt`, named after that time; never one
// that another run, even of another window at the same moment, already holds.
RunFolder MakeRunFolder(const QString& root, const QDateTime& startedAt);

// A new, empty log file for a run that cannot be recorded: in the folder of such logs under
// `root`, or in the system's temporary folder when that cannot be written. Empty when
// neither can.
QString MakeUnrecordedLog(const QString& root, const QDateTime& startedAt);

// Whether a program is still making the run folder and its record.
bool FolderBeingMade(const QString& folder);

// Told between chunks of a copy; true stops it.
using CopyStop = std::function<bool()>;

// Copies `source` to `target` through a temporary file that replaces nothing until the
// whole copy is on the disk. Returns an empty text, or why the copy failed; a failed or
// stopped copy leaves nothing at `target`.
QString CopyWholeFile(const QString& source, const QString& target, const CopyStop& stop = {});

// From this size on, a result file loaded from elsewhere is kept as a second name of the same
// file rather than a copy, which would cost its size again and the time to write it.
inline constexpr qint64 LinkFromBytes = qint64(64) << 20;

// Keeps `source` at `target`: a large file as a hard link when both lie on one file system,
// any other by CopyWholeFile. A tester replaces its result file rather than rewriting it, so
// the link keeps the content it had. Returns an empty text, or why not.
QString KeepFileAt(const QString& source, const QString& target, const CopyStop& stop = {});

} // namespace zentrope
