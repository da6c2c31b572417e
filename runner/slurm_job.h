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
    void submit();
    // Follows shards submitted earlier, e.g. a run picked up again from its record: the job
    // id each shard belongs to, in shard order.
    void attach(const QStringList& shardJobIds);
    // scancel for every job the shards belong to; the cancelled states follow by polling.
    void cancel();
    // Submits the given shards again as a new job array of those indices; nothing when an
    // index is not a shard's.
    void resubmit(const QList<int>& indices);
    // Looks at the cluster now, and from then on every interval.
    void setPollInterval(std::chrono::milliseconds interval);

    const SlurmRun& run() const { return run_; }
    const QList<ShardStatus>& shards() const { return shards_; }
    bool allEnded() const;
    QList<int> shardsIn(ShardState state) const;
    // The newest lines of a shard's log, oldest first.
    QStringList logLines(int index) const;
    // None until sacct has been asked; then whether the cluster keeps accounting.
    std::optional<bool> accounting() const { return accounting_; }

signals:
    void submitted(const QString& jobId);
    void shardsChanged();
    void ended(); // every shard is in a final state
    // A command failed; the message names it and gives Slurm's own words.
    void failed(const QString& message);

private:
    void run(const QString& program, const QStringList& arguments,
             std::function<void(const SlurmCommandResult&)> done);
    void startFollowing();
    void poll();
    void afterQueue(const SlurmCommandResult& result);
    void askFinished(QStringList jobIds);
    void apply(const QList<SlurmTaskReport>& reports, bool final);
    void finishPoll();
    QStringList jobIds() const;
    QString failure(const SlurmCommandResult& result) const;

    SlurmSettings settings_;
    SlurmRun run_;
    QList<ShardStatus> shards_;
    std::vector<std::unique_ptr<LogTail>> logs_;
    QTimer timer_;
    bool polling_ = false;
    std::optional<bool> accounting_;
};

} // namespace zentrope
