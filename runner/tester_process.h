// Starting the tester detached from the front end, and learning when it ends. How a process is
// started and watched is the platform's business: each platform has its own
// tester_process_<platform>.cpp, which the build picks, defining StartTester and Watch.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>

namespace zentrope {

// A started tester. It runs in a session of its own, so it outlives the front end and its
// terminal; this object only watches it and never stops it, not even when destroyed.
class TesterProcess : public QObject {
    Q_OBJECT
public:
    TesterProcess(qint64 pid, QDateTime startedAt);
    ~TesterProcess() override;

    qint64 processId() const { return pid_; }
    QDateTime startedAt() const { return startedAt_; }
    bool hasEnded() const { return ended_; }

    // Runs a local event loop until the tester has ended, so that windows keep painting and
    // timers keep firing; what input reaches the windows meanwhile is the caller's choice.
    void waitForEnd();

signals:
    void ended();

private:
    // The platform's watch on the process; it calls noteEnded once the process has ended.
    class Watch;
    void noteEnded();

    qint64 pid_;
    QDateTime startedAt_;
    bool ended_ = false;
    std::unique_ptr<Watch> watch_;
};

struct TesterStart {
    std::unique_ptr<TesterProcess> process; // null when nothing was started
    QString error;                          // the system's own text for the failure
};

// Starts `executable` with `argument` as its only argument, in `workingFolder` (empty: the
// current folder). A relative executable is taken from the current folder, never from PATH.
TesterStart StartTester(const QString& executable, const QString& argument,
                        const QString& workingFolder);

} // namespace zentrope
