// The two run buttons: save the parameters and start the tester through the window's backend,
// its output going to a log in the run's folder, then either leave it running and close, or
// watch it beside the pages and load its result (app/watched_run.cpp).
#include "app/launch_checks.h"
#include "app/main_window.h"
#include "app/name_text.h"
#include "app/pages/general_page.h"
#include "app/run_place/run_place_box.h"
#include "app/run_watch/run.h"
#include "app/run_watch/run_again.h"
#include "app/run_watch/run_folder_place.h"
#include "app/run_watch/run_keeping.h"
#include "app/runs/result_place.h"
#include "app/shared_dialogs.h"
#include "paramfile/parameter_file_writer.h"
#include "paramfile/record_checks.h"
#include "platform/path_parts.h"
#include "records/run_folder.h"
#include "runner/run_backend.h"
#include "runner/slurm_backend.h"

#include <QFileInfo>
#include <QSpinBox>

using namespace zentrope;

namespace {

QString FolderOf(const QString& path) {
    return QString::fromStdString(DirectoryPart(path.toStdString()));
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

// The backend the run starts on: this computer's, or the cluster with the chosen settings;
// nothing when the user has been told which setting cannot be.
std::optional<BackendKind> ChosenBackend(TFIN& window, const QString& parameterFile) {
    RunPlaceBox& place = window.RunPlace();
    if (!place.OnCluster())
        return *FindBackendKind(window.BackendName());
    const qint32 sequences = ReadKeptParameters(parameterFile).NT;
    if (place.Shards() > sequences) {
        window.ShowMessage(
            QStringLiteral("The number of shards (%1, in \"Cluster settings\") is more than the "
                           "%2 sequences of the run: a shard would test none. Choose at most %2 "
                           "shards.")
                .arg(place.Shards())
                .arg(sequences),
            MessageIcon::Error);
        place.OpenSettings(place.ShardsBox());
        return std::nullopt;
    }
    return SlurmBackendKind(SlurmPlan{place.Settings(), place.Shards(), sequences});
}

// Starts the tester on the parameter file, whose output name is `outFile`, recording the run;
// null when the user has been told why nothing started.
std::unique_ptr<Run> StartRecordedTester(TFIN& window, const QString& executable,
                                         const QString& parameterFile, const std::string& outFile) {
    const std::optional<BackendKind> backend = ChosenBackend(window, parameterFile);
    if (!backend)
        return nullptr;
    std::unique_ptr<RunKeeping> record =
        RunKeeping::Begin(RunsRoot(), executable, parameterFile, FolderOf(executable));
    const std::optional<qint32> sequences =
        record ? std::optional<qint32>(record->Sequences()) : std::nullopt;
    // A run is logged, recorded or not: the tester's output never goes to the window's own.
    const QString unrecordedLog =
        record ? QString() : MakeUnrecordedLog(RunsRoot(), QDateTime::currentDateTime());
    const RunRequest request{executable, parameterFile, FolderOf(executable), unrecordedLog,
                             ResolveResultPath(outFile, executable)};
    QString error;
    std::unique_ptr<Run> run = Run::Start(*backend, request, std::move(record), sequences, error);
    if (!run)
        window.ShowMessage(error, MessageIcon::Warning);
    return run;
}

// Nothing started when the user has been told why.
std::unique_ptr<Run> LaunchTester(TFIN& window) {
    if (!window.FreeToLaunch())
        return nullptr;
    GeneralPage& general = window.General();
    if (!LaunchChecksPass(window))
        return nullptr;
    const QString executable = general.TesterPath();
    if (!GoOnDespiteInvertedRanges(window))
        return nullptr;
    const SaveOutcome outcome = window.SaveParameterFile();
    const bool saved = outcome == SaveOutcome::Saved;
    // A value refused before writing (a field that is not a whole number, a size out of
    // range) ends the click with the save's own box, as a conversion error ends any handler:
    // there is no file check after it.
    if (outcome == SaveOutcome::InvalidInteger || outcome == SaveOutcome::SizeOutOfRange)
        return nullptr;
    const QString parameterFile = general.ParameterFileName();
    if (!QFileInfo(parameterFile).isFile()) {
        window.ShowMessage(ParameterFileNotFoundText(parameterFile), MessageIcon::Error,
                           ParameterFolderMissingText(parameterFile));
        return nullptr;
    }
    // A file left by an earlier save does not hold what the window shows; the save has
    // already told the user why it failed.
    if (!saved)
        return nullptr;
    // After the save, so this run's file keeps the empty name and the tester its own default.
    general.FillEmptyOutFile();
    return StartRecordedTester(window, executable, parameterFile, general.OutFileBytes());
}

} // namespace

void RunParameterFileAgain(TFIN& window, const QString& parameterFile) {
    if (!window.FreeToLaunch())
        return;
    const QString executable = window.General().TesterPath();
    if (!ExecutableFound(window, executable))
        return;
    if (!QFileInfo(parameterFile).isFile()) {
        window.ShowMessage(ParameterFileNotFoundText(parameterFile), MessageIcon::Error);
        return;
    }
    const std::string outFile = ReadKeptParameters(parameterFile).OutFile.value_or(std::string());
    if (std::unique_ptr<Run> run = StartRecordedTester(
            window, executable, parameterFile, outFile.empty() ? DefaultOutFileName : outFile))
        window.WatchRun(std::move(run));
}

// The run is left to itself: dropping its watch never ends the tester. A run whose backend
// has not yet told how to find it again (a cluster that has not answered sbatch) is watched
// until it has, so that the next window picks it up; one refused meanwhile is reported and
// the window stays.
void TFIN::ButtRunExitClick() {
    std::unique_ptr<Run> run = LaunchTester(*this);
    if (!run)
        return;
    if (!run->Backend().Identity().id.isEmpty())
        close();
    else {
        connect(&run->Backend(), &RunBackend::IdentityChanged, this, [this] {
            leaveRunOnClose_ = true;
            close();
        });
        WatchRun(std::move(run));
    }
}

void TFIN::ButtRunWaitClick() {
    if (std::unique_ptr<Run> run = LaunchTester(*this))
        WatchRun(std::move(run));
}
