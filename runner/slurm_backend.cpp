#include "runner/slurm_backend.h"

#include "results/shares/share_interim.h"
#include "runner/result_freshness.h"
#include "tester/merge_shares.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtConcurrent/QtConcurrentRun>

namespace zentrope {
namespace {

// An end the run's own code reports: 0 once merged, 1 when it gave no result.
constexpr int FailedCode = 1;

QString FolderOf(const RunRequest& request) {
    return QFileInfo(request.logPath).absolutePath();
}

// The shards read the parameter file the user chose, as a run here does, so the merged
// report names it too; one changed meanwhile gives shares of another run, which the merge
// refuses.
SlurmRun RunOf(const SlurmPlan& plan, const QString& folder, const RunRequest& request) {
    return {folder, request.executable, QFileInfo(request.parameterFile).absoluteFilePath(),
            plan.shards, plan.sequences};
}

QString StateText(const ShardStatus& shard) {
    if (shard.slurmState.isEmpty())
        return QStringLiteral("PENDING");
    return shard.exitCode.isEmpty() ? shard.slurmState
                                    : shard.slurmState + QStringLiteral(" exit ") + shard.exitCode;
}

QString ShardsText(const QList<int>& indices) {
    QStringList words;
    for (const int index : indices)
        words.append(QString::number(index));
    return words.join(QStringLiteral(", "));
}

void WriteSettings(QSettings& state, const SlurmPlan& plan) {
    const SlurmSettings& s = plan.settings;
    state.setValue("run/shards", plan.shards);
    state.setValue("run/sequences", plan.sequences);
    state.setValue("settings/prefix", s.commandPrefix);
    state.setValue("settings/partition", s.partition);
    state.setValue("settings/time", s.timeLimit);
    state.setValue("settings/cpus", s.cpusPerTask);
    state.setValue("settings/memory", s.memory);
    state.setValue("settings/account", s.account);
    state.setValue("settings/options", s.extraOptions);
}

SlurmPlan ReadPlan(const QSettings& state) {
    SlurmPlan plan;
    plan.shards = state.value("run/shards").toInt();
    plan.sequences = state.value("run/sequences").toInt();
    SlurmSettings& s = plan.settings;
    s.commandPrefix = state.value("settings/prefix").toString();
    s.partition = state.value("settings/partition").toString();
    s.timeLimit = state.value("settings/time").toString();
    s.cpusPerTask = state.value("settings/cpus").toInt();
    s.memory = state.value("settings/memory").toString();
    s.account = state.value("settings/account").toString();
    s.extraOptions = state.value("settings/options").toString();
    return plan;
}

QString StatePath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(SlurmStateName));
}

} // namespace

SlurmBackend::SlurmBackend(const SlurmPlan& plan, const RunRequest& request,
                           const QDateTime& startedAt)
    : plan_(plan), folder_(FolderOf(request)), resultPath_(request.resultPath),
      logPath_(request.logPath), startedAt_(startedAt),
      job_(plan.settings, RunOf(plan, folder_, request)), log_(request.logPath) {
    log_.open(QIODevice::WriteOnly | QIODevice::Append);
    connect(&job_, &SlurmJob::submitted, this, [this](const QString& jobId) {
        submittedOnce_ = true;
        resubmitting_ = false;
        log(QStringLiteral("Submitted batch job %1").arg(jobId));
        saveState();
        emit identityChanged();
    });
    connect(&job_, &SlurmJob::failed, this, [this](const QString& message) {
        log(message);
        if (!submittedOnce_) {
            finish(TesterEnd{false, false, FailedCode}, message);
        } else if (resubmitting_) {
            resubmitting_ = false;
            note_ = message;
            decide();
        }
    });
    connect(&job_, &SlurmJob::shardsChanged, this, &SlurmBackend::afterLook);
    connect(&merge_, &QFutureWatcher<std::string>::finished, this, [this] {
        const std::string problem = merge_.result();
        if (problem.empty()) {
            log(QStringLiteral("Merged the shards' results into %1")
                    .arg(QString::fromLocal8Bit(resultPath_)));
            finish(TesterEnd{}, QString());
        } else {
            const QString text = tr("The shards' results could not be merged: %1")
                                     .arg(QString::fromLocal8Bit(problem));
            log(text);
            finish(TesterEnd{false, false, FailedCode}, text);
        }
    });
}

void SlurmBackend::submit() {
    QSettings state(StatePath(folder_), QSettings::IniFormat);
    WriteSettings(state, plan_);
    state.setValue("run/tester", job_.run().testerPath);
    state.setValue("run/parameters", job_.run().parameterFile);
    state.setValue("run/result", QString::fromLocal8Bit(resultPath_));
    state.sync();
    job_.submit();
}

void SlurmBackend::attach(const QStringList& shardJobIds) {
    submittedOnce_ = true;
    job_.attach(shardJobIds);
}

BackendIdentity SlurmBackend::identity() const {
    QStringList ids;
    for (const ShardStatus& shard : job_.shards())
        if (!shard.jobId.isEmpty() && !ids.contains(shard.jobId))
            ids.append(shard.jobId);
    return {SlurmBackendName, ids.join(u' ')};
}

void SlurmBackend::cancel() {
    if (ended_ || cancelling_)
        return;
    cancelling_ = true;
    awaiting_ = false;
    if (!submittedOnce_ || job_.allEnded()) {
        finish(TesterEnd{true, false, 0}, QString());
        return;
    }
    log(QStringLiteral("Cancelling the shards"));
    job_.cancel();
}

bool SlurmBackend::hasResult(int index) const {
    const ShardState state = job_.shards()[index].state;
    if (state != ShardState::Completed && state != ShardState::Vanished)
        return false;
    const std::string path = QFile::encodeName(ShardResultPath(folder_, index)).toStdString();
    return CheckResultFreshness(path, startedAt_) == ResultFreshness::Written;
}

QList<int> SlurmBackend::shardsWithoutResult() const {
    QList<int> missing;
    for (int i = 0; i < job_.shards().size(); ++i)
        if (IsFinal(job_.shards()[i].state) && !hasResult(i))
            missing.append(i);
    return missing;
}

void SlurmBackend::resubmitFailed() {
    const QList<int> shards = shardsWithoutResult();
    if (!awaiting_ || shards.isEmpty())
        return;
    awaiting_ = false;
    resubmitting_ = true;
    note_.clear();
    log(QStringLiteral("Submitting shards %1 again").arg(ShardsText(shards)));
    job_.resubmit(shards);
    emit shardsChanged();
}

void SlurmBackend::afterLook() {
    if (ended_)
        return;
    logShardChanges();
    logProgress();
    extendInterim();
    saveState();
    if (job_.allEnded() && !resubmitting_)
        decide();
    emit shardsChanged();
}

void SlurmBackend::logShardChanges() {
    const QList<ShardStatus>& shards = job_.shards();
    loggedStates_.resize(shards.size());
    for (int i = 0; i < shards.size(); ++i) {
        const QString text = StateText(shards[i]);
        if (text == loggedStates_[i])
            continue;
        loggedStates_[i] = text;
        const ShardRange range = ShardRangeOf(i, plan_.shards, plan_.sequences);
        log(QStringLiteral("Shard %1 (sequences %2 to %3): %4")
                .arg(i)
                .arg(range.first + 1)
                .arg(range.first + range.count)
                .arg(text));
    }
}

// The shards' progress adds up to the run's: a shard not yet started counts with the mean
// total of those that have.
void SlurmBackend::logProgress() {
    qint64 done = 0;
    qint64 known = 0;
    int started = 0;
    for (const ShardStatus& shard : job_.shards()) {
        if (shard.total <= 0)
            continue;
        done += shard.done;
        known += shard.total;
        ++started;
    }
    if (started == 0)
        return;
    const TesterProgress progress{done, known * plan_.shards / started};
    if (progress == loggedProgress_)
        return;
    loggedProgress_ = progress;
    log(QStringLiteral("Progress: %1 of %2").arg(progress.done).arg(progress.total));
}

// Shards join the partial result in sequence order, so it stays what a single run's partial
// result would be.
void SlurmBackend::extendInterim() {
    QFile partial(QFile::decodeName(QByteArray::fromStdString(resultPath_ + ".partial")));
    while (interimShards_ < plan_.shards && hasResult(interimShards_)) {
        QFile share(ShardResultPath(folder_, interimShards_));
        if (!share.open(QIODevice::ReadOnly))
            return;
        const std::string text =
            InterimShareText(share.readAll().toStdString(), interimShards_ == 0);
        const QIODevice::OpenMode mode =
            interimShards_ == 0 ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::Append;
        if (!partial.isOpen() && !partial.open(mode))
            return;
        if (partial.write(text.data(), qint64(text.size())) != qint64(text.size()))
            return;
        ++interimShards_;
    }
}

void SlurmBackend::saveState() const {
    QSettings state(StatePath(folder_), QSettings::IniFormat);
    QStringList jobs;
    QStringList states;
    for (const ShardStatus& shard : job_.shards()) {
        jobs.append(shard.jobId);
        states.append(StateText(shard));
    }
    state.setValue("shards/jobs", jobs);
    state.setValue("shards/states", states);
    state.setValue("run/ended", ended_);
}

// Every shard has ended.
void SlurmBackend::decide() {
    if (cancelling_) {
        finish(TesterEnd{true, false, 0}, QString());
        return;
    }
    const QList<int> missing = shardsWithoutResult();
    if (missing.isEmpty()) {
        startMerge();
        return;
    }
    QList<int> unshared;
    for (const int i : missing)
        if (job_.shards()[i].state == ShardState::Completed)
            unshared.append(i);
    if (!unshared.isEmpty())
        note_ = tr("Shard %1 completed, but its result %2 is not in the run's folder: the "
                   "folder is not on a file system that the cluster's nodes share with this "
                   "computer.")
                    .arg(unshared.front())
                    .arg(ShardResultPath(folder_, unshared.front()));
    else if (note_.isEmpty())
        note_ = tr("Shards %1 ended without a result. Submit them again, or cancel the run.")
                    .arg(ShardsText(missing));
    if (!awaiting_)
        log(note_);
    awaiting_ = true;
}

void SlurmBackend::startMerge() {
    if (merge_.isRunning())
        return;
    std::vector<std::string> shares;
    for (int i = 0; i < plan_.shards; ++i)
        shares.push_back(QFile::encodeName(ShardResultPath(folder_, i)).toStdString());
    log(QStringLiteral("Merging the shards' results"));
    merge_.setFuture(
        QtConcurrent::run([shares, out = resultPath_] { return MergeShares(shares, out); }));
}

void SlurmBackend::finish(const TesterEnd& end, const QString& failure) {
    if (ended_)
        return;
    ended_ = true;
    awaiting_ = false;
    end_ = end;
    failure_ = failure;
    QFile::remove(QFile::decodeName(QByteArray::fromStdString(resultPath_ + ".partial")));
    log(end.cancelled ? QStringLiteral("The run was cancelled")
                      : QStringLiteral("The run has ended"));
    saveState();
    emit shardsChanged();
    emit ended();
}

void SlurmBackend::log(const QString& line) {
    log_.write((line + u'\n').toUtf8());
    log_.flush();
}

BackendKind SlurmBackendKind(const std::optional<SlurmPlan>& plan) {
    return BackendKind{
        SlurmBackendName,
        [plan](const RunRequest& request) {
            if (!plan)
                return BackendStart{nullptr, QObject::tr("A run on a Slurm cluster needs its "
                                                         "number of shards and settings.")};
            if (request.logPath.isEmpty())
                return BackendStart{nullptr, QObject::tr("A run on a Slurm cluster needs a "
                                                         "folder of its own among the records "
                                                         "of runs, and none could be made.")};
            auto backend =
                std::make_unique<SlurmBackend>(*plan, request, QDateTime::currentDateTimeUtc());
            backend->submit();
            return BackendStart{std::move(backend), QString()};
        },
        // Only the cluster knows, and asking it would hold the caller up: a run on it counts
        // as going until a window that follows it sees its end.
        [](const BackendIdentity&) { return true; },
        [](const BackendIdentity&, const RunRequest& request,
           const QDateTime& startedAt) -> std::unique_ptr<RunBackend> {
            const QString path = StatePath(FolderOf(request));
            if (!QFile::exists(path))
                return nullptr;
            const QSettings state(path, QSettings::IniFormat);
            const SlurmPlan plan = ReadPlan(state);
            if (state.value("run/ended").toBool() || plan.shards < 1)
                return nullptr;
            RunRequest found = request;
            found.executable = state.value("run/tester").toString();
            found.parameterFile = state.value("run/parameters").toString();
            auto backend = std::make_unique<SlurmBackend>(plan, found, startedAt.toUTC());
            backend->attach(state.value("shards/jobs").toStringList());
            return backend;
        }};
}

} // namespace zentrope
