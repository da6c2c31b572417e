// The tester as a process on this computer: started by the front end (watched through
// TesterProcess), or found again by a later window from its process id and start time (polled,
// since only the parent learns a process's exit code).
#pragma once

#include "runner/run_backend.h"

#include <QTimer>
#include <optional>

namespace zentrope {

inline const QString LocalBackendName = QStringLiteral("local");

// "<pid> <start time>"; "<pid>" where the system gives no start time.
QString LocalIdentityText(qint64 pid, std::optional<quint64> startTime);
// Whether the process that the identity names still runs: its id is in use by a process that
// started at the recorded time.
bool LocalProcessGoing(const BackendIdentity& identity);

class LocalBackend : public RunBackend {
    Q_OBJECT
public:
    // A tester this front end started.
    LocalBackend(std::unique_ptr<TesterProcess> process, const RunRequest& request);
    // A tester an earlier window started, still going.
    LocalBackend(const BackendIdentity& identity, const RunRequest& request,
                 const QDateTime& startedAt);

    BackendIdentity Identity() const override { return identity_; }
    std::optional<qint64> ProcessId() const override { return pid_; }
    QDateTime StartedAt() const override { return startedAt_; }
    void Cancel() override;
    bool HasEnded() const override;
    TesterEnd End() const override;
    std::vector<std::string> ResultPaths() const override { return {resultPath_}; }
    QString LogPath() const override { return logPath_; }

private:
    void PollFoundProcess();

    std::unique_ptr<TesterProcess> process_; // null for a process found again
    qint64 pid_ = 0;
    BackendIdentity identity_;
    QDateTime startedAt_;
    std::string resultPath_;
    QString logPath_;
    // For a process found again.
    QTimer poll_;
    QTimer force_;
    bool foundEnded_ = false;
    bool cancelled_ = false;
};

BackendKind LocalBackendKind();

} // namespace zentrope
