// A run split into shards for a Slurm job array: which sequences each shard tests, and what
// Slurm says about it.
#pragma once

#include <QString>
#include <QStringView>

namespace zentrope {

// Shard i of K tests sequences floor(i·NT / K) ... floor((i + 1)·NT / K) - 1 (from 0), so the
// counts differ by at most one. The batch script computes the same in its shell.
struct ShardRange {
    int first = 0;
    int count = 0;
};
ShardRange ShardRangeOf(int index, int shards, int sequences);

// Vanished: gone from the queue while Slurm no longer knows its end (scontrol forgets a job
// after MinJobAge, 300 s by default, and the cluster keeps no accounting); its result file
// then says whether it completed.
enum class ShardState {
    Pending,
    Running,
    Completed,
    Failed,
    TimedOut,
    Cancelled,
    Vanished,
    Unknown
};

// Slurm's job state names (squeue %T, scontrol JobState, sacct State, which may add
// " by <uid>" to CANCELLED) mapped to the states a run shows. Unknown for names Slurm may
// add later; such a shard is not taken as ended.
ShardState ShardStateOf(QStringView slurmState);

bool IsFinal(ShardState state);

// What Slurm last said about one shard.
struct ShardStatus {
    QString jobId; // the array job that runs it: the first submission's, or a resubmission's
    ShardState state = ShardState::Pending;
    QString slurmState; // as Slurm wrote it, e.g. "FAILED", "CANCELLED by 0"
    QString exitCode;   // "code:signal", once known
    QString reason;     // squeue's or scontrol's Reason
    qint64 done = 0;    // from the shard's last "Progress: k of N" line
    qint64 total = 0;
};

} // namespace zentrope
