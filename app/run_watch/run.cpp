#include "app/run_watch/run.h"

#include "app/detail/chart_file.h"
#include "app/runs/late_results.h"
#include "records/record_summary.h"
#include "records/run_folder.h"
#include "runner/result_freshness.h"

namespace {

// Often enough for progress to look live, rarely enough to cost nothing.
constexpr int LogLookMs = 200;
// Inside the two seconds in which a finished section should be on screen, and seldom enough
// that following a run costs the window under 5 % of a core (bench_run_interim): a look that
// brings sections costs about 60 ms, most of it drawing the table, the pane and its charts.
constexpr int PartialLookMs = 1500;
// At most this much of the partial result is read at one look, so a look stays short.
constexpr qint64 PartialPieceBytes = qint64{8} << 20;

QString PartialPathOf(const std::string& resultPath) {
    return QFile::decodeName(QByteArray::fromStdString(resultPath + ".partial"));
}

} // namespace

Run::Run(std::unique_ptr<zentrope::RunBackend> backend, std::unique_ptr<RunKeeping> record,
         bool found)
    : backend_(std::move(backend)), record_(std::move(record)), found_(found) {
    const std::vector<std::string> paths = backend_->ResultPaths();
    resultPath_ = paths.empty() ? std::string() : paths.front();
    partial_.setFileName(PartialPathOf(resultPath_));
    if (!backend_->LogPath().isEmpty())
        tail_.emplace(backend_->LogPath());
    connect(backend_.get(), &zentrope::RunBackend::Ended, this, &Run::End);
    connect(backend_.get(), &zentrope::RunBackend::IdentityChanged, this, [this] {
        if (record_)
            record_->NoteStart(*backend_, QString::fromLocal8Bit(resultPath_));
    });
    connect(&logTimer_, &QTimer::timeout, this, &Run::Look);
    connect(&partialTimer_, &QTimer::timeout, this, &Run::LookAtPartial);
}

std::unique_ptr<Run> Run::Start(const zentrope::BackendKind& backend,
                                const zentrope::RunRequest& request,
                                std::unique_ptr<RunKeeping> record, std::optional<qint32> sequences,
                                QString& error) {
    zentrope::RunRequest logged = request;
    logged.logPath = record ? record->LogPath() : request.logPath;
    zentrope::BackendStart start = backend.start(logged);
    if (!start.run) {
        if (record)
            record->Abandon();
        error = start.error;
        return nullptr;
    }
    if (record) {
        record->NoteStart(*start.run, QString::fromLocal8Bit(request.resultPath));
        record->DescribeFilesLater();
    }
    std::unique_ptr<Run> run(new Run(std::move(start.run), std::move(record), false));
    run->parameterFile_ = request.parameterFile;
    run->sequences_ = sequences;
    return run;
}

std::unique_ptr<Run> Run::Find(const zentrope::RunRecord& record, const QString& runsRoot) {
    const zentrope::BackendKind* kind = zentrope::FindBackendKind(record.runner.backend);
    if (!kind || record.runner.id.isEmpty() || !EndUnseen(record))
        return nullptr;
    zentrope::RunRequest request;
    request.logPath = record.folder + '/' + zentrope::LogName;
    request.resultPath = QFile::encodeName(record.resultPath).toStdString();
    std::unique_ptr<zentrope::RunBackend> backend =
        kind->find(record.runner, request, record.startedAt);
    if (!backend)
        return nullptr;
    std::unique_ptr<Run> run(
        new Run(std::move(backend), RunKeeping::Reopen(runsRoot, record), true));
    if (record.NT)
        run->sequences_ = *record.NT;
    return run;
}

qint64 Run::RunningMs() const {
    return backend_->StartedAt().msecsTo(QDateTime::currentDateTimeUtc());
}

void Run::Watch() {
    logTimer_.start(LogLookMs);
    partialTimer_.start(PartialLookMs);
    emit Started();
    Look();
    if (backend_->HasEnded())
        End();
}

void Run::Cancel() {
    if (ended_ || cancelling_)
        return;
    cancelling_ = true;
    backend_->Cancel();
}

bool Run::ParametersRead() const {
    return ended_ || sawOutput_;
}

std::optional<zentrope::TesterProgress> Run::Progress() const {
    return tail_ ? tail_->Progress() : std::nullopt;
}

void Run::Look() {
    if (!tail_)
        return;
    const QStringList lines = tail_->ReadNew();
    if (lines.isEmpty())
        return;
    sawOutput_ = true;
    emit Logged(lines);
}

// Only a partial result written since the run started is its own; an older one is left by
// another run that did not end well.
void Run::LookAtPartial() {
    if (!partial_.isOpen()) {
        const std::string path = QFile::encodeName(partial_.fileName()).toStdString();
        if (zentrope::CheckResultFreshness(path, backend_->StartedAt()) !=
                zentrope::ResultFreshness::Written ||
            !partial_.open(QIODevice::ReadOnly))
            return;
    }
    const QByteArray added = partial_.read(PartialPieceBytes);
    if (added.isEmpty())
        return;
    sawOutput_ = true;
    const bool whole = feed_.Sections() == 0;
    zentrope::SectionFeed::Completed completed = feed_.Add(std::string_view(added));
    if (completed.sections > 0)
        emit InterimResult(std::make_shared<const std::string>(std::move(completed.text)), whole,
                           feed_.Sections());
}

void Run::End() {
    if (ended_)
        return;
    ended_ = true;
    logTimer_.stop();
    partialTimer_.stop();
    partial_.close();
    RunOutcome outcome;
    if (tail_) {
        const QStringList lines = tail_->ReadNew(zentrope::LogWriter::Ended);
        if (!lines.isEmpty())
            emit Logged(lines);
        outcome.logLines = tail_->LastLines();
    }
    outcome.end = backend_->End();
    outcome.failureText = backend_->FailureText();
    outcome.resultWritten = zentrope::CheckResultFreshness(resultPath_, backend_->StartedAt()) ==
                            zentrope::ResultFreshness::Written;
    if (record_ && found_ && !outcome.end.cancelled && outcome.end.code == -1) {
        // Its end was not seen: the result is collected as for any run left to itself.
        if (const std::optional<zentrope::RunRecord> run = record_->Store().Get(record_->Id()))
            CollectLateResult(record_->Store(), *run);
    } else if (record_) {
        record_->Finish(outcome.end,
                        outcome.resultWritten ? QString::fromLocal8Bit(resultPath_) : QString());
    }
    if (outcome.end.cancelled)
        outcome.reason = RunEndReason::Cancelled;
    else if (outcome.resultWritten &&
             (outcome.end.Succeeded() || (found_ && outcome.end.code == -1)))
        outcome.reason = RunEndReason::Succeeded;
    else
        outcome.reason = RunEndReason::Failed;
    emit Ended(outcome);
}

// A run an earlier window started knows its input from its record alone.
QString Run::ChartName() const {
    if (!record_)
        return QString();
    const std::optional<zentrope::RunRecord> kept =
        found_ ? record_->Store().Get(record_->Id()) : std::nullopt;
    return ChartRunName(kept ? zentrope::InputText(*kept) : zentrope::InFileText(record_->InFile()),
                        backend_->StartedAt().toLocalTime());
}
