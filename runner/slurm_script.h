// The batch script of a run on a Slurm cluster: one job array, one task per shard, each
// running the tester on its share of the run's sequences.
#pragma once

#include <QString>
#include <QStringList>

namespace zentrope {

// What the user chooses for the cluster; empty texts and 0 leave Slurm's defaults.
struct SlurmSettings {
    QString commandPrefix; // runs Slurm's commands elsewhere, e.g. "ssh HOST"; empty: here
    QString partition;
    QString timeLimit; // as sbatch takes it: "MM", "HH:MM:SS", "D-HH"
    int cpusPerTask = 0;
    QString memory; // per task, as sbatch takes it: "4G"
    QString account;
    QString extraOptions; // further sbatch options, split at white space: "--qos=long --nice"
};

// The run the shards make up. Paths must be the same on the submit host and on the nodes.
struct SlurmRun {
    QString folder; // the run's folder: script, shard logs and results
    QString testerPath;
    QString parameterFile;
    int shards = 1;    // K, the array's tasks 0 ... K - 1
    int sequences = 1; // the run's NT
};

QString ShardResultPath(const QString& folder, int index);
QString ShardLogPath(const QString& folder, int index);
QString BatchScriptPath(const QString& folder);

// One word for a POSIX shell, in single quotes where it needs them.
QString ShellQuoted(const QString& word);

// The script's text. Each task runs the tester in the tester's own folder, as a local run
// does, so relative input and output names mean the same.
QString SlurmBatchScript(const SlurmSettings& settings, const SlurmRun& run);

} // namespace zentrope
