#include "app/main_window.h"

#include "app/pages/general_page.h"
#include "app/pages/parameters_page.h"
#include "app/pages/results_page.h"
#include "app/pages/table_page.h"
#include "app/popup_escape_guard.h"
#include "app/run_place/run_place_box.h"
#include "app/run_watch/run.h"
#include "app/run_watch/run_again.h"
#include "app/runs/runs_page.h"
#include "app/widgets/page_control.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QScrollArea>
#include <QShortcut>

TFIN* FIN = nullptr;

namespace {

WindowSetup CompleteSetup(WindowSetup setup) {
    if (setup.executableDir.isEmpty())
        setup.executableDir = QCoreApplication::applicationDirPath();
    if (setup.currentDir.isEmpty())
        setup.currentDir = QDir::currentPath();
    return setup;
}

} // namespace

TFIN::TFIN(const WindowSetup& setup, QWidget* parent)
    : QMainWindow(parent), setup_(CompleteSetup(setup)), dialogs_(setup.dialogs) {
    FIN = this;
    setObjectName("FIN");
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<ScreenDialogs>();
        dialogs_ = ownDialogs_.get();
    }

    BuildDialogs();
    auto* pages = new PageControl;
    PC = pages;
    PC->setObjectName("PC");
    TSgeneral = new GeneralPage(params, *dialogs_, OD, SD);
    PC->addTab(TSgeneral, "General");
    TSparam = new ParametersPage;
    TSparam->setObjectName("TSparam");
    PC->addTab(TSparam, "Parameters");
    runPlace_ = new RunPlaceBox;
    TSparam->AddUnderRunButtons(runPlace_);
    TSresults = new ResultsPage;
    PC->addTab(TSresults, "Results");
    TStable = new TablePage(*dialogs_);
    PC->addTab(TStable, "Table");
    // The Results caption names the result file.
    pages->SetShrinkingTab(PC->indexOf(TSresults));
    PC->addTab(BuildRunsPage(), QStringLiteral("Runs"));
    // A window smaller than its content scrolls.
    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(PC);
    setCentralWidget(scroller);
    BuildRunPanel();
    BindHandlers();

    setWindowTitle("Zentrope GUI v050711");
    TSgeneral->SetTesterPath("Zentrope.exe");
    TSgeneral->SetParameterFileName(QString());
    PC->setCurrentIndex(0);
    ReadPreferences();
    LoadAtStartup();
    ResumeLeftRun();
}

// A run still watched goes on: its record lets the next window find it.
TFIN::~TFIN() {
    if (FIN == this)
        FIN = nullptr;
}

void TFIN::ShowMessage(const QString& text, MessageIcon icon) {
    dialogs_->ShowMessage(text, icon);
}

void TFIN::ShowMessage(const QString& text, MessageIcon icon, const QString& detail) {
    dialogs_->ShowDetailedMessage(text, detail, icon);
}

bool TFIN::AskToGoOn(const QString& text) {
    return dialogs_->AskToGoOn(text);
}

RunsPage* TFIN::BuildRunsPage() {
    auto* runs = new RunsPage(*dialogs_, *TSgeneral);
    connect(runs, &RunsPage::ResultChosen, this,
            [this](const QString& path, const QString& runName) {
                if (FreeToShowOtherResult() && LoadResultFile(path))
                    TStable->NameRun(runName);
            });
    // The window keeps its own parameter file name, so that a later save never writes into
    // the run's copy.
    connect(runs, &RunsPage::ParametersChosen, this, [this](const QString& parameterFile) {
        if (!ConfirmDroppingParameters(QStringLiteral("loading the run's parameter file")))
            return;
        const QString own = TSgeneral->ParameterFileName();
        TSgeneral->SetParameterFileName(parameterFile);
        LoadNamedParameterFile();
        TSgeneral->SetParameterFileName(own);
    });
    connect(runs, &RunsPage::RunAgainChosen, this,
            [this](const QString& parameterFile) { RunParameterFileAgain(*this, parameterFile); });
    return runs;
}

void TFIN::BuildDialogs() {
    OD = new QFileDialog(this);
    OD->setObjectName("OD");
    OD->setAcceptMode(QFileDialog::AcceptOpen);
    OD->setFileMode(QFileDialog::ExistingFile);
    OD->setNameFilter("Any file (*)");
    SD = new QFileDialog(this);
    SD->setObjectName("SD");
    SD->setAcceptMode(QFileDialog::AcceptSave);
    SD->setFileMode(QFileDialog::AnyFile);
    SD->setOption(QFileDialog::DontConfirmOverwrite);
    SD->selectFile(DefaultOutFileName);
}

void TFIN::BindHandlers() {
    // Escape closes the window whichever control has the focus, unless a popup is open.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    new PopupEscapeGuard(escape);
    connect(escape, &QShortcut::activated, this, &TFIN::EscapePressed);
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from any control, the table included, which
    // would otherwise keep them for itself.
    auto* next = new QShortcut(QKeySequence::NextChild, this);
    connect(next, &QShortcut::activated, this, [this] { TurnPage(1); });
    // X11 reports Ctrl+Shift+Tab as Ctrl+Shift+Tab or Ctrl+Backtab, never as the standard
    // Ctrl+Shift+Backtab; one added key keeps the match unambiguous.
    auto* previous = new QShortcut(this);
    previous->setKeys(QKeySequence::keyBindings(QKeySequence::PreviousChild)
                      << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab));
    connect(previous, &QShortcut::activated, this, [this] { TurnPage(-1); });

    connect(TSparam, &ParametersPage::RunWaitClicked, this, &TFIN::ButtRunWaitClick);
    connect(TSparam, &ParametersPage::RunExitClicked, this, &TFIN::ButtRunExitClick);
    connect(TSgeneral, &GeneralPage::ParaSaveClicked, this, &TFIN::ButtParaSaveClick);
    connect(TSgeneral, &GeneralPage::ParaLoadClicked, this, &TFIN::ButtParaLoadClick);
    connect(TSgeneral, &GeneralPage::ParaReloadClicked, this, &TFIN::ButtParaReloadClick);
    connect(TSgeneral, &GeneralPage::ParaSaveAsClicked, this, &TFIN::ButtParaSaveAsClick);
    connect(TSgeneral, &GeneralPage::LoadResultClicked, this,
            [this] { HoldingEscape([this] { ButtLoadResultClick(); }); });
}

void TFIN::TurnPage(int step) {
    const int count = PC->count();
    PC->setCurrentIndex((PC->currentIndex() + step + count) % count);
}
