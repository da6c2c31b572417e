// Runs through a real Slurm cluster (scripts/slurm-cluster start): shards of the default
// battery merge into the local run's file, a failed shard is reported with Slurm's state and
// its log and completes when submitted again, and scancel leaves every shard cancelled.
// Without a cluster the tests skip with the reason; as root in CI they fail instead.
#include "runner/slurm_job.h"
#include "tester/merge_shares.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zentrope;

namespace {

constexpr int SlurmTimeoutMs = 180000;

QString RunCommand(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

bool ClusterAnswers() {
    int code = -1;
    RunCommand("sinfo", {"-h"}, &code);
    return code == 0;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The default parameter file with NT sequences, the result in the folder and the given input.
QString WriteParameters(const QTemporaryDir& dir, int sequences, const QString& input = {}) {
    QString text = QString::fromUtf8(ReadAll(QStringLiteral(DEFAULTS_FILE)));
    text.replace(QRegularExpression("\nNT 50 "), QString("\nNT %1 ").arg(sequences));
    text.replace("InFile \"\"", "InFile \"" + input + "\"");
    text.replace("OutFile \"_Zentrope.txt\"", "OutFile \"" + dir.filePath("local.txt") + "\"");
    const QString path = dir.filePath("para");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The whole run on this computer, in the tester's folder as the window starts it.
QByteArray LocalRun(const QString& para, const QTemporaryDir& dir) {
    QProcess tester;
    tester.setWorkingDirectory(QFileInfo(QStringLiteral(TESTER_PATH)).absolutePath());
    tester.start(QStringLiteral(TESTER_PATH), {para});
    tester.waitForFinished(SlurmTimeoutMs);
    return ReadAll(dir.filePath("local.txt"));
}

SlurmRun RunIn(const QTemporaryDir& dir, const QString& para, int shards, int sequences) {
    return {dir.filePath("run"), QStringLiteral(TESTER_PATH), para, shards, sequences};
}

QString Merged(const SlurmJob& job) {
    QStringList shares;
    for (int i = 0; i < job.Run().shards; ++i)
        shares.append(ShardResultPath(job.Run().folder, i));
    std::vector<std::string> paths;
    for (const QString& share : shares)
        paths.push_back(share.toStdString());
    const std::string out = (job.Run().folder + "/merged.txt").toStdString();
    const std::string problem = MergeShares(paths, out);
    return problem.empty() ? QString::fromStdString(out) : QString::fromStdString(problem);
}

QString States(const SlurmJob& job) {
    QStringList states;
    for (const ShardStatus& shard : job.Shards())
        states.append(shard.slurmState + " " + shard.exitCode);
    return states.join(", ");
}

} // namespace

class SlurmClusterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (ClusterAnswers())
            return;
        if (geteuid() == 0 && qEnvironmentVariableIsSet("CI"))
            QFAIL("No Slurm cluster answers, though this is CI as root: scripts/slurm-cluster "
                  "start should have started one");
        QSKIP("No Slurm cluster answers (sinfo fails); as root, scripts/slurm-cluster start "
              "starts a one-node cluster");
    }

    void FourShardsOfTheDefaultBatteryMergeIntoTheLocalRun() {
        QTemporaryDir dir;
        const QString para = WriteParameters(dir, 50);
        const QByteArray local = LocalRun(para, dir);
        QVERIFY(!local.isEmpty());
        SlurmJob job({}, RunIn(dir, para, 4, 50));
        job.SetPollInterval(std::chrono::milliseconds(300));
        QSignalSpy failures(&job, &SlurmJob::Failed);
        job.Submit();
        QTRY_VERIFY_WITH_TIMEOUT(job.AllEnded(), SlurmTimeoutMs);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).value(0).toString()));
        QCOMPARE(job.ShardsIn(ShardState::Completed), (QList<int>{0, 1, 2, 3}));
        for (const ShardStatus& shard : job.Shards()) {
            QCOMPARE(shard.exitCode, QString("0:0"));
            QVERIFY(shard.total > 0 && shard.done == shard.total); // from the shard's log
        }
        QCOMPARE(job.Accounting(), std::optional<bool>(false)); // no slurmdbd here
        const QString merged = Merged(job);
        QCOMPARE(ReadAll(merged), local);
    }

    void AFailedShardIsReportedResubmittedAndCompletes() {
        QTemporaryDir dir;
        const QString input = dir.filePath("input.bin");
        QByteArray bits(8 * 131072, '\0'); // 8 sequences of 1 Mbit
        QRandomGenerator random(23);
        random.fillRange(reinterpret_cast<quint32*>(bits.data()), bits.size() / 4);
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bits) == bits.size());
        file.close();
        const QString para = WriteParameters(dir, 8, input);
        const QByteArray local = LocalRun(para, dir);
        QVERIFY(!local.isEmpty());
        // Held, so that shard 2 can be let go only once its input is gone.
        SlurmSettings settings;
        settings.extraOptions = "--hold";
        SlurmJob job(settings, RunIn(dir, para, 4, 8));
        job.SetPollInterval(std::chrono::milliseconds(300));
        QSignalSpy submitted(&job, &SlurmJob::Submitted);
        job.Submit();
        QTRY_COMPARE_WITH_TIMEOUT(submitted.size(), 1, SlurmTimeoutMs);
        const QString id = submitted[0][0].toString();
        RunCommand("scontrol", {"release", id + "_0", id + "_1", id + "_3"});
        QTRY_COMPARE_WITH_TIMEOUT(job.ShardsIn(ShardState::Completed), (QList<int>{0, 1, 3}),
                                  SlurmTimeoutMs);
        QVERIFY(QFile::rename(input, input + ".away"));
        RunCommand("scontrol", {"release", id + "_2"});
        QTRY_VERIFY_WITH_TIMEOUT(job.AllEnded(), SlurmTimeoutMs);
        QCOMPARE(job.ShardsIn(ShardState::Failed), QList<int>{2});
        const ShardStatus failed = job.Shards()[2];
        QCOMPARE(failed.slurmState, QString("FAILED"));
        QCOMPARE(failed.exitCode, QString("4:0")); // the tester's "bad input" exit code
        QVERIFY2(job.LogLines(2).join('\n').contains("No input file matches"),
                 qPrintable(job.LogLines(2).join('\n')));
        QVERIFY(Merged(job).contains("shard-2.txt")); // the merge refuses, naming the share
        QVERIFY(QFile::rename(input + ".away", input));
        job.Resubmit(job.ShardsIn(ShardState::Failed));
        QTRY_COMPARE_WITH_TIMEOUT(submitted.size(), 2, SlurmTimeoutMs);
        QCOMPARE(job.Shards()[2].jobId, submitted[1][0].toString());
        QCOMPARE(job.Shards()[0].jobId, id);
        RunCommand("scontrol", {"release", submitted[1][0].toString()});
        QTRY_VERIFY_WITH_TIMEOUT(job.AllEnded(), SlurmTimeoutMs);
        QVERIFY2(job.ShardsIn(ShardState::Completed).size() == 4, qPrintable(States(job)));
        QCOMPARE(ReadAll(Merged(job)), local);
    }

    // A setting Slurm refuses comes back with Slurm's own words and the command line.
    void ARefusedSubmissionGivesSlurmsMessage() {
        QTemporaryDir dir;
        SlurmSettings settings;
        settings.partition = "no_such_partition";
        SlurmJob job(settings, RunIn(dir, WriteParameters(dir, 4), 2, 4));
        QSignalSpy failures(&job, &SlurmJob::Failed);
        job.Submit();
        QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, SlurmTimeoutMs);
        const QString message = failures[0][0].toString();
        QVERIFY2(message.contains("invalid partition specified: no_such_partition") &&
                     message.contains("sbatch --parsable"),
                 qPrintable(message));
    }

    void CancelLeavesEveryShardCancelled() {
        QTemporaryDir dir;
        const QString para = WriteParameters(dir, 2000); // minutes of work per shard
        SlurmJob job({}, RunIn(dir, para, 4, 2000));
        job.SetPollInterval(std::chrono::milliseconds(300));
        job.Submit();
        QTRY_VERIFY_WITH_TIMEOUT(!job.ShardsIn(ShardState::Running).isEmpty(), SlurmTimeoutMs);
        job.Cancel();
        QTRY_VERIFY_WITH_TIMEOUT(job.AllEnded(), SlurmTimeoutMs);
        QVERIFY2(job.ShardsIn(ShardState::Cancelled).size() == 4, qPrintable(States(job)));
        for (const ShardStatus& shard : job.Shards())
            QVERIFY2(shard.slurmState.startsWith("CANCELLED"), qPrintable(shard.slurmState));
    }
};

QTEST_GUILESS_MAIN(SlurmClusterTest)
#include "slurm_cluster_test.moc"
