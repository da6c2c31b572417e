// One run of the tester as the window watches it: its backend (app-independent, chosen by name
// when it starts), its record, its log and its result file. It tells when it has started, how
// far it has come, which sections its partial result has finished and how it ended, and is
// cancelled through one call. It never blocks: the backend, the log and the partial result are
// looked at on timers of the window's thread. The window and its pages only connect to it.
#pragma once

#include "app/run_watch/run_keeping.h"
#include "results/grid/section_feed.h"
#include "runner/log_tail.h"
#include "runner/run_backend.h"

#include <QFile>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

enum class RunEndReason {
    Succeeded, // it ended well and wrote its result during the run
    Failed,    // it ended with an error, or wrote no result of its own
    Cancelled, // it ended after cancel()
};

struct RunOutcome {
    RunEndReason reason = RunEndReason::Failed;
    zentrope::TesterEnd end;
    bool resultWritten = false;
    QStringList logLines; // the newest lines of its log, oldest first
    QString failureText;  // the backend's own word on why there is no result, or empty
};

class Run : public QObject {
    Q_OBJECT
public:
    // Starts the tester through `backend`, recording the run when `record` is given (it is
    // dropped when nothing started); null with `error` set when nothing was started.
    static std::unique_ptr<Run> Start(const zentrope::BackendKind& backend,
                                      const zentrope::RunRequest& request,
                                      std::unique_ptr<RunKeeping> record,
                                      std::optional<qint32> sequences, QString& error);
    // A run an earlier window left going, watched again; null when it has ended since or its
    // backend does not know it.
    static std::unique_ptr<Run> Find(const zentrope::RunRecord& record, const QString& runsRoot);

    // Starts looking at the backend, the log and the partial result, and tells started().
    void Watch();
    void Cancel();
    bool Cancelling() const { return cancelling_; }
    bool HasEnded() const { return ended_; }
    // Once ended: whether its end was reported and its record completed.
    const std::string& ResultPath() const { return resultPath_; }
    QString LogPath() const { return backend_->LogPath(); }
    QString ParameterFile() const { return parameterFile_; }
    qint64 RecordId() const { return record_ ? record_->Id() : 0; }
    // The run as its saved charts' file names tell it (its input and start time); empty for a
    // run without a record.
    QString ChartName() const;
    // How many sequences the run tests, when known, and how many sections are finished.
    std::optional<qint32> PlannedSequences() const { return sequences_; }
    int32_t FinishedSections() const { return feed_.Sections(); }
    // Whether the tester has shown signs of having read its parameter file: it wrote to its
    // log or its partial result, or it has ended.
    bool ParametersRead() const;
    // How long it has run.
    qint64 RunningMs() const;
    std::optional<zentrope::TesterProgress> Progress() const;
    // What runs it, for views of a backend's own (a cluster's shards).
    zentrope::RunBackend& Backend() const { return *backend_; }

signals:
    void Started();
    // New lines of its log, oldest first, with the progress they tell.
    void Logged(const QStringList& lines);
    // The text up to the end of the sections its partial result has finished since the last
    // time: with `whole`, the first time, from the file's start (report lines included);
    // after that, only what followed. `sections`: every section finished so far.
    void InterimResult(std::shared_ptr<const std::string> text, bool whole, int32_t sections);
    void Ended(const RunOutcome& outcome);

private:
    Run(std::unique_ptr<zentrope::RunBackend> backend, std::unique_ptr<RunKeeping> record,
        bool found);
    void Look();
    void LookAtPartial();
    void End();

    std::unique_ptr<zentrope::RunBackend> backend_;
    std::unique_ptr<RunKeeping> record_;
    bool found_; // started by an earlier window
    std::string resultPath_;
    QString parameterFile_;
    std::optional<qint32> sequences_;
    std::optional<zentrope::LogTail> tail_;
    zentrope::SectionFeed feed_;
    QFile partial_;
    qint64 partialRead_ = 0;
    bool sawOutput_ = false;
    QTimer logTimer_;
    QTimer partialTimer_;
    bool cancelling_ = false;
    bool ended_ = false;
};
