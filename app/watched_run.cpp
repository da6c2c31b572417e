// The run the window watches: the run panel under the pages, the table filling in with the
// sections the tester has finished, the end reported and the result loaded, and the actions
// that would disturb the run (another launch, a save of its parameter file, another result in
// its table, closing the window) asking first.
#include "app/main_window.h"
#include "app/name_text.h"
#include "app/pages/general_page.h"
#include "app/pages/table_page.h"
#include "app/run_watch/run.h"
#include "app/run_watch/run_end_text.h"
#include "app/run_watch/run_folder_place.h"
#include "app/run_watch/run_panel.h"
#include "app/runs/late_results.h"
#include "results/grid/table_sort.h"
#include "runner/local_backend.h"

#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QUrl>

using namespace zentrope;

namespace {

void ReportFailedRun(TFIN& window, const QString& text, const QString& logPath) {
    if (logPath.isEmpty())
        window.ShowMessage(text, MessageIcon::Warning);
    else if (window.Dialogs().OfferAction(text, QStringLiteral("Open the log")))
        QDesktopServices::openUrl(QUrl::fromLocalFile(logPath));
}

bool SameFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

void TFIN::BuildRunPanel() {
    backendName_ = LocalBackendName;
    runPanel_ = new RunPanel;
    runDock_ = new QDockWidget(QStringLiteral("Zentrope run"), this);
    runDock_->setObjectName("RunDock");
    runDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    runDock_->setWidget(runPanel_);
    addDockWidget(Qt::BottomDockWidgetArea, runDock_);
    runDock_->hide();
}

bool TFIN::FreeToLaunch() {
    if (!run_)
        return true;
    ShowMessage(QStringLiteral("Zentrope is still running and writing \"%1\". Wait for it to "
                               "end, or cancel it, before starting Zentrope again.")
                    .arg(DisplayText(run_->ResultPath())),
                MessageIcon::Warning);
    return false;
}

void TFIN::WatchRun(std::unique_ptr<Run> run) {
    run_ = std::move(run);
    tableForRun_ = true;
    connect(run_.get(), &Run::InterimResult, this, &TFIN::ShowInterimResult);
    connect(run_.get(), &Run::Ended, this, &TFIN::RunEnded);
    runPanel_->Follow(*run_);
    runDock_->show();
    run_->Watch();
}

QString TFIN::InterimNote(int32_t sections) const {
    const std::optional<qint32> planned = run_ ? run_->PlannedSequences() : std::nullopt;
    if (planned && *planned > 0)
        return QStringLiteral("interim: %1 of %2 sequences").arg(sections).arg(*planned);
    return QStringLiteral("interim: %1 sequences").arg(sections);
}

// The first sections are loaded as a file is; later ones are added as columns, so that the
// user's sort, scroll position, column order and selection stay.
void TFIN::ShowInterimResult(std::shared_ptr<const std::string> text, bool whole,
                             int32_t sections) {
    if (!tableForRun_)
        return;
    const ResultLoadOptions options = TSgeneral->LoadOptions();
    if (!whole) {
        TStable->AppendSections(*text, options, InterimNote(sections));
        return;
    }
    TStable->SetInterimNote(InterimNote(sections));
    const ResultLoadOutcome outcome = TStable->Load(std::move(text), options);
    if (!outcome.loaded)
        return;
    TStable->JudgeLoadedRun(TSgeneral->Thresholds());
    if (outcome.sortRequest)
        TStable->SGMouseUp(Qt::LeftButton, SortMarker, *outcome.sortRequest);
}

bool TFIN::FreeToShowOtherResult() {
    if (!run_ || !tableForRun_ || run_->FinishedSections() == 0)
        return true;
    const int choice = dialogs_->Choose(
        QStringLiteral("The table shows the results of the running Zentrope as they come in. "
                       "Show the other result instead? The run goes on either way."),
        {QStringLiteral("Show the other result"), QStringLiteral("Keep the run's results")});
    tableForRun_ = choice != 0;
    return !tableForRun_;
}

bool TFIN::FreeToSaveParameters(const QString& path) {
    if (!run_ || run_->ParametersRead() || !SameFile(path, run_->ParameterFile()))
        return true;
    return AskToGoOn(QStringLiteral("Zentrope may not have read the parameter file \"%1\" yet. "
                                    "Saving over it now could change the running test.")
                         .arg(path));
}

bool TFIN::ConfirmCloseDuringRun() {
    if (!run_ || run_->HasEnded() || leaveRunOnClose_)
        return true;
    const int choice = dialogs_->Choose(
        QStringLiteral("Zentrope is still running. Leave it running (its result is collected "
                       "the next time Zentrope GUI starts), cancel it, or go back?"),
        {QStringLiteral("Leave it running"), QStringLiteral("Cancel it"),
         QStringLiteral("Go back")});
    if (choice == 0)
        return true;
    if (choice == 1) {
        closeAfterRun_ = true;
        run_->Cancel();
    }
    return false;
}

void TFIN::RunEnded(const RunOutcome& outcome) {
    Run* run = run_.release();
    run->deleteLater();
    runPanel_->Done();
    runDock_->hide();
    const int32_t sections = run->FinishedSections();
    const bool interimShown = tableForRun_ && sections > 0;
    if (outcome.reason == RunEndReason::Cancelled) {
        if (interimShown)
            TStable->SetInterimNote(QStringLiteral("cancelled after %1 sequences").arg(sections));
        ShowMessage(CancelledRunText, MessageIcon::Information);
    } else if (outcome.reason == RunEndReason::Failed) {
        if (interimShown)
            TStable->SetInterimNote(QStringLiteral("failed after %1 sequences").arg(sections));
        ReportFailedRun(*this,
                        outcome.failureText.isEmpty()
                            ? FailedRunText(DisplayText(run->ResultPath()), outcome.resultWritten,
                                            outcome.end, outcome.logLines)
                            : outcome.failureText,
                        run->LogPath());
    } else if (tableForRun_ ||
               dialogs_->Choose(QStringLiteral("Zentrope has ended. Load its result \"%1\" "
                                               "in place of the result shown?")
                                    .arg(DisplayText(run->ResultPath())),
                                {QStringLiteral("Load it"), QStringLiteral("Keep the shown "
                                                                           "result")}) == 0) {
        TStable->SetInterimNote(QString());
        const std::string path = run->ResultPath();
        HoldingEscape([&] { LoadResultFileAt(path); });
        if (const QString name = run->ChartName(); !name.isEmpty())
            TStable->NameRun(name);
    }
    if (closeAfterRun_)
        close();
}

void TFIN::ResumeLeftRun() {
    if (!QFileInfo::exists(RunsRoot() + QStringLiteral("/runs.sqlite")))
        return;
    StoreOpening opening = RunStore::Open(RunsRoot());
    if (!opening.store)
        return;
    CollectLateResults(*opening.store);
    for (const RunRecord& record : opening.store->List()) { // newest first
        if (std::unique_ptr<Run> run = Run::Find(record, RunsRoot())) {
            WatchRun(std::move(run));
            return;
        }
    }
}
