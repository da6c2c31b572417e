// Slurm's command output as recorded on a one-node Slurm 22.05 cluster (tests/runner/data/slurm)
// read into shard states; the batch script's shell arithmetic run for real; the command line
// a prefix gets, run through a shell as ssh would.
#include "runner/slurm_command.h"
#include "runner/slurm_job.h"
#include "runner/slurm_parse.h"
#include "runner/slurm_script.h"
#include "runner/slurm_shards.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zentrope;

namespace {

QString Recorded(const QString& name) {
    QFile file(QStringLiteral(SLURM_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing recorded output %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

SlurmTaskReport Task(const QString& job, int index, const QString& state,
                     const QString& exitCode = {}, const QString& reason = {}) {
    return {job, index, state, exitCode, reason};
}

} // namespace

class SlurmParseTest : public QObject {
    Q_OBJECT
private slots:
    void SbatchGivesTheJobIdWithOrWithoutCluster() {
        QCOMPARE(ParseSbatchJobId(u"1234\n"), QString("1234"));
        QCOMPARE(ParseSbatchJobId(u"77;zentrope\n"), QString("77"));
        // A warning before the id does not hide it; no id at all gives none.
        QCOMPARE(ParseSbatchJobId(u"sbatch: warning: x\n81\n"), QString("81"));
        QVERIFY(!ParseSbatchJobId(u"sbatch: error: invalid partition specified: x\n"));
        QVERIFY(!ParseSbatchJobId(u""));
    }

    void SqueueListsSplitAndUnsplitArrayTasks() {
        const QList<SlurmTaskReport> split = ParseSqueue(Recorded("squeue_split.txt"));
        QCOMPARE(split, (QList<SlurmTaskReport>{Task("8", 1, "PENDING", {}, "JobHeldUser"),
                                                Task("8", 2, "PENDING", {}, "JobHeldUser"),
                                                Task("8", 3, "PENDING", {}, "JobHeldUser")}));
        QCOMPARE(ParseSqueue(Recorded("squeue_unsplit.txt")), split);
        QCOMPARE(ParseSqueue(u"5_2|RUNNING|None\n12|RUNNING|None\n9_[0-1,4%2]|PENDING|Priority\n"),
                 (QList<SlurmTaskReport>{Task("5", 2, "RUNNING", {}, "None"),
                                         Task("9", 0, "PENDING", {}, "Priority"),
                                         Task("9", 1, "PENDING", {}, "Priority"),
                                         Task("9", 4, "PENDING", {}, "Priority")}));
    }

    void ScontrolGivesStateAndExitCodeOfEndedTasks() {
        // Task 0 completed, task 1 exited with 4, task 2 was cancelled while running.
        const QList<SlurmTaskReport> ended =
            ParseScontrolJobs(Recorded("scontrol_show_job_array.txt"));
        QCOMPARE(ended, (QList<SlurmTaskReport>{Task("5", 2, "CANCELLED", "0:15", "None"),
                                                Task("5", 1, "FAILED", "4:0", "NonZeroExitCode"),
                                                Task("5", 0, "COMPLETED", "0:0", "None")}));
        // A held array's record still names several tasks at once.
        const QList<SlurmTaskReport> held =
            ParseScontrolJobs(Recorded("scontrol_show_job_held.txt"));
        QCOMPARE(held.size(), 4);
        QCOMPARE(held[0], Task("8", 1, "PENDING", "0:0", "JobHeldUser"));
        QCOMPARE(held[2].index, 3);
        QCOMPARE(held[3], Task("8", 0, "COMPLETED", "0:0", "None"));
    }

    void SacctStatesAndAccountingDisabled() {
        QVERIFY(IsAccountingDisabled(Recorded("sacct_disabled.txt")));
        QVERIFY(ParseSacct(Recorded("sacct_disabled.txt")).isEmpty());
        // sacct -P as documented: JobID|State|ExitCode, CANCELLED with the user who did it.
        QCOMPARE(ParseSacct(u"31_0|COMPLETED|0:0\n31_1|CANCELLED by 0|0:15\n31_2|TIMEOUT|0:0\n"),
                 (QList<SlurmTaskReport>{Task("31", 0, "COMPLETED", "0:0"),
                                         Task("31", 1, "CANCELLED by 0", "0:15"),
                                         Task("31", 2, "TIMEOUT", "0:0")}));
        QVERIFY(IsUnknownJob(u"slurm_load_jobs error: Invalid job id specified\n"));
        QVERIFY(!IsAccountingDisabled(u"31_0|COMPLETED|0:0\n"));
    }

    void SlurmStatesMapToShardStates() {
        QCOMPARE(ShardStateOf(u"PENDING"), ShardState::Pending);
        QCOMPARE(ShardStateOf(u"COMPLETING"), ShardState::Running);
        QCOMPARE(ShardStateOf(u"CANCELLED by 0"), ShardState::Cancelled);
        QCOMPARE(ShardStateOf(u"OUT_OF_MEMORY"), ShardState::Failed);
        QCOMPARE(ShardStateOf(u"NODE_FAIL"), ShardState::Failed);
        QCOMPARE(ShardStateOf(u"TIMEOUT"), ShardState::TimedOut);
        QCOMPARE(ShardStateOf(u"SOMETHING_NEW"), ShardState::Unknown);
        QVERIFY(!IsFinal(ShardState::Unknown));
        QVERIFY(!IsFinal(ShardState::Running));
        QVERIFY(IsFinal(ShardState::Vanished));
    }

    // The script's own shell arithmetic must give every sequence to exactly one task, as
    // ShardRangeOf says; a fake tester prints the arguments each task passes.
    void ScriptTasksCoverTheRunOnceInTheTestersFolder() {
        QTemporaryDir dir;
        const QString tester = dir.filePath("bin dir/tester");
        QVERIFY(QDir().mkpath(dir.filePath("bin dir")));
        QFile fake(tester);
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("#!/bin/sh\necho \"$PWD|$1|$2|$3|$4|$5\"\n");
        fake.close();
        fake.setPermissions(fake.permissions() | QFile::ExeOwner);
        SlurmSettings settings;
        settings.partition = "main";
        settings.cpusPerTask = 2;
        settings.extraOptions = "  --qos=long\t--nice ";
        const SlurmRun run{dir.filePath("run"), tester, "/data/para's file", 7, 23};
        const QString script = SlurmBatchScript(settings, run);
        QVERIFY(script.contains("\n#SBATCH --array=0-6\n"));
        QVERIFY(script.contains("\n#SBATCH --partition=main\n#SBATCH --cpus-per-task=2\n"));
        QVERIFY(script.contains("\n#SBATCH --qos=long\n#SBATCH --nice\n"));
        QVERIFY(!script.contains("--account") && !script.contains("--mem"));
        int next = 0;
        for (int i = 0; i < run.shards; ++i) {
            QProcess bash;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("SLURM_ARRAY_TASK_ID", QString::number(i));
            bash.setProcessEnvironment(env);
            bash.start("bash", {"-c", script});
            QVERIFY(bash.waitForFinished());
            const QStringList fields =
                QString::fromUtf8(bash.readAllStandardOutput()).trimmed().split('|');
            const ShardRange range = ShardRangeOf(i, run.shards, run.sequences);
            QCOMPARE(range.first, next);
            QVERIFY(range.count == 3 || range.count == 4);
            QCOMPARE(fields,
                     (QStringList{dir.filePath("bin dir"), "/data/para's file", "--sequences",
                                  QString("%1:%2").arg(range.first).arg(range.count), "--result",
                                  ShardResultPath(run.folder, i)}));
            next += range.count;
        }
        QCOMPARE(next, run.sequences);
    }

    // A prefix that cannot be started is named in the message, with the command.
    void ACommandThatCannotStartIsReportedWithItsPrefix() {
        QTemporaryDir dir;
        SlurmSettings settings;
        settings.commandPrefix = dir.filePath("no-such-ssh") + " host";
        SlurmJob job(settings, {dir.filePath("run"), "/bin/true", "para", 2, 4});
        QSignalSpy failures(&job, &SlurmJob::Failed);
        job.Submit();
        QTRY_COMPARE(failures.size(), 1);
        const QString message = failures[0][0].toString();
        QVERIFY2(message.contains(dir.filePath("no-such-ssh") + " host sbatch --parsable"),
                 qPrintable(message));
        QVERIFY(QFile::exists(BatchScriptPath(dir.filePath("run")))); // written before sbatch
    }

    // ssh hands its words to a shell on the other side; "sh -c" does the same here.
    void PrefixedCommandsReachTheShellIntact() {
        QCOMPARE(SlurmCommandLine("", "squeue", {"-j", "5"}), (QStringList{"squeue", "-j", "5"}));
        const QStringList line =
            SlurmCommandLine("sh  -c", "printf", {"%s|", "a b", "it's", "$HOME"});
        QCOMPARE(line.mid(0, 2), (QStringList{"sh", "-c"}));
        QProcess shell;
        shell.start(line.front(), line.mid(1));
        QVERIFY(shell.waitForFinished());
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), QString("a b|it's|$HOME|"));
    }
};

QTEST_GUILESS_MAIN(SlurmParseTest)
#include "slurm_parse_test.moc"
