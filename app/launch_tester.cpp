// The two run buttons: save the parameters and start the tester, its output going to a log in
// the run's folder, then either leave it running and close, or watch it and load its result.
#include "app/detail/chart_file.h"
#include "app/launch_checks.h"
#include "app/main_window.h"
#include "app/name_text.h"
#include "app/pages/general_page.h"
#include "app/pages/table_page.h"
#include "app/run_watch/run_again.h"
#include "app/run_watch/run_end_text.h"
#include "app/run_watch/run_folder_place.h"
#include "app/run_watch/run_keeping.h"
#include "app/run_watch/wait_notice.h"
#include "app/shared_dialogs.h"
#include "paramfile/parameter_file_writer.h"
#include "paramfile/record_checks.h"
#include "platform/path_parts.h"
#include "records/record_summary.h"
#include "runner/result_freshness.h"
#include "runner/tester_process.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

using namespace zentrope;

namespace {

QString FolderOf(const QString& path) {
    return QString::fromStdString(DirectoryPart(path.toStdString()));
}

// A bare output name lies in the tester's folder, where the tester was started. Bytes: the
// output name is the one the parameter file holds.
std::string ResolveResultPath(const std::string& outFile, const QString& executable) {
    return DirectoryPart(outFile).empty() ? DirectoryPart(executable.toStdString()) + outFile
                                          : outFile;
}

// The tester runs no value of a range whose min exceeds its max and says so only in its
// report: the user chooses whether to run without that test.
bool GoOnDespiteInvertedRanges(TFIN& window) {
    const std::vector<InvertedRange> ranges = InvertedRanges(window.ParameterRecord());
    if (ranges.empty())
        return true;
    QString text;
    for (const InvertedRange& range : ranges)
        text += QStringLiteral("%1: the %2 range has min %3 greater than max %4.\n")
                    .arg(QString::fromUtf8(DisplayName(range.test)), QString::fromUtf8(range.range))
                    .arg(range.min)
                    .arg(range.max);
    text += QStringLiteral("\nZentrope will not run these tests with such a range. Go on "
                           "without them, or go back to correct the range?");
    return window.AskToGoOn(text);
}

struct Launch {
    std::unique_ptr<TesterProcess> tester; // null when nothing was started
    std::unique_ptr<RunKeeping> record;    // null when the run could not be recorded
    std::string resultPath;                // where the tester writes its result
    QString logPath() const { return record ? record->logPath() : QString(); }
};

// Starts the tester on the parameter file, whose output name is `outFile`, recording the run;
// nothing started when the user has been told why.
Launch StartRecordedTester(TFIN& window, const QString& executable, const QString& parameterFile,
                           const std::string& outFile) {
    Launch launch{nullptr,
                  RunKeeping::Begin(RunsRoot(), executable, parameterFile, FolderOf(executable)),
                  ResolveResultPath(outFile, executable)};
    TesterStart start =
        StartTester(executable, parameterFile, FolderOf(executable), launch.logPath());
    launch.tester = std::move(start.process);
    if (!launch.tester) {
        if (launch.record)
            launch.record->abandon();
        window.ShowMessage(start.error, MessageIcon::Warning);
        return {};
    }
    if (launch.record) {
        launch.record->noteStart(*launch.tester, QString::fromLocal8Bit(launch.resultPath));
        launch.record->describeFilesLater();
    }
    return launch;
}

// Nothing started when the user has been told why.
Launch LaunchTester(TFIN& window) {
    GeneralPage& general = window.General();
    if (!LaunchChecksPass(window))
        return {};
    const QString executable = general.TesterPath();
    if (!GoOnDespiteInvertedRanges(window))
        return {};
    const SaveOutcome outcome = window.SaveParameterFile();
    const bool saved = outcome == SaveOutcome::Saved;
    // A value refused before writing (a field that is not a whole number, a size out of
    // range) ends the click with the save's own box, as a conversion error ends any handler:
    // there is no file check after it.
    if (outcome == SaveOutcome::InvalidInteger || outcome == SaveOutcome::SizeOutOfRange)
        return {};
    const QString parameterFile = general.ParameterFileName();
    if (!QFileInfo(parameterFile).isFile()) {
        window.ShowMessage(ParameterFileNotFoundText(parameterFile), MessageIcon::Error,
                           ParameterFolderMissingText(parameterFile));
        return {};
    }
    // A file left by an earlier save does not hold what the window shows; the save has
    // already told the user why it failed.
    if (!saved)
        return {};
    // After the save, so this run's file keeps the empty name and the tester its own default.
    general.FillEmptyOutFile();
    return StartRecordedTester(window, executable, parameterFile, general.OutFileBytes());
}

// The newest lines of the tester's log once it has ended.
QStringList WaitShowingNotice(TFIN& window, TesterProcess& tester, const QString& logPath) {
    WaitNotice notice(&window, tester, logPath);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    notice.show();
    tester.waitForEnd();
    QApplication::restoreOverrideCursor();
    return notice.finalLines();
}

void ReportFailedRun(TFIN& window, const QString& text, const QString& logPath) {
    if (logPath.isEmpty())
        window.ShowMessage(text, MessageIcon::Warning);
    else if (window.Dialogs().OfferAction(text, QStringLiteral("Open the log")))
        QDesktopServices::openUrl(QUrl::fromLocalFile(logPath));
}

// A result left by an earlier run, or written by a tester that failed, would pass off other
// figures as this run's: only a run that ended well and wrote its file is loaded.
void WatchAndLoad(TFIN& window, const Launch& launch) {
    const QStringList logLines = WaitShowingNotice(window, *launch.tester, launch.logPath());
    const TesterEnd end = launch.tester->end();
    const std::string& path = launch.resultPath;
    const bool written =
        CheckResultFreshness(path, launch.tester->startedAt()) == ResultFreshness::Written;
    if (launch.record)
        launch.record->finish(end, written ? QString::fromLocal8Bit(path) : QString());
    if (end.cancelled) {
        window.ShowMessage(CancelledRunText, MessageIcon::Information);
        return;
    }
    if (!written || !end.succeeded()) {
        ReportFailedRun(window, FailedRunText(DisplayText(path), written, end, logLines),
                        launch.logPath());
        return;
    }
    window.HoldingEscape([&] { window.LoadResultFileAt(path); });
    if (launch.record)
        window.Table().NameRun(
            ChartRunName(InFileText(launch.record->inFile()), launch.tester->startedAt()));
}

} // namespace

void RunParameterFileAgain(TFIN& window, const QString& parameterFile) {
    const QString executable = window.General().TesterPath();
    if (!ExecutableFound(window, executable))
        return;
    if (!QFileInfo(parameterFile).isFile()) {
        window.ShowMessage(ParameterFileNotFoundText(parameterFile), MessageIcon::Error);
        return;
    }
    const std::string outFile = ReadKeptParameters(parameterFile).OutFile.value_or(std::string());
    const Launch launch = StartRecordedTester(window, executable, parameterFile,
                                              outFile.empty() ? DefaultOutFileName : outFile);
    if (launch.tester)
        WatchAndLoad(window, launch);
}

void TFIN::ButtRunExitClick() {
    if (LaunchTester(*this).tester)
        close();
}

void TFIN::ButtRunWaitClick() {
    const Launch launch = LaunchTester(*this);
    if (launch.tester)
        WatchAndLoad(*this, launch);
}
