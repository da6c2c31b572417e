#include "runner/slurm_script.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace zentrope {

QString ShardResultPath(const QString& folder, int index) {
    return QDir(folder).filePath(QStringLiteral("shard-%1.txt").arg(index));
}

QString ShardLogPath(const QString& folder, int index) {
    return QDir(folder).filePath(QStringLiteral("shard-%1.log").arg(index));
}

QString BatchScriptPath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("shards.sbatch"));
}

QString ShellQuoted(const QString& word) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=,+@%-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    QString quoted = word;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString SlurmBatchScript(const SlurmSettings& settings, const SlurmRun& run) {
    QStringList lines = {QStringLiteral("#!/bin/bash"),
                         QStringLiteral("#SBATCH --job-name=zentrope"),
                         QStringLiteral("#SBATCH --array=0-%1").arg(run.shards - 1),
                         // %a: the array index, so a resubmitted shard writes the same log;
                         // quoted, which sbatch reads, for a folder with blanks.
                         QStringLiteral("#SBATCH --output=\"%1\"")
                             .arg(QDir(run.folder).filePath(QStringLiteral("shard-%a.log")))};
    const auto option = [&lines](const QString& name, const QString& value) {
        if (!value.trimmed().isEmpty())
            lines.append(QStringLiteral("#SBATCH --%1=%2").arg(name, value.trimmed()));
    };
    option(QStringLiteral("partition"), settings.partition);
    option(QStringLiteral("time"), settings.timeLimit);
    option(QStringLiteral("cpus-per-task"),
           settings.cpusPerTask > 0 ? QString::number(settings.cpusPerTask) : QString());
    option(QStringLiteral("mem"), settings.memory);
    option(QStringLiteral("account"), settings.account);
    for (const QString& extra : settings.extraOptions.split(
             QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        lines.append(QStringLiteral("#SBATCH ") + extra);
    const QString tester = QFileInfo(run.testerPath).absoluteFilePath();
    lines << QString()
          << QStringLiteral("# Task i of K tests sequences floor(i*NT/K) ... floor((i+1)*NT/K)-1.")
          << QStringLiteral("shards=%1").arg(run.shards)
          << QStringLiteral("sequences=%1").arg(run.sequences)
          << QStringLiteral("i=$SLURM_ARRAY_TASK_ID")
          << QStringLiteral("first=$(( i * sequences / shards ))")
          << QStringLiteral("count=$(( (i + 1) * sequences / shards - first ))")
          << QStringLiteral("cd %1 || exit 1").arg(ShellQuoted(QFileInfo(tester).absolutePath()))
          << QStringLiteral("exec %1 %2 --sequences \"$first:$count\" --result %3")
                 .arg(ShellQuoted(tester), ShellQuoted(run.parameterFile),
                      ShellQuoted(QDir(run.folder).filePath(QStringLiteral("shard-"))) +
                          QStringLiteral("\"$i\".txt"));
    return lines.join(u'\n') + u'\n';
}

} // namespace zentrope
