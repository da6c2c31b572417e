// The General page: the input and length summaries, the checks made on leaving a field, and
// the three Change buttons.
#include "main_window.h"
#include "model/c_text.h"
#include "model/label_captions.h"
#include "name_text.h"
#include "platform/file_matching.h"
#include "shared_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
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

void WarnAndRefocus(TFIN& window, const QString& text, QLineEdit* edit) {
    if (leavingWarningUp)
        return;
    leavingWarningUp = true;
    // A mouse press that takes the focus away raises the box before the press reaches the
    // control pressed on, and the box takes the release: delivered after it, the press would
    // leave a button down. The user goes back to the field, so the press is dropped.
    const bool pressing = QApplication::mouseButtons() != Qt::NoButton;
    window.ShowMessage(text, MessageIcon::Warning);
    if (pressing)
        DropPressInProgress();
    edit->setFocus(Qt::OtherFocusReason);
    leavingWarningUp = false;
}

void ChooseFileInto(TFIN& window, bool mustExist, QLineEdit* edit) {
    window.OD->setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    window.OD->setDirectory(DialogFolder(edit->text()));
    if (auto chosen = ChooseFile(window, window.OD))
        edit->setText(*chosen);
}

} // namespace

void TFIN::EditInFileChange() {
    MatchedFiles files = CountMatchingFiles(NameBytes(EditInFile));
    InputBits = InputBitsOf(files);
    LabTOTlen->setText(QString::fromStdString(TotalLengthCaption(files)));
    EditNTChange();
}

void TFIN::EditnChange() {
    Params.n = LeadingUnsigned(Editn->text().toStdString());
    EditNTChange();
}

void TFIN::EditNTChange() {
    if (cbAutoN->isChecked())
        return;
    int32_t sequences = AtolC(EditNT->text().toStdString());
    auto length = ComputedSequenceLength(InputBits, Params.n, sequences);
    if (!length) {
        LabSeqLen->clear();
        return;
    }
    Params.NT = sequences;
    LabSeqLen->setText(QString::fromStdString(SequenceLengthCaption(*length)));
}

void TFIN::cbAutoNClick() {
    if (cbAutoN->isChecked())
        LabSeqLen->setText(QString::fromUtf8(AutomaticLengthCaption));
    else
        EditNTChange();
}

void TFIN::EditnExit() {
    if (InputBits == 0 && Params.n == 0)
        WarnAndRefocus(*this, ZeroLengthWarning, Editn);
}

void TFIN::EditNTExit() {
    if (AtolC(EditNT->text().toStdString()) == 0)
        WarnAndRefocus(*this, ZeroCountWarning, EditNT);
}

void TFIN::ButtInFileClick() {
    // A wildcard pattern names no file, so it must be accepted as typed.
    ChooseFileInto(*this, false, EditInFile);
}

void TFIN::ButtZTRPexeClick() {
    ChooseFileInto(*this, true, EditZTRPexe);
}

void TFIN::ButtOutFileClick() {
    if (auto chosen = ChooseFile(*this, SD))
        EditOutFile->setText(*chosen);
}
