// Starting, watching and signalling the tester on POSIX systems: posix_spawn, a process
// descriptor, waitpid and signals to the tester's process group.
#include "runner/tester_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
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

TesterEnd EndFromStatus(int status) {
    TesterEnd end;
    end.signalled = WIFSIGNALED(status);
    end.code = end.signalled ? WTERMSIG(status) : WEXITSTATUS(status);
    return end;
}

// The log, opened here so that a log that cannot be made is told apart from a tester that
// cannot be started. Appending keeps the two streams, which share it, from overwriting
// each other.
class LogDescriptor {
public:
    explicit LogDescriptor(const QString& path) {
        if (!path.isEmpty())
            fd_ = ::open(QFile::encodeName(path).constData(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    }
    ~LogDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    LogDescriptor(const LogDescriptor&) = delete;
    LogDescriptor& operator=(const LogDescriptor&) = delete;

    int Fd() const { return fd_; }

private:
    int fd_ = -1;
};

// The child starts with default signal handling and an empty mask, whatever the front end
// set up for itself, and leads a session of its own; with a log, its output goes there and
// its input is empty.
struct SpawnSettings {
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;

    SpawnSettings(const QByteArray& folder, int logFd) {
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
        if (logFd >= 0) {
            posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
            posix_spawn_file_actions_adddup2(&actions, logFd, STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&actions, logFd, STDERR_FILENO);
        }
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
                             [this] { ReapIfEnded(); });
        } else {
            poll_ = std::make_unique<QTimer>();
            QObject::connect(poll_.get(), &QTimer::timeout, &owner_, [this] { ReapIfEnded(); });
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
    void ReapIfEnded() {
        int status = 0;
        const pid_t result = ::waitpid(static_cast<pid_t>(owner_.pid_), &status, WNOHANG);
        if (result == 0 || (result < 0 && errno == EINTR))
            return;
        if (notifier_)
            notifier_->setEnabled(false);
        if (poll_)
            poll_->stop();
        // Without a status (someone else collected it), the end must not pass for a success.
        owner_.NoteEnded(result > 0 ? EndFromStatus(status) : TesterEnd{false, false, -1});
    }

    TesterProcess& owner_;
    int pidfd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QTimer> poll_;
};

TesterProcess::TesterProcess(qint64 pid, QDateTime startedAt)
    : pid_(pid), startedAt_(std::move(startedAt)), watch_(std::make_unique<Watch>(*this)) {}

TesterProcess::~TesterProcess() = default;

void TesterProcess::AskToEnd() {
    EndProcessGroup(pid_, false);
}

void TesterProcess::ForceEnd() {
    EndProcessGroup(pid_, true);
}

// The tester leads its own process group (its session), so the group's number is its own.
void EndProcessGroup(qint64 pid, bool force) {
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), force ? SIGKILL : SIGTERM);
}

// Field 22 of /proc/<pid>/stat; the fields are counted after the command's name, which ends
// at the line's last parenthesis and may hold spaces and parentheses itself.
std::optional<quint64> ProcessStartTime(qint64 pid) {
    if (pid <= 0)
        return std::nullopt;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return std::nullopt;
    // After the name: state (field 3) ... starttime (field 22).
    constexpr int StartTimeAfterName = 22 - 3;
    const QList<QByteArray> fields = line.mid(nameEnd + 1).simplified().split(' ');
    // A process that has ended but whose parent has not collected it ("Z") runs no more.
    if (fields.size() <= StartTimeAfterName || fields[0] == "Z")
        return std::nullopt;
    bool ok = false;
    const quint64 ticks = fields[StartTimeAfterName].toULongLong(&ok);
    return ok ? std::optional<quint64>(ticks) : std::nullopt;
}

TesterStart StartTester(const QString& executable, const QString& argument,
                        const QString& workingFolder, const QString& logFile) {
    // Resolved here because the child changes folder before it looks for the program.
    const QByteArray program = QFile::encodeName(QFileInfo(executable).absoluteFilePath());
    const QByteArray folder = workingFolder.isEmpty()
                                  ? QByteArray()
                                  : QFile::encodeName(QDir(workingFolder).absolutePath());
    QByteArray parameter = QFile::encodeName(argument);
    char* argv[] = {const_cast<char*>(program.constData()), parameter.data(), nullptr};

    const LogDescriptor log(logFile);
    if (!logFile.isEmpty() && log.Fd() < 0)
        return {nullptr, QStringLiteral("%1: %2").arg(logFile, SystemMessage(errno))};
    SpawnSettings settings(folder, log.Fd());
    const QDateTime startedAt = QDateTime::currentDateTimeUtc();
    pid_t pid = 0;
    int error = posix_spawn(&pid, program.constData(), &settings.actions, &settings.attributes,
                            argv, environ);
    if (error != 0)
        return {nullptr, SystemMessage(error)};
    return {std::make_unique<TesterProcess>(pid, startedAt), QString()};
}

bool ProcessExists(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// Where /proc shows each process's open files; elsewhere nothing is found.
std::optional<qint64> ProcessWritingTo(const QString& file) {
    const QString wanted = QFileInfo(file).canonicalFilePath();
    if (wanted.isEmpty())
        return std::nullopt;
    const QDir processes(QStringLiteral("/proc"));
    for (const QString& entry : processes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid &&
            QFileInfo(processes.filePath(entry + QStringLiteral("/fd/1"))).symLinkTarget() ==
                wanted)
            return pid;
    }
    return std::nullopt;
}

} // namespace zentrope
