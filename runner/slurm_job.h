// A run's shards on a Slurm cluster: writes the batch script, submits it, follows every shard
// until it ends (squeue while queued or running, then sacct where the cluster keeps
// accounting, else scontrol), reads each shard's progress from its log, cancels, and submits
// chosen shards again. Every command runs without blocking, through the settings' prefix.
#pragma once

#include "runner/log_tail.h"
#include "runner/slurm_command.h"
#include "runner/slurm_parse.h"
#include "runner/slurm_script.h"
#include "runner/slurm_shards.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <memory>
#include <vector>

namespace zentrope {

inline constexpr std::chrono::milliseconds DefaultSlurmPollInterval{5000};

class SlurmJob : public QObject {
    Q_OBJECT
public:
    SlurmJob(SlurmSettings settings, SlurmRun run, QObject* parent = nullptr);

    // Writes the script into the run's folder and submits it; submitted() or failed() follow,
    // then shardsChanged() after every look at the cluster.
    void Submit();
    // Follows shards submitted earlier, e.g. a run picked up again from its record: the job
    // id each shard belongs to, in shard order.
    void Attach(const QStringList& shardJobIds);
    // scancel for every job the shards belong to; the cancelled states follow by polling.
    void Cancel();
    // Submits the given shards again as a new job array of those indices; nothing when an
    // index is not a shard's.
    void Resubmit(const QList<int>& indices);
    // Looks at the cluster now, and from then on every interval.
    void SetPollInterval(std::chrono::milliseconds interval);

    const SlurmRun& Run() const { return run_; }
    const QList<ShardStatus>& Shards() const { return shards_; }
    bool AllEnded() const;
    QList<int> ShardsIn(ShardState state) const;
    // The newest lines of a shard's log, oldest first.
    QStringList LogLines(int index) const;
    // None until sacct has been asked; then whether the cluster keeps accounting.
    std::optional<bool> Accounting() const { return accounting_; }

signals:
    void Submitted(const QString& jobId);
    void ShardsChanged();
    void Ended(); // every shard is in a final state
    // A command failed; the message names it and gives Slurm's own words.
    void Failed(const QString& message);

private:
    void Run(const QString& program, const QStringList& arguments,
             std::function<void(const SlurmCommandResult&)> done);
    void StartFollowing();
    void Poll();
    void AfterQueue(const SlurmCommandResult& result);
    void AskFinished(QStringList jobIds);
    void Apply(const QList<SlurmTaskReport>& reports, bool final);
    void FinishPoll();
    QStringList JobIds() const;
    QString Failure(const SlurmCommandResult& result) const;

    SlurmSettings settings_;
    SlurmRun run_;
    QList<ShardStatus> shards_;
    std::vector<std::unique_ptr<LogTail>> logs_;
    QTimer timer_;
    bool polling_ = false;
    std::optional<bool> accounting_;
};

} // namespace zentrope
