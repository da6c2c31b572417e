// The General page: the input and length summaries, the checks made on leaving a field, the
// three Change buttons, and the transfer of its fields to and from a set or a save.
#include "app/pages/general_page.h"

#include "app/dialog_seam.h"
#include "app/name_text.h"
#include "app/pages/field_controls.h"
#include "app/pages/key_filters.h"
#include "app/shared_dialogs.h"
#include "app/widgets/edit_bindings.h"
#include "model/c_text.h"
#include "model/label_captions.h"
#include "platform/file_matching.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace zentrope;

namespace {

const QString ZeroLengthWarning =
    QStringLiteral("The sequence length can be 0 only when there is a valid input file.");
const QString ZeroCountWarning = QStringLiteral("The number of tests can't be 0.");

// A box raised on leaving a field takes the focus itself, and putting the focus back leaves
// another field: neither may raise a second box.
bool leavingWarningUp = false;

// Eats the one mouse press being delivered, then goes.
class PressEater : public QObject {
public:
    explicit PressEater(QObject* parent) : QObject(parent) {}

    bool eventFilter(QObject*, QEvent* event) override {
        const bool press = event->type() == QEvent::MouseButtonPress ||
                           event->type() == QEvent::MouseButtonDblClick;
        if (!press || eaten_)
            return false;
        eaten_ = true;
        deleteLater();
        return true;
    }

private:
    bool eaten_ = false;
};

// Drops the press being delivered, once the box it raised has closed.
void DropPressInProgress() {
    auto* eater = new PressEater(qApp);
    qApp->installEventFilter(eater);
    QTimer::singleShot(0, eater, &QObject::deleteLater);
}

bool OnThisPage(const ParameterField& field) {
    return field.section == GeneralSection;
}

// A threshold as the page holds it; a field that is not a number switches its check off.
double Threshold(const QLineEdit* edit, double off) {
    bool ok = false;
    const double value = edit->text().trimmed().toDouble(&ok);
    return ok ? value : off;
}

} // namespace

GeneralPage::GeneralPage(ParameterSet& params, DialogSeam& dialogs, QFileDialog* OD,
                         QFileDialog* SD, QWidget* parent)
    : QWidget(parent), params_(params), dialogs_(dialogs), OD(OD), SD(SD) {
    setObjectName("TSgeneral");
    Build();
    BindHandlers();
}

void GeneralPage::BindHandlers() {
    for (const ParameterField& field : ParameterFields())
        if (OnThisPage(field))
            BindFieldKeys(*this, field, eTestParamKeyPress, Edit_KS_AD_SL_KeyPress);

    connect(Editn, &QLineEdit::textChanged, this, &GeneralPage::EditnChange);
    BindFocusOut(Editn, [this] { EditnExit(); });
    BindFocusOut(EditInFile, [this] { EditnExit(); });
    connect(EditNT, &QLineEdit::textChanged, this, &GeneralPage::EditNTChange);
    BindFocusOut(EditNT, [this] { EditNTExit(); });
    connect(cbAutoN, &QCheckBox::toggled, this, &GeneralPage::cbAutoNClick);
    connect(EditInFile, &QLineEdit::textChanged, this, &GeneralPage::EditInFileChange);
    connect(ButtInFile, &QPushButton::clicked, this, &GeneralPage::ButtInFileClick);
    connect(ButtOutFile, &QPushButton::clicked, this, &GeneralPage::ButtOutFileClick);
    connect(ButtZTRPexe, &QPushButton::clicked, this, &GeneralPage::ButtZTRPexeClick);
    connect(ButtParaSave, &QPushButton::clicked, this, &GeneralPage::ParaSaveClicked);
    connect(ButtParaLoad, &QPushButton::clicked, this, &GeneralPage::ParaLoadClicked);
    connect(ButtParaReload, &QPushButton::clicked, this, &GeneralPage::ParaReloadClicked);
    connect(ButtParaSaveAs, &QPushButton::clicked, this, &GeneralPage::ParaSaveAsClicked);
    connect(ButtLoadResult, &QPushButton::clicked, this, &GeneralPage::LoadResultClicked);
}

void GeneralPage::ShowSet(const ParameterSet& set) {
    for (const ParameterField& field : ParameterFields())
        if (OnThisPage(field))
            ShowField(*this, field, set);
}

void GeneralPage::Gather(ParameterFileRecord& record) const {
    for (const ParameterField& field : ParameterFields())
        if (OnThisPage(field))
            GatherField(*this, field, record);
}

void GeneralPage::ClearSummaries() {
    LabSeqLen->clear();
    LabTOTlen->clear();
}

QString GeneralPage::ParameterFileName() const {
    return EditParaFile->text();
}

void GeneralPage::SetParameterFileName(const QString& path) {
    EditParaFile->setText(path);
}

QString GeneralPage::TesterPath() const {
    return EditZTRPexe->text();
}

void GeneralPage::SetTesterPath(const QString& path) {
    EditZTRPexe->setText(path);
}

std::string GeneralPage::OutFileBytes() const {
    return NameBytes(EditOutFile);
}

void GeneralPage::FillEmptyOutFile() {
    if (EditOutFile->text().isEmpty())
        EditOutFile->setText(DefaultOutFileName);
}

ResultLoadOptions GeneralPage::LoadOptions() const {
    ResultLoadOptions options;
    options.format = CBsaveFormat->currentIndex() == 1 ? ResultLineFormat::NameThenPValue
                                                       : ResultLineFormat::PValueThenName;
    options.pval_digits = params_.pval_digits;
    options.sortKs = cbSortKS->isChecked();
    options.sortAd = cbSortAD->isChecked();
    options.sortSl = cbSortSL->isChecked();
    return options;
}

FlagThresholds GeneralPage::Thresholds() const {
    FlagThresholds thresholds;
    thresholds.ksMin = Threshold(EditKSmin, 0);
    thresholds.adMin = Threshold(EditADmin, 0);
    thresholds.slMax = Threshold(EditSLmax, 100);
    return thresholds;
}

void GeneralPage::WarnAndRefocus(const QString& text, QLineEdit* edit) {
    if (leavingWarningUp)
        return;
    leavingWarningUp = true;
    // A mouse press that takes the focus away raises the box before the press reaches the
    // control pressed on, and the box takes the release: delivered after it, the press would
    // leave a button down. The user goes back to the field, so the press is dropped.
    const bool pressing = QApplication::mouseButtons() != Qt::NoButton;
    dialogs_.ShowMessage(text, MessageIcon::Warning);
    if (pressing)
        DropPressInProgress();
    edit->setFocus(Qt::OtherFocusReason);
    leavingWarningUp = false;
}

void GeneralPage::ChooseFileInto(bool mustExist, QLineEdit* edit) {
    OD->setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    OD->setDirectory(DialogFolder(edit->text()));
    if (auto chosen = ChooseFile(dialogs_, OD))
        edit->setText(*chosen);
}

void GeneralPage::EditInFileChange() {
    MatchedFiles files = CountMatchingFiles(NameBytes(EditInFile));
    InputBits = InputBitsOf(files);
    LabTOTlen->setText(QString::fromStdString(TotalLengthCaption(files)));
    EditNTChange();
}

void GeneralPage::EditnChange() {
    params_.n = LeadingUnsigned(Editn->text().toStdString());
    EditNTChange();
}

void GeneralPage::EditNTChange() {
    if (cbAutoN->isChecked())
        return;
    int32_t sequences = AtolC(EditNT->text().toStdString());
    auto length = ComputedSequenceLength(InputBits, params_.n, sequences);
    if (!length) {
        LabSeqLen->clear();
        return;
    }
    params_.NT = sequences;
    LabSeqLen->setText(QString::fromStdString(SequenceLengthCaption(*length)));
}

void GeneralPage::cbAutoNClick() {
    if (cbAutoN->isChecked())
        LabSeqLen->setText(QString::fromUtf8(AutomaticLengthCaption));
    else
        EditNTChange();
}

void GeneralPage::EditnExit() {
    if (InputBits == 0 && params_.n == 0)
        WarnAndRefocus(ZeroLengthWarning, Editn);
}

void GeneralPage::EditNTExit() {
    if (AtolC(EditNT->text().toStdString()) == 0)
        WarnAndRefocus(ZeroCountWarning, EditNT);
}

void GeneralPage::ButtInFileClick() {
    // A wildcard pattern names no file, so it must be accepted as typed.
    ChooseFileInto(false, EditInFile);
}

void GeneralPage::ButtZTRPexeClick() {
    ChooseFileInto(true, EditZTRPexe);
}

void GeneralPage::ButtOutFileClick() {
    if (auto chosen = ChooseFile(dialogs_, SD))
        EditOutFile->setText(*chosen);
}
