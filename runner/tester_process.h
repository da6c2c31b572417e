// Starting the tester detached from the front end, and learning when it ends.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;
class QTimer;

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
    void watchWithPidfd(int pidfd);
    void watchWithTimer();
    void reapIfEnded();

    qint64 pid_;
    QDateTime startedAt_;
    bool ended_ = false;
    int pidfd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* poll_ = nullptr;
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
