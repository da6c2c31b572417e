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
    void Submit();
    // Follows shards an earlier window submitted, by the jobs its state file names.
    void Attach(const QStringList& shardJobIds);

    BackendIdentity Identity() const override;
    QDateTime StartedAt() const override { return startedAt_; }
    void Cancel() override;
    bool HasEnded() const override { return ended_; }
    TesterEnd End() const override { return end_; }
    std::vector<std::string> ResultPaths() const override { return {resultPath_}; }
    QString LogPath() const override { return logPath_; }
    QString FailureText() const override { return failure_; }

    const SlurmPlan& Plan() const { return plan_; }
    const SlurmJob& Job() const { return job_; }
    // Every shard has ended and some have no result: the user may submit those again.
    bool AwaitingResubmit() const { return awaiting_; }
    // The shards that ended without a result file, in order.
    QList<int> ShardsWithoutResult() const;
    // What the run waits for, or why a shard has no result; empty while shards go well.
    QString Note() const { return note_; }
    void ResubmitFailed();

signals:
    void ShardsChanged();

private:
    void AfterLook();
    void LogShardChanges();
    void LogProgress();
    void ExtendInterim();
    void SaveState() const;
    void Decide();
    void StartMerge();
    void Finish(const TesterEnd& end, const QString& failure);
    void Log(const QString& line);
    bool HasResult(int index) const;

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
