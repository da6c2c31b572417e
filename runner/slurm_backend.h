// A run of the tester split into shards of one Slurm job array, behind the run object like a
// local run: the batch script and the shards' logs and results go into the run's folder, the
// shards are followed every few seconds, their progress adds up in the run's log, the
// completed shards from the first on make the run's partial result, and once every shard has
// its result they are merged into the result file the parameter file names. Shards that end
// without a result wait for the user: submitted again, or the run cancelled.
#pragma once

#include "runner/run_backend.h"
#include "runner/slurm_job.h"

#include <QFile>
#include <QFutureWatcher>
#include <optional>

namespace zentrope {

inline const QString SlurmBackendName = QStringLiteral("slurm");
// Beside the script in the run's folder: the settings, the plan and each shard's job and
// state, so that a later window picks the run up again.
inline constexpr const char* SlurmStateName = "slurm-run.ini";

// What a run on the cluster needs besides the request.
struct SlurmPlan {
    SlurmSettings settings;
    int shards = 1;
    int sequences = 1; // the run's NT
};

class SlurmBackend : public RunBackend {
    Q_OBJECT
public:
    // The request's log path names the run's folder.
    SlurmBackend(const SlurmPlan& plan, const RunRequest& request, const QDateTime& startedAt);

    // Writes the script and submits it; a refusal ends the run with Slurm's message.
    void submit();
    // Follows shards an earlier window submitted, by the jobs its state file names.
    void attach(const QStringList& shardJobIds);

    BackendIdentity identity() const override;
    QDateTime startedAt() const override { return startedAt_; }
    void cancel() override;
    bool hasEnded() const override { return ended_; }
    TesterEnd end() const override { return end_; }
    std::vector<std::string> resultPaths() const override { return {resultPath_}; }
    QString logPath() const override { return logPath_; }
    QString failureText() const override { return failure_; }

    const SlurmPlan& plan() const { return plan_; }
    const SlurmJob& job() const { return job_; }
    // Every shard has ended and some have no result: the user may submit those again.
    bool awaitingResubmit() const { return awaiting_; }
    // The shards that ended without a result file, in order.
    QList<int> shardsWithoutResult() const;
    // What the run waits for, or why a shard has no result; empty while shards go well.
    QString note() const { return note_; }
    void resubmitFailed();

signals:
    void shardsChanged();

private:
    void afterLook();
    void logShardChanges();
    void logProgress();
    void extendInterim();
    void saveState() const;
    void decide();
    void startMerge();
    void finish(const TesterEnd& end, const QString& failure);
    void log(const QString& line);
    bool hasResult(int index) const;

    SlurmPlan plan_;
    QString folder_;
    std::string resultPath_;
    QString logPath_;
    QDateTime startedAt_;
    SlurmJob job_;
    QFile log_;
    QStringList loggedStates_;
    std::optional<TesterProgress> loggedProgress_;
    int interimShards_ = 0; // the shards, from the first, already in the partial result
    bool submittedOnce_ = false;
    bool cancelling_ = false;
    bool resubmitting_ = false;
    bool awaiting_ = false;
    bool ended_ = false;
    TesterEnd end_;
    QString failure_;
    QString note_;
    QFutureWatcher<std::string> merge_;
};

// The kind that starts runs with this plan. Without one (the kind BackendKinds() holds, which
// finds runs again) it starts nothing: shards need the window's settings.
BackendKind SlurmBackendKind(const std::optional<SlurmPlan>& plan);

} // namespace zentrope
