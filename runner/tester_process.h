// Starting the tester detached from the front end, learning when and how it ends, and ending it
// on request. How a process is started, watched and signalled is the platform's business: each
// platform has its own tester_process_<platform>.cpp, which the build picks, defining
// StartTester, Watch, askToEnd and forceEnd.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

namespace zentrope {

// How a tester ended.
struct TesterEnd {
    bool cancelled = false; // it ended after cancel() had asked it to
    bool signalled = false; // a signal ended it; `code` is then the signal's number
    int code = 0;           // its exit code, or the signal's number; -1 when the system lost it
    bool Succeeded() const { return !cancelled && !signalled && code == 0; }
};

// Long enough for a tester to close its files, short enough for a user who pressed Cancel.
inline constexpr std::chrono::milliseconds DefaultCancelGrace{3000};

// A started tester. It runs in a session of its own, so it outlives the front end and its
// terminal; this object watches it and stops it only when cancel() is called, not even when
// destroyed.
class TesterProcess : public QObject {
    Q_OBJECT
public:
    TesterProcess(qint64 pid, QDateTime startedAt);
    ~TesterProcess() override;

    qint64 ProcessId() const { return pid_; }
    QDateTime StartedAt() const { return startedAt_; }
    bool HasEnded() const { return ended_; }
    // Meaningful once hasEnded().
    TesterEnd End() const { return end_; }

    // Runs a local event loop until the tester has ended, so that windows keep painting and
    // timers keep firing; what input reaches the windows meanwhile is the caller's choice.
    void WaitForEnd();

    // Asks the tester and every process it started to end, and forces them after `grace`
    // unless the tester has ended by then. Returns at once; ended() follows. The forced end
    // needs this object and its thread's event loop to live through the grace period.
    void Cancel(std::chrono::milliseconds grace = DefaultCancelGrace);

signals:
    void Ended();

private:
    // The platform's watch on the process; it calls noteEnded once the process has ended.
    class Watch;
    void NoteEnded(TesterEnd end);
    // The platform's polite and forced requests to the tester's process group.
    void AskToEnd();
    void ForceEnd();

    qint64 pid_;
    QDateTime startedAt_;
    bool ended_ = false;
    bool cancelled_ = false;
    TesterEnd end_;
    QTimer forceTimer_;
    std::unique_ptr<Watch> watch_;
};

struct TesterStart {
    std::unique_ptr<TesterProcess> process; // null when nothing was started
    QString error;                          // the system's own text for the failure
};

// Starts `executable` with `argument` as its only argument, in `workingFolder` (empty: the
// current folder). A relative executable is taken from the current folder, never from PATH.
// With a `logFile`, the tester's standard output and error both go to that file, made afresh,
// and it reads no input; without one they are the front end's own.
TesterStart StartTester(const QString& executable, const QString& argument,
                        const QString& workingFolder, const QString& logFile = QString());

// Whether a process of that id exists, as seen later about a tester left to run on its own. A
// process that has ended may give its id to a new one: true then errs on the side of waiting.
bool ProcessExists(qint64 pid);

// A running process whose standard output is `file`, as a tester writing its log is; nothing
// when none is, or the platform cannot tell.
std::optional<qint64> ProcessWritingTo(const QString& file);

// When the process of that id started, in the system's own units (on Linux, clock ticks since
// boot): with the id, it names one process for good. Nothing when there is no such process, it
// has ended (even if not yet collected by its parent) or the system does not tell.
std::optional<quint64> ProcessStartTime(qint64 pid);

// Asks the process group that the tester of that id leads to end; `force` ends it at once.
void EndProcessGroup(qint64 pid, bool force);

} // namespace zentrope
