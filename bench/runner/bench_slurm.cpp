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

#include <algorithm>
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

// Seconds from sbatch until every shard is seen ended; negative when the run failed.
double ShardSeconds(const SlurmRun& run) {
    SlurmJob job({}, run);
    job.SetPollInterval(PollInterval);
    QEventLoop loop;
    bool failed = false;
    QObject::connect(&job, &SlurmJob::Ended, &loop, &QEventLoop::quit);
    QObject::connect(&job, &SlurmJob::Failed, &loop, [&](const QString& message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        failed = true;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    job.Submit();
    loop.exec();
    if (failed || job.ShardsIn(ShardState::Completed).size() != run.shards)
        return -1;
    return clock.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString para = WriteParameters(dir);
    const SlurmRun run{dir.filePath("run"), QStringLiteral(TESTER_PATH), para, Shards, 50};
    // The best of three of each, since the machine may be shared.
    double local = 1e300;
    double shards = 1e300;
    for (int round = 0; round < 3; ++round) {
        local = std::min(local, LocalRunSeconds(para));
        const double seconds = ShardSeconds(run);
        if (seconds < 0) {
            std::fprintf(stderr, "The Slurm run did not complete (is a cluster running? "
                                 "scripts/slurm-cluster start)\n");
            return 1;
        }
        shards = std::min(shards, seconds);
    }
    std::vector<std::string> shares;
    for (int i = 0; i < Shards; ++i)
        shares.push_back(ShardResultPath(run.folder, i).toStdString());
    QElapsedTimer mergeClock;
    mergeClock.start();
    const std::string problem = MergeShares(shares, dir.filePath("merged.txt").toStdString());
    const double merge = mergeClock.elapsed() / 1000.0;
    if (!problem.empty()) {
        std::fprintf(stderr, "Merge failed: %s\n", problem.c_str());
        return 1;
    }
    // Shards that do nothing (the tester replaced by /bin/true) show Slurm's own cost alone.
    const double empty = ShardSeconds({dir.filePath("empty"), "/bin/true", para, Shards, 50});
    std::printf("Default battery, 50 sequences of 1 Mbit, on %d cores, best of 3; Slurm polled "
                "every %lld ms:\n",
                QThread::idealThreadCount(), static_cast<long long>(PollInterval.count()));
    std::printf("  one local run:                %7.2f s wall\n", local);
    std::printf("  %d shards through Slurm:       %7.2f s wall, sbatch to the last shard seen "
                "ended; merge %.3f s\n",
                Shards, shards, merge);
    std::printf("  Slurm's overhead per shard:   %7.2f s (difference of the two, per shard)\n",
                (shards + merge - local) / Shards);
    std::printf("  %d shards that do nothing:     %7.2f s wall (Slurm alone)\n", Shards, empty);
    return 0;
}
