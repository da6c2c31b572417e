// The main window of Zentrope GUI: it composes the four pages (General, Parameters, Results,
// Table) and the Runs page, the dialog seam, the parameter file's load and save, the result
// load and the tester's launch.
#pragma once

#include "app/dialog_seam.h"
#include "model/parameter_set.h"
#include "paramfile/parameter_file_record.h"
#include "paramfile/parameter_file_writer.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace zentrope {
class LoadWatch;
}
class GeneralPage;
class QDockWidget;
class Run;
class RunPanel;
class RunPlaceBox;
struct RunOutcome;
class ParametersPage;
class QFileDialog;
class QTabWidget;
class ResultsPage;
class RunsPage;
class TablePage;

// Where the window reads and writes prefs.ini, and who shows its boxes and dialogs. Empty
// folders mean the executable's folder and the current folder; no seam means the real dialogs.
struct WindowSetup {
    QString executableDir;
    QString currentDir;
    DialogSeam* dialogs = nullptr;
};

class TFIN : public QMainWindow {
    Q_OBJECT
public:
    explicit TFIN(const WindowSetup& setup = {}, QWidget* parent = nullptr);
    ~TFIN() override;

    // Boxes and dialogs go through the seam.
    void ShowMessage(const QString& text, MessageIcon icon);
    void ShowMessage(const QString& text, MessageIcon icon, const QString& detail);
    bool AskToGoOn(const QString& text);
    DialogSeam& Dialogs() const { return *dialogs_; }

    GeneralPage& General() const { return *TSgeneral; }
    ParametersPage& Parameters() const { return *TSparam; }
    ResultsPage& Results() const { return *TSresults; }
    TablePage& Table() const { return *TStable; }

    // The current parameter set: between a file (or the defaults) and the controls.
    zentrope::ParameterSet params;

    // 0 when the file named in EditParaFile was read and applied, 1 otherwise.
    int LoadNamedParameterFile();
    // Copies Params into the controls; their handlers run as if the user had changed them.
    void ApplyParameterSet();
    // What a save reads from the controls: every control the parameter file names.
    zentrope::ParameterFileRecord ParameterRecord() const;
    // False when nothing was written (the box has been shown); callers must then stop.
    bool ButtParaSaveClick();
    // The save behind ButtParaSaveClick; its outcome tells a value refused before writing
    // (its box shown, the focus on its field) from a file that could not be written.
    zentrope::SaveOutcome SaveParameterFile();
    bool ParametersChanged() const;
    void ButtParaLoadClick();
    void ButtParaReloadClick();
    void ButtParaSaveAsClick();

    void ButtLoadResultClick();
    // Shows the file as text on the Results page and as a table on the Table page; failures
    // are shown in a box. True when the table has rows; a load cancelled meanwhile (progress
    // shows after a second) leaves the window as it was.
    bool LoadResultFile(const QString& path);
    // The same for a path given as the file system's bytes, such as a kept output name.
    bool LoadResultFileAt(const std::string& pathBytes);
    // Stops a result load under way.
    void CancelResultLoad();

    void ButtRunWaitClick();
    void ButtRunExitClick();

    // Where the run buttons start the tester, and the cluster's settings.
    RunPlaceBox& RunPlace() const { return *runPlace_; }
    // The backend new runs start on when they run on this computer, by its name
    // (zentrope::BackendKinds()).
    QString BackendName() const { return backendName_; }
    void SetBackendName(const QString& name) { backendName_ = name; }
    // Watches a started run beside the pages: the run panel, its interim results in the table,
    // its end reported and its result loaded. One run is watched at a time.
    void WatchRun(std::unique_ptr<Run> run);
    // The run being watched, or null.
    Run* WatchedRun() const { return run_.get(); }
    // False, the user told why, while a run is watched: a second tester would write the same
    // files.
    bool FreeToLaunch();
    // Asks before the user puts another result where the run's interim results are shown;
    // false keeps the run's.
    bool FreeToShowOtherResult();
    // Runs work (a blocking load) so that no Escape pressed meanwhile closes the window.
    void HoldingEscape(const std::function<void()>& work);
    // A field whose value was refused: shows the page that holds it and puts the focus on it,
    // its text selected.
    void FocusOnPage(QWidget* field);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildDialogs();
    RunsPage* BuildRunsPage();
    void BindHandlers();
    void LoadAtStartup();
    // The controls' parameters now match the file last loaded or saved (or the defaults).
    void MarkParametersSaved();
    void ShowResultFileTooLarge();
    // With changed parameters, asks whether to save them; false keeps the window open.
    bool ConfirmClose();
    // With a run going, asks whether to leave it running, cancel it or go back; false keeps
    // the window open (for now: a cancelled run closes it once it has ended).
    bool ConfirmCloseDuringRun();
    // Asks before a save would change the parameter file the running tester has not read yet.
    bool FreeToSaveParameters(const QString& path);
    void BuildRunPanel();
    // Watches again the newest run an earlier window left going; collects the results of those
    // that have ended since.
    void ResumeLeftRun();
    void ShowInterimResult(std::shared_ptr<const std::string> text, bool whole, int32_t sections);
    QString InterimNote(int32_t sections) const;
    void RunEnded(const RunOutcome& outcome);
    // The same before `before` (such as "closing") replaces them; false: leave them.
    bool ConfirmDroppingParameters(const QString& before);
    void EscapePressed();
    void TurnPage(int step);
    void ReadPreferences();
    void WritePreferences();
    QSize LayoutSize() const;
    void CentreWithLayoutSize();

    WindowSetup setup_;
    std::unique_ptr<DialogSeam> ownDialogs_;
    DialogSeam* dialogs_;
    // The shared open and save dialogs; they keep folder, name and options between uses.
    QFileDialog* OD = nullptr;
    QFileDialog* SD = nullptr;
    QTabWidget* PC = nullptr;
    GeneralPage* TSgeneral = nullptr;
    ParametersPage* TSparam = nullptr;
    ResultsPage* TSresults = nullptr;
    TablePage* TStable = nullptr;
    bool preferencesWritten_ = false;
    std::unique_ptr<zentrope::ParameterFileRecord> savedParameters_;
    int escapeHeld_ = 0;
    zentrope::LoadWatch* resultLoad_ = nullptr; // the load under way
    QString backendName_;
    std::unique_ptr<Run> run_;
    RunPanel* runPanel_ = nullptr;
    RunPlaceBox* runPlace_ = nullptr;
    QDockWidget* runDock_ = nullptr;
    // Whether the table shows the watched run's results; false once the user chose another
    // result for it.
    bool tableForRun_ = true;
    bool closeAfterRun_ = false;
    // The EXIT button's run is left going once it can be found again.
    bool leaveRunOnClose_ = false;
};

extern TFIN* FIN;
