#include "main_window.h"

#include "app/pages/key_filters.h"
#include "app/pages/parameters_page.h"
#include "app/pages/results_page.h"
#include "app/pages/table_page.h"
#include "app/runs/runs_page.h"
#include "app/widgets/control_factory.h"
#include "app/widgets/edit_bindings.h"
#include "app/widgets/page_control.h"
#include "field_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

TFIN* FIN = nullptr;

namespace {

QWidget* AddPage(QTabWidget* pages, const char* name, const QString& caption) {
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    pages->addTab(page, caption);
    return page;
}

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

    auto* pages = new PageControl;
    PC = pages;
    PC->setObjectName("PC");
    TSgeneral = AddPage(PC, "TSgeneral", "General");
    TSparam = new ParametersPage;
    TSparam->setObjectName("TSparam");
    PC->addTab(TSparam, "Parameters");
    results_ = new ResultsPage;
    PC->addTab(results_, "Results");
    table_ = new TablePage(*dialogs_);
    PC->addTab(table_, "Table");
    // The Results caption names the result file.
    pages->SetShrinkingTab(PC->indexOf(results_));
    BuildGeneralPage();
    PC->addTab(new RunsPage(*this), QStringLiteral("Runs"));
    BuildDialogs();
    // A window smaller than its content scrolls.
    auto* scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(PC);
    setCentralWidget(scroller);
    BindHandlers();

    setWindowTitle("Zentrope GUI v050711");
    EditZTRPexe->setText("Zentrope.exe");
    EditParaFile->setText(QString());
    PC->setCurrentIndex(0);
    ReadPreferences();
    LoadAtStartup();
}

TFIN::~TFIN() {
    if (FIN == this)
        FIN = nullptr;
}

void TFIN::ShowMessage(const QString& text, MessageIcon icon) {
    dialogs_->ShowMessage(text, icon);
}

bool TFIN::AskToGoOn(const QString& text) {
    return dialogs_->AskToGoOn(text);
}

std::optional<QString> TFIN::RunFileDialog(QFileDialog* dialog) {
    return dialogs_->RunFileDialog(*dialog);
}

void TFIN::OnFocusLeft(QWidget* widget, void (TFIN::*handler)()) {
    BindFocusOut(widget, [this, handler] { (this->*handler)(); });
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
    // Escape closes the window whichever control has the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
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
    for (const zentrope::ParameterField& field : zentrope::ParameterFields())
        if (field.section == zentrope::GeneralSection)
            BindFieldKeys(*this, field, eTestParamKeyPress, Edit_KS_AD_SL_KeyPress);

    connect(Editn, &QLineEdit::textChanged, this, &TFIN::EditnChange);
    OnFocusLeft(Editn, &TFIN::EditnExit);
    OnFocusLeft(EditInFile, &TFIN::EditnExit);
    connect(EditNT, &QLineEdit::textChanged, this, &TFIN::EditNTChange);
    OnFocusLeft(EditNT, &TFIN::EditNTExit);
    connect(cbAutoN, &QCheckBox::toggled, this, &TFIN::cbAutoNClick);
    connect(EditInFile, &QLineEdit::textChanged, this, &TFIN::EditInFileChange);
    connect(ButtInFile, &QPushButton::clicked, this, &TFIN::ButtInFileClick);
    connect(ButtOutFile, &QPushButton::clicked, this, &TFIN::ButtOutFileClick);
    connect(ButtZTRPexe, &QPushButton::clicked, this, &TFIN::ButtZTRPexeClick);
    connect(ButtParaSave, &QPushButton::clicked, this, &TFIN::ButtParaSaveClick);
    connect(ButtParaLoad, &QPushButton::clicked, this, &TFIN::ButtParaLoadClick);
    connect(ButtParaReload, &QPushButton::clicked, this, &TFIN::ButtParaReloadClick);
    connect(ButtParaSaveAs, &QPushButton::clicked, this, &TFIN::ButtParaSaveAsClick);
    connect(ButtLoadResult, &QPushButton::clicked, this,
            [this] { HoldingEscape([this] { ButtLoadResultClick(); }); });
}

void TFIN::TurnPage(int step) {
    const int count = PC->count();
    PC->setCurrentIndex((PC->currentIndex() + step + count) % count);
}
