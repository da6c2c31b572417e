// The main window of Zentrope GUI: four pages of controls, named as every part of the program
// addresses them.
#pragma once

#include "app/widgets/up_down.h"
#include "dialog_seam.h"
#include "parameter_file_writer.h"
#include "parameter_set.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class ParametersPage;
class ResultsPage;
class TablePage;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QWidget;

// The result file's name where the user has given none.
inline constexpr char DefaultOutFileName[] = "_Zentrope.txt";

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
    bool AskToGoOn(const QString& text);
    std::optional<QString> RunFileDialog(QFileDialog* dialog);
    DialogSeam& Dialogs() const { return *dialogs_; }

    // Calls handler whenever widget loses the input focus.
    void OnFocusLeft(QWidget* widget, void (TFIN::*handler)());

    // Pages
    QTabWidget* PC;
    QWidget* TSgeneral;
    ParametersPage* TSparam;

    // General page controls
    QLineEdit* Editn;
    QComboBox* CBnUM;
    QLabel* LabSeqLen;
    QLineEdit* EditNT;
    QComboBox* CBsaveFormat;
    QLineEdit* EditPVdgt;
    UpDown* UDpvalDGT;
    QLineEdit* EditInFile;
    QPushButton* ButtInFile;
    QLabel* LabTOTlen;
    QLineEdit* EditOutFile;
    QPushButton* ButtOutFile;
    QCheckBox* cbAutoN;
    QCheckBox* cbShowPvals;
    QCheckBox* cbOTnumber;
    QGroupBox* Panel5;
    QCheckBox* cbSortKS;
    QCheckBox* cbSortAD;
    QCheckBox* cbSortSL;
    QGroupBox* Panel4;
    QLineEdit* EditKSmin;
    QLineEdit* EditADmin;
    QLineEdit* EditSLmax;
    QFrame* PanelPriority;
    QRadioButton* RBpriIdle;
    QRadioButton* RBpriNorm;
    QPushButton* ButtLoadResult;
    QLineEdit* EditZTRPexe;
    QPushButton* ButtZTRPexe;
    QPushButton* ButtParaReload;
    QPushButton* ButtParaLoad;
    QLineEdit* EditParaFile;
    QPushButton* ButtParaSave;
    QPushButton* ButtParaSaveAs;

    // The shared open and save dialogs; they keep folder, name and options between uses.
    QFileDialog* OD;
    QFileDialog* SD;

    // The current parameter set: between a file (or the defaults) and the controls.
    zentrope::ParameterSet Params;

    // General page
    void EditnChange();
    void EditnExit();
    void EditNTChange();
    void EditNTExit();
    void cbAutoNClick();
    void EditInFileChange();
    void ButtInFileClick();
    void ButtOutFileClick();
    void ButtZTRPexeClick();
    // Eight times the bytes of the files EditInFile matches.
    uint64_t InputBits = 0;

    // Applying a parameter set and parameter file commands
    void LoadAtStartup();
    // 0 when the file named in EditParaFile was read and applied, 1 otherwise.
    int LoadNamedParameterFile();
    // Copies Params into the controls; their handlers run as if the user had changed them.
    void ApplyParameterSet();
    // False when nothing was written (the box has been shown); callers must then stop.
    bool ButtParaSaveClick();
    // The save behind ButtParaSaveClick; its outcome tells a value refused before writing
    // (its box shown, the focus on its field) from a file that could not be written.
    zentrope::SaveOutcome SaveParameterFile();
    // Shows the page that holds the field and puts the focus on it, its text selected.
    void FocusOnPage(QWidget* field);
    // The controls' parameters now match the file last loaded or saved (or the defaults).
    void MarkParametersSaved();
    bool ParametersChanged() const;
    // Runs work (a blocking load) so that no Escape pressed meanwhile closes the window.
    void HoldingEscape(const std::function<void()>& work);
    void ButtParaLoadClick();
    void ButtParaReloadClick();
    void ButtParaSaveAsClick();

    // Results
    void ButtLoadResultClick();
    // Shows the file as text on the Results page and as a table on the Table page; failures
    // are shown in a box.
    void LoadResultFile(const QString& path);
    // The same for a path given as the file system's bytes, such as a kept output name.
    void LoadResultFileAt(const std::string& pathBytes);
    // Judges the loaded run by the General page's thresholds.
    void JudgeLoadedRun();
    ResultsPage& Results() const { return *results_; }
    TablePage& Table() const { return *table_; }

    // Launching the tester
    void ButtRunWaitClick();
    void ButtRunExitClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowResultFileTooLarge();
    void BuildGeneralPage();
    void BuildDialogs();
    void BindHandlers();
    // With changed parameters, asks whether to save them; false keeps the window open.
    bool ConfirmClose();
    void EscapePressed();
    void TurnPage(int step);
    void ReadPreferences();
    void WritePreferences();
    QSize LayoutSize() const;
    void CentreWithLayoutSize();

    WindowSetup setup_;
    std::unique_ptr<DialogSeam> ownDialogs_;
    DialogSeam* dialogs_;
    bool preferencesWritten_ = false;
    std::unique_ptr<zentrope::ParameterFileRecord> savedParameters_;
    int escapeHeld_ = 0;
    ResultsPage* results_ = nullptr;
    TablePage* table_ = nullptr;
};

extern TFIN* FIN;
