// Starting and watching the tester on POSIX systems: posix_spawn, a process descriptor and
// waitpid.
#include "runner/tester_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrope {
namespace {

// Used only where the kernel offers no process descriptors.
constexpr int PollIntervalMs = 50;

// Called directly: the C library of Debian 12 declares pidfd_open without C linkage.
int OpenPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

QString SystemMessage(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The child starts with default signal handling and an empty mask, whatever the front end
// set up for itself, and leads a session of its own.
struct SpawnSettings {
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;

    explicit SpawnSettings(const QByteArray& folder) {
        posix_spawnattr_init(&attributes);
        sigset_t set;
        sigfillset(&set);
        posix_spawnattr_setsigdefault(&attributes, &set);
        sigemptyset(&set);
        posix_spawnattr_setsigmask(&attributes, &set);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF |
                                                  POSIX_SPAWN_SETSIGMASK);
        posix_spawn_file_actions_init(&actions);
        if (!folder.isEmpty())
            posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
};

} // namespace

// Learns of the end through a process descriptor, or by polling where the kernel has none,
// and collects the tester's status, which keeps it from lingering as a zombie.
class TesterProcess::Watch {
public:
    explicit Watch(TesterProcess& owner) : owner_(owner) {
        pidfd_ = OpenPidfd(static_cast<pid_t>(owner_.pid_));
        if (pidfd_ >= 0) {
            notifier_ = std::make_unique<QSocketNotifier>(pidfd_, QSocketNotifier::Read);
            QObject::connect(notifier_.get(), &QSocketNotifier::activated, &owner_,
                             [this] { reapIfEnded(); });
        } else {
            poll_ = std::make_unique<QTimer>();
            QObject::connect(poll_.get(), &QTimer::timeout, &owner_, [this] { reapIfEnded(); });
            poll_->start(PollIntervalMs);
        }
    }
    ~Watch() {
        notifier_.reset();
        if (pidfd_ >= 0)
            ::close(pidfd_);
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    void reapIfEnded() {
        int status = 0;
        const pid_t result = ::waitpid(static_cast<pid_t>(owner_.pid_), &status, WNOHANG);
        if (result == 0 || (result < 0 && errno == EINTR))
            return;
        if (notifier_)
            notifier_->setEnabled(false);
        if (poll_)
            poll_->stop();
        owner_.noteEnded();
    }

    TesterProcess& owner_;
    int pidfd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QTimer> poll_;
};

TesterProcess::TesterProcess(qint64 pid, QDateTime startedAt)
    : pid_(pid), startedAt_(std::move(startedAt)), watch_(std::make_unique<Watch>(*this)) {}

TesterProcess::~TesterProcess() = default;

TesterStart StartTester(const QString& executable, const QString& argument,
                        const QString& workingFolder) {
    // Resolved here because the child changes folder before it looks for the program.
    const QByteArray program = QFile::encodeName(QFileInfo(executable).absoluteFilePath());
    const QByteArray folder = workingFolder.isEmpty()
                                  ? QByteArray()
                                  : QFile::encodeName(QDir(workingFolder).absolutePath());
    QByteArray parameter = QFile::encodeName(argument);
    char* argv[] = {const_cast<char*>(program.constData()), parameter.data(), nullptr};

    SpawnSettings settings(folder);
    const QDateTime startedAt = QDateTime::currentDateTimeUtc();
    pid_t pid = 0;
    int error = posix_spawn(&pid, program.constData(), &settings.actions, &settings.attributes,
                            argv, environ);
    if (error != 0)
        return {nullptr, SystemMessage(error)};
    return {std::make_unique<TesterProcess>(pid, startedAt), QString()};
}

} // namespace zentrope
