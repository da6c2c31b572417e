// What the store keeps of one run of the tester, or of a result file loaded from elsewhere.
#pragma once

#include "results/verdict/run_verdict.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zentrope {

enum class RunKind { Run, Imported };

// What finds a run again through the backend that runs it: the backend's name ("local" for a
// process on this computer) and the backend's own text for the run (for "local", the process
// id and its start time, so that a process that took over a reused id is never taken for it).
// Both empty for a run recorded before backends were named.
struct BackendIdentity {
    QString backend;
    QString id;
    bool operator==(const BackendIdentity&) const = default;
};

// One input file that the parameter file's InFile matched, as it was when the run started.
struct InputFileFacts {
    QString path;
    qint64 size = 0;
    QDateTime modified;
    QString sha256; // lower-case hex; empty when the file could not be read
};

// How a run ended; all empty while that is not known (a tester left running on its own, or a
// run still going).
struct RunEnd {
    QDateTime endedAt;
    std::optional<int> exitCode;
    std::optional<int> endSignal;
    bool cancelled = false;
};

// What the store notes once a run's tester has started.
struct RunStart {
    std::optional<qint64> pid; // the tester's process, where the backend runs one here
    QString resultPath;
    BackendIdentity runner;
};

struct RunRecord {
    qint64 id = 0; // given by the store
    RunKind kind = RunKind::Run;
    QString folder;            // absolute; the run's files are in it
    QString source;            // an imported record's file as it was loaded; empty for a run
    bool folderPresent = true; // false when the folder has gone since the record was written

    QString testerPath;
    qint64 testerSize = 0;
    QString testerSha256;
    QString frontEndVersion;

    QDateTime startedAt;
    RunEnd end;

    std::optional<quint32> n; // sequence length in bits
    std::optional<qint32> NT; // number of sequences
    // Where the tester writes its result, and its process: a run whose end the window did not
    // see gets its result once the process is seen gone.
    QString resultPath;
    std::optional<qint64> testerPid;
    BackendIdentity runner;
    QStringList enabledTests; // in execution order
    QList<InputFileFacts> inputs;
    // How its result came out, judged off the window's thread once the result is kept; empty
    // until then.
    std::optional<BriefVerdict> verdict;
};

} // namespace zentrope
