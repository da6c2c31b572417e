#include "runner/local_backend.h"

namespace zentrope {
namespace {

// A found process is not our child: nothing tells of its end but looking.
constexpr int FoundPollMs = 1000;

struct LocalIdentity {
    qint64 pid = 0;
    std::optional<quint64> startTime;
};

std::optional<LocalIdentity> ParseIdentity(const BackendIdentity& identity) {
    const QStringList parts = identity.id.split(' ', Qt::SkipEmptyParts);
    bool pidOk = false;
    LocalIdentity parsed{parts.value(0).toLongLong(&pidOk), std::nullopt};
    if (!pidOk || parsed.pid <= 0 || parts.size() > 2)
        return std::nullopt;
    if (parts.size() == 2) {
        bool timeOk = false;
        parsed.startTime = parts[1].toULongLong(&timeOk);
        if (!timeOk)
            return std::nullopt;
    }
    return parsed;
}

} // namespace

QString LocalIdentityText(qint64 pid, std::optional<quint64> startTime) {
    return startTime ? QStringLiteral("%1 %2").arg(pid).arg(*startTime) : QString::number(pid);
}

bool LocalProcessGoing(const BackendIdentity& identity) {
    const std::optional<LocalIdentity> parsed = ParseIdentity(identity);
    if (!parsed)
        return false;
    if (!parsed->startTime) // nothing better known: an id in use errs on the side of waiting
        return ProcessExists(parsed->pid);
    return ProcessStartTime(parsed->pid) == parsed->startTime;
}

LocalBackend::LocalBackend(std::unique_ptr<TesterProcess> process, const RunRequest& request)
    : process_(std::move(process)),
      pid_(process_->ProcessId()), identity_{LocalBackendName,
                                             LocalIdentityText(pid_, ProcessStartTime(pid_))},
      startedAt_(process_->StartedAt()), resultPath_(request.resultPath),
      logPath_(request.logPath) {
    connect(process_.get(), &TesterProcess::Ended, this, &RunBackend::Ended);
}

LocalBackend::LocalBackend(const BackendIdentity& identity, const RunRequest& request,
                           const QDateTime& startedAt)
    : pid_(ParseIdentity(identity).value_or(LocalIdentity{}).pid), identity_(identity),
      startedAt_(startedAt), resultPath_(request.resultPath), logPath_(request.logPath) {
    connect(&poll_, &QTimer::timeout, this, &LocalBackend::PollFoundProcess);
    poll_.start(FoundPollMs);
    force_.setSingleShot(true);
    connect(&force_, &QTimer::timeout, this, [this] {
        if (LocalProcessGoing(identity_))
            EndProcessGroup(pid_, true);
    });
}

void LocalBackend::PollFoundProcess() {
    if (foundEnded_ || LocalProcessGoing(identity_))
        return;
    foundEnded_ = true;
    poll_.stop();
    force_.stop();
    emit Ended();
}

void LocalBackend::Cancel() {
    if (process_) {
        process_->Cancel();
        return;
    }
    if (foundEnded_ || cancelled_)
        return;
    cancelled_ = true;
    // Checked just before: a process that took over the id is never signalled.
    if (LocalProcessGoing(identity_))
        EndProcessGroup(pid_, false);
    force_.start(DefaultCancelGrace);
}

bool LocalBackend::HasEnded() const {
    return process_ ? process_->HasEnded() : foundEnded_;
}

TesterEnd LocalBackend::End() const {
    if (process_)
        return process_->End();
    return TesterEnd{cancelled_, false, -1};
}

BackendKind LocalBackendKind() {
    return BackendKind{
        LocalBackendName,
        [](const RunRequest& request) {
            TesterStart start = StartTester(request.executable, request.parameterFile,
                                            request.workingFolder, request.logPath);
            if (!start.process)
                return BackendStart{nullptr, start.error};
            return BackendStart{std::make_unique<LocalBackend>(std::move(start.process), request),
                                QString()};
        },
        LocalProcessGoing,
        [](const BackendIdentity& identity, const RunRequest& request,
           const QDateTime& startedAt) -> std::unique_ptr<RunBackend> {
            if (!LocalProcessGoing(identity))
                return nullptr;
            return std::make_unique<LocalBackend>(identity, request, startedAt);
        }};
}

} // namespace zentrope
