// The Parameters page: test selection into the execution order, reordering it by dragging,
// the keystroke filters of the numeric edits and the AMLS spinners.
#include "main_window.h"
#include "test_catalogue.h"

#include <QCheckBox>
#include <QLabel>

namespace {

QString DisplayText(zentrope::TestId id) {
    const std::string_view name = zentrope::DisplayName(id);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool IsDigit(QChar key) {
    return key >= QLatin1Char('0') && key <= QLatin1Char('9');
}

constexpr QChar Backspace(8);

} // namespace

void TFIN::CheckBoxTSTClick(QCheckBox* box) {
    const std::optional<zentrope::TestId> id =
        zentrope::FindByDisplayName(box->text().toStdString());
    if (!id)
        return;
    if (box->isChecked()) {
        auto* entry = new QListWidgetItem(DisplayText(*id));
        entry->setData(Qt::UserRole, *id);
        LBorder->addItem(entry);
        return;
    }
    for (int row = 0; row < LBorder->count(); ++row) {
        if (LBorder->item(row)->text().compare(box->text(), Qt::CaseInsensitive) == 0) {
            delete LBorder->takeItem(row);
            return;
        }
    }
}

void TFIN::BBenableAllClick() {
    for (int n = 1; n <= zentrope::TestCount; ++n)
        TestCheckBox(n)->setChecked(true);
}

void TFIN::BBenableNoneClick() {
    for (int n = 1; n <= zentrope::TestCount; ++n)
        TestCheckBox(n)->setChecked(false);
    LBorder->clear();
}

void TFIN::BBenableToggleClick() {
    for (int n = 1; n <= zentrope::TestCount; ++n) {
        QCheckBox* box = TestCheckBox(n);
        box->setChecked(!box->isChecked());
    }
}

void TFIN::LBorderClick() {
    DragIndex = LBorder->currentRow();
}

bool TFIN::LBorderDragOver(int y) {
    const int row = y / LBorder->RowHeight();
    if (row == DragIndex)
        return true;
    if (row < 0 || row >= LBorder->count())
        return false;
    // An index that names no entry (nothing pressed, or the entry since removed) moves nothing.
    if (DragIndex < 0 || DragIndex >= LBorder->count())
        return true;
    QListWidgetItem* entry = LBorder->takeItem(DragIndex);
    LBorder->insertItem(row, entry);
    LBorder->setCurrentRow(row);
    DragIndex = row;
    return true;
}

void TFIN::eTestParamKeyPress(QObject* sender, QChar& key) {
    if (IsDigit(key) || key == Backspace)
        return;
    if (key == QLatin1Char('-') && sender->objectName().contains(QLatin1String("stp")))
        return;
    key = QChar();
}

void TFIN::Edit_KS_AD_SL_KeyPress(QObject*, QChar& key) {
    if (!IsDigit(key) && key != Backspace && key != QLatin1Char('.'))
        key = QChar();
}

void TFIN::uAMLSminClick() {
    LabAMLSmin->setText(QString::number(1 << uAMLSmin->Position()));
}

void TFIN::uAMLSmaxClick() {
    LabAMLSmax->setText(QString::number(1 << uAMLSmax->Position()));
}

void TFIN::uAMLSstpClick() {
    LabAMLSstp->setText(QString::number(uAMLSstp->Position()));
}
