// A run of the tester as one backend runs it: today a process on this computer ("local"),
// later a cluster's job. The window's run object (app/run_watch/run.h) watches it through this
// interface alone; a backend is chosen by name when a run starts, and found again by the name
// its record keeps.
#pragma once

#include "records/run_record.h"
#include "runner/tester_process.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zentrope {

// What a backend needs to start the tester on a parameter file.
struct RunRequest {
    QString executable;
    QString parameterFile;
    QString workingFolder;  // empty: the current folder
    QString logPath;        // where the tester's output goes; empty: nowhere of ours
    std::string resultPath; // the result file the parameter file names, resolved; bytes
};

class RunBackend : public QObject {
    Q_OBJECT
public:
    // What the record keeps to find this run again after the window has closed.
    virtual BackendIdentity Identity() const = 0;
    // Where the tester's process runs, when it runs here; the record shows it.
    virtual std::optional<qint64> ProcessId() const { return std::nullopt; }
    virtual QDateTime StartedAt() const = 0;
    // Asks the run to end, forcing it after a grace period; ended() follows.
    virtual void Cancel() = 0;
    virtual bool HasEnded() const = 0;
    // Meaningful once hasEnded(). A run found again ends with an unknown code (-1).
    virtual TesterEnd End() const = 0;
    // The result files the run writes (one per part of the run), each growing as
    // "<path>.partial" while it goes. Bytes, as the parameter file names them.
    virtual std::vector<std::string> ResultPaths() const = 0;
    // The file its output and its "Progress: k of N" lines go to; empty when there is none.
    virtual QString LogPath() const = 0;
    // Why the run gave no result, in the backend's own words, where the tester's exit and log
    // do not tell it (a cluster that refused the job, shares that do not merge); else empty.
    virtual QString FailureText() const { return QString(); }

signals:
    void Ended();
    // identity() has changed (a job id known only once the cluster answered, or shards
    // submitted again): the record notes it anew.
    void IdentityChanged();
};

struct BackendStart {
    std::unique_ptr<RunBackend> run; // null when nothing was started
    QString error;                   // the backend's or the system's own text
};

// One kind of backend, by the name its runs' records keep.
struct BackendKind {
    QString name;
    std::function<BackendStart(const RunRequest&)> start;
    // Whether the run that the identity names still goes.
    std::function<bool(const BackendIdentity&)> going;
    // The run still going that the identity names, watched again; null when it has ended.
    // The request gives its log and result paths as the record keeps them.
    std::function<std::unique_ptr<RunBackend>(const BackendIdentity&, const RunRequest&,
                                              const QDateTime& startedAt)>
        find;
};

// The backends this build knows, the local one first; a backend adds itself here.
std::vector<BackendKind>& BackendKinds();
// The kind of that name; the local one for an empty name (records made before backends were
// named); null for a name this build does not know.
const BackendKind* FindBackendKind(const QString& name);

} // namespace zentrope
