// The default battery (50 sequences of 1 Mbit) once as one local run and once as 2 shards
// through the Slurm cluster that answers here (scripts/slurm-cluster start), merged: the
// difference in wall time, per shard, is what Slurm adds (queueing, starting the task, the
// polling that notices its end) on top of the same work on the same cores.
#include "runner/slurm_job.h"
#include "tester/merge_shares.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace zentrope;

namespace {

constexpr int Shards = 2;
constexpr std::chrono::milliseconds PollInterval{250};

QString WriteParameters(const QTemporaryDir& dir) {
    QFile defaults(QStringLiteral(DEFAULTS_FILE));
    if (!defaults.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", DEFAULTS_FILE);
    QString text = QString::fromUtf8(defaults.readAll());
    text.replace("OutFile \"_Zentrope.txt\"", "OutFile \"" + dir.filePath("local.txt") + "\"");
    QFile para(dir.filePath("para"));
    if (!para.open(QIODevice::WriteOnly) || para.write(text.toUtf8()) < 0)
        qFatal("cannot write the parameter file");
    return para.fileName();
}

double LocalRunSeconds(const QString& para) {
    QElapsedTimer clock;
    clock.start();
    QProcess tester;
    tester.start(QStringLiteral(TESTER_PATH), {para});
    if (!tester.waitForFinished(-1) || tester.exitCode() != 0)
        qFatal("the local run failed");
    return clock.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString para = WriteParameters(dir);
    const double local = LocalRunSeconds(para);
    SlurmJob job({}, {dir.filePath("run"), QStringLiteral(TESTER_PATH), para, Shards, 50});
    job.setPollInterval(PollInterval);
    QEventLoop loop;
    QString failure;
    QObject::connect(&job, &SlurmJob::ended, &loop, &QEventLoop::quit);
    QObject::connect(&job, &SlurmJob::failed, &loop, [&](const QString& message) {
        failure = message;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    job.submit();
    loop.exec();
    if (!failure.isEmpty() || job.shardsIn(ShardState::Completed).size() != Shards) {
        std::fprintf(stderr,
                     "The Slurm run did not complete: %s\n(is a cluster running? "
                     "scripts/slurm-cluster start)\n",
                     qPrintable(failure));
        return 1;
    }
    const double shards = clock.elapsed() / 1000.0;
    std::vector<std::string> shares;
    for (int i = 0; i < Shards; ++i)
        shares.push_back(ShardResultPath(job.run().folder, i).toStdString());
    QElapsedTimer mergeClock;
    mergeClock.start();
    const std::string problem = MergeShares(shares, dir.filePath("merged.txt").toStdString());
    const double merge = mergeClock.elapsed() / 1000.0;
    if (!problem.empty()) {
        std::fprintf(stderr, "Merge failed: %s\n", problem.c_str());
        return 1;
    }
    std::printf("Default battery, 50 sequences of 1 Mbit, on %d cores:\n",
                QThread::idealThreadCount());
    std::printf("  one local run:           %7.2f s wall\n", local);
    std::printf("  %d shards through Slurm:  %7.2f s wall from sbatch to the last shard seen "
                "ended (polled every %lld ms), merge %.3f s\n",
                Shards, shards, static_cast<long long>(PollInterval.count()), merge);
    std::printf("  Slurm's overhead per shard: %.2f s\n", (shards + merge - local) / Shards);
    return 0;
}
