#include "runner/slurm_job.h"

#include <QDir>
#include <QSaveFile>
#include <QSet>

namespace zentrope {
namespace {

const QString QueueFormat = QStringLiteral("%i|%T|%r");
const QString AccountingFields = QStringLiteral("JobID,State,ExitCode");

QString Indices(const QList<int>& indices) {
    QStringList words;
    for (const int index : indices)
        words.append(QString::number(index));
    return words.join(u',');
}

} // namespace

SlurmJob::SlurmJob(SlurmSettings settings, SlurmRun run, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), run_(std::move(run)) {
    for (int i = 0; i < run_.shards; ++i) {
        shards_.append(ShardStatus{});
        logs_.push_back(std::make_unique<LogTail>(ShardLogPath(run_.folder, i)));
    }
    timer_.setInterval(DefaultSlurmPollInterval);
    connect(&timer_, &QTimer::timeout, this, &SlurmJob::Poll);
}

void SlurmJob::Run(const QString& program, const QStringList& arguments,
                   std::function<void(const SlurmCommandResult&)> done) {
    RunSlurmCommand(this, settings_.commandPrefix, program, arguments, std::move(done));
}

QString SlurmJob::Failure(const SlurmCommandResult& result) const {
    if (result.NotFound())
        return tr("%1 was not found: the command \"%2\" could not be run (command prefix: "
                  "%3). %4")
            .arg(result.program, result.commandLine,
                 result.prefix.trimmed().isEmpty() ? tr("none")
                                                   : u'"' + result.prefix.trimmed() + u'"',
                 (result.err + result.out).trimmed());
    const QString said = (result.err + result.out).trimmed();
    return tr("%1 failed with exit code %2: %3")
        .arg(result.commandLine)
        .arg(result.exitCode)
        .arg(said);
}

void SlurmJob::Submit() {
    QSaveFile script(BatchScriptPath(run_.folder));
    if (!QDir().mkpath(run_.folder) || !script.open(QIODevice::WriteOnly) ||
        script.write(SlurmBatchScript(settings_, run_).toUtf8()) < 0 || !script.commit()) {
        emit Failed(tr("The batch script %1 could not be written").arg(script.fileName()));
        return;
    }
    Run(QStringLiteral("sbatch"), {QStringLiteral("--parsable"), script.fileName()},
        [this](const SlurmCommandResult& result) {
            const std::optional<QString> id =
                result.Succeeded() ? ParseSbatchJobId(result.out) : std::nullopt;
            if (!id) {
                emit Failed(Failure(result));
                return;
            }
            for (ShardStatus& shard : shards_)
                shard.jobId = *id;
            emit Submitted(*id);
            StartFollowing();
        });
}

void SlurmJob::Attach(const QStringList& shardJobIds) {
    for (int i = 0; i < shards_.size() && i < shardJobIds.size(); ++i)
        shards_[i].jobId = shardJobIds[i];
    StartFollowing();
}

void SlurmJob::Cancel() {
    if (JobIds().isEmpty())
        return;
    Run(QStringLiteral("scancel"), JobIds(), [this](const SlurmCommandResult& result) {
        if (!result.Succeeded())
            emit Failed(Failure(result));
        Poll();
    });
}

void SlurmJob::Resubmit(const QList<int>& indices) {
    const bool inRange = std::all_of(indices.begin(), indices.end(),
                                     [this](int i) { return i >= 0 && i < shards_.size(); });
    if (indices.isEmpty() || !inRange)
        return;
    Run(QStringLiteral("sbatch"),
        {QStringLiteral("--parsable"), QStringLiteral("--array=") + Indices(indices),
         BatchScriptPath(run_.folder)},
        [this, indices](const SlurmCommandResult& result) {
            const std::optional<QString> id =
                result.Succeeded() ? ParseSbatchJobId(result.out) : std::nullopt;
            if (!id) {
                emit Failed(Failure(result));
                return;
            }
            for (const int i : indices) {
                shards_[i] = ShardStatus{};
                shards_[i].jobId = *id;
                logs_[i] = std::make_unique<LogTail>(ShardLogPath(run_.folder, i));
            }
            emit Submitted(*id);
            emit ShardsChanged();
            StartFollowing();
        });
}

void SlurmJob::SetPollInterval(std::chrono::milliseconds interval) {
    timer_.setInterval(interval);
}

bool SlurmJob::AllEnded() const {
    return std::all_of(shards_.begin(), shards_.end(),
                       [](const ShardStatus& shard) { return IsFinal(shard.state); });
}

QList<int> SlurmJob::ShardsIn(ShardState state) const {
    QList<int> indices;
    for (int i = 0; i < shards_.size(); ++i)
        if (shards_[i].state == state)
            indices.append(i);
    return indices;
}

QStringList SlurmJob::LogLines(int index) const {
    return logs_[index]->LastLines();
}

QStringList SlurmJob::JobIds() const {
    QStringList ids;
    for (const ShardStatus& shard : shards_)
        if (!shard.jobId.isEmpty() && !ids.contains(shard.jobId))
            ids.append(shard.jobId);
    return ids;
}

void SlurmJob::StartFollowing() {
    timer_.start();
    Poll();
}

void SlurmJob::Poll() {
    if (polling_ || JobIds().isEmpty())
        return;
    polling_ = true;
    Run(QStringLiteral("squeue"),
        {QStringLiteral("-h"), QStringLiteral("-r"), QStringLiteral("-o"), QueueFormat,
         QStringLiteral("-j"), JobIds().join(u',')},
        [this](const SlurmCommandResult& result) { AfterQueue(result); });
}

// Shards still queued take squeue's word; the others have left the queue and are asked
// after.
void SlurmJob::AfterQueue(const SlurmCommandResult& result) {
    // squeue refuses a list of job ids that have all left the queue and been forgotten.
    if (!result.Succeeded() && !IsUnknownJob(result.err)) {
        emit Failed(Failure(result));
        FinishPoll();
        return;
    }
    const QList<SlurmTaskReport> queued = ParseSqueue(result.out);
    Apply(queued, false);
    QStringList gone;
    for (int i = 0; i < shards_.size(); ++i) {
        const ShardStatus& shard = shards_[i];
        const bool inQueue = std::any_of(queued.begin(), queued.end(), [&](const auto& task) {
            return task.arrayJobId == shard.jobId && task.index == i;
        });
        if (!inQueue && !IsFinal(shard.state) && !gone.contains(shard.jobId))
            gone.append(shard.jobId);
    }
    if (gone.isEmpty()) {
        FinishPoll();
        return;
    }
    AskFinished(gone);
}

// sacct where the cluster keeps accounting, else scontrol, one job at a time.
void SlurmJob::AskFinished(QStringList jobIds) {
    if (jobIds.isEmpty()) {
        FinishPoll();
        return;
    }
    const QString id = jobIds.takeFirst();
    if (accounting_.value_or(true)) {
        Run(QStringLiteral("sacct"),
            {QStringLiteral("-n"), QStringLiteral("-P"), QStringLiteral("-X"), QStringLiteral("-o"),
             AccountingFields, QStringLiteral("-j"), id},
            [this, id, jobIds](const SlurmCommandResult& result) {
                if (IsAccountingDisabled(result.out + result.err)) {
                    accounting_ = false;
                    AskFinished(QStringList{id} + jobIds);
                    return;
                }
                if (result.Succeeded()) {
                    accounting_ = true;
                    Apply(ParseSacct(result.out), true);
                } else {
                    emit Failed(Failure(result));
                }
                AskFinished(jobIds);
            });
        return;
    }
    Run(QStringLiteral("scontrol"),
        {QStringLiteral("show"), QStringLiteral("job"), QStringLiteral("-o"), id},
        [this, id, jobIds](const SlurmCommandResult& result) {
            if (result.Succeeded()) {
                Apply(ParseScontrolJobs(result.out), true);
            } else if (IsUnknownJob(result.err)) {
                for (ShardStatus& shard : shards_)
                    if (shard.jobId == id && !IsFinal(shard.state))
                        shard.state = ShardState::Vanished;
            } else {
                emit Failed(Failure(result));
            }
            AskFinished(jobIds);
        });
}

// Reports of tasks gone from the queue (`final`) may still say COMPLETING for a moment while
// Slurm settles them; such a shard is asked again at the next look.
void SlurmJob::Apply(const QList<SlurmTaskReport>& reports, bool final) {
    for (const SlurmTaskReport& task : reports) {
        if (task.index < 0 || task.index >= shards_.size())
            continue;
        ShardStatus& shard = shards_[task.index];
        // squeue may still list a task that has just ended, without its exit code: it is
        // asked after once it has left the queue.
        if (shard.jobId != task.arrayJobId || (!final && IsFinal(ShardStateOf(task.state))))
            continue;
        shard.slurmState = task.state;
        shard.state = ShardStateOf(task.state);
        shard.reason = task.reason;
        if (final)
            shard.exitCode = task.exitCode;
    }
}

void SlurmJob::FinishPoll() {
    for (int i = 0; i < shards_.size(); ++i) {
        logs_[i]->ReadNew(IsFinal(shards_[i].state) ? LogWriter::Ended : LogWriter::Running);
        if (const auto progress = logs_[i]->Progress()) {
            shards_[i].done = progress->done;
            shards_[i].total = progress->total;
        }
    }
    polling_ = false;
    emit ShardsChanged();
    if (AllEnded()) {
        timer_.stop();
        emit Ended();
    }
}

} // namespace zentrope
