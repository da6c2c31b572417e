// Reading what Slurm's commands print. Pure functions on the text, so they are tested on
// recorded output.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace zentrope {

// One array task as a command reports it.
struct SlurmTaskReport {
    QString arrayJobId;
    int index = -1; // the array index (SLURM_ARRAY_TASK_ID)
    QString state;
    QString exitCode; // empty where the command does not say
    QString reason;
    bool operator==(const SlurmTaskReport&) const = default;
};

// `sbatch --parsable` prints "jobid" or "jobid;cluster".
std::optional<QString> ParseSbatchJobId(QStringView out);

// `squeue -h -r -o %i|%T|%r`: "123_4|RUNNING|None"; a pending array not yet split may still
// read "123_[0-3,7]|PENDING|...", which stands for each of its indices. Lines of jobs that
// are not array tasks are left out.
QList<SlurmTaskReport> ParseSqueue(QStringView text);

// `scontrol show job -o`: one line of Key=Value fields per task (ArrayJobId, ArrayTaskId,
// JobState, Reason, ExitCode).
QList<SlurmTaskReport> ParseScontrolJobs(QStringView text);

// `sacct -n -P -X -o JobID,State,ExitCode`: "123_4|FAILED|4:0", "123_2|CANCELLED by 0|0:15".
QList<SlurmTaskReport> ParseSacct(QStringView text);

// sacct's answer on a cluster without slurmdbd.
bool IsAccountingDisabled(QStringView text);

// The text Slurm gives when a job id is no longer known (scontrol after MinJobAge).
bool IsUnknownJob(QStringView text);

} // namespace zentrope
