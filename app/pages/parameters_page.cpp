// The Parameters page: test selection into the execution order, reordering it by dragging,
// the AMLS spinners, and the transfer of its fields to and from a set or a save.
#include "app/pages/parameters_page.h"

#include "app/pages/field_controls.h"
#include "app/pages/key_filters.h"
#include "app/widgets/order_list_box.h"
#include "app/widgets/up_down.h"
#include "model/test_catalogue.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace {

QString DisplayText(zentrope::TestId id) {
    const std::string_view name = zentrope::DisplayName(id);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool OnThisPage(const zentrope::ParameterField& field) {
    return field.section != zentrope::GeneralSection;
}

} // namespace

ParametersPage::ParametersPage(QWidget* parent) : QWidget(parent) {
    Build();
    BindHandlers();
}

void ParametersPage::BindHandlers() {
    for (int n = 1; n <= zentrope::TestCount; ++n) {
        QCheckBox* box = TestCheckBox(n);
        connect(box, &QCheckBox::toggled, this, [this, box] { CheckBoxTSTClick(box); });
    }
    connect(BBenableAll, &QPushButton::clicked, this, &ParametersPage::BBenableAllClick);
    connect(BBenableNone, &QPushButton::clicked, this, &ParametersPage::BBenableNoneClick);
    connect(BBenableToggle, &QPushButton::clicked, this, &ParametersPage::BBenableToggleClick);
    connect(LBorder, &OrderListBox::EntryClicked, this, &ParametersPage::LBorderClick);
    connect(LBorder, &OrderListBox::DragMoved, this,
            [this](int y, bool* allowed) { *allowed = LBorderDragOver(y); });
    connect(LBorder, &OrderListBox::MoveRequested, this, [this](int delta) {
        LBorderClick();
        MoveDraggedEntry(LBorder->currentRow() + delta);
    });
    connect(uAMLSmin, &UpDown::Clicked, this, &ParametersPage::uAMLSminClick);
    connect(uAMLSmax, &UpDown::Clicked, this, &ParametersPage::uAMLSmaxClick);
    connect(uAMLSstp, &UpDown::Clicked, this, &ParametersPage::uAMLSstpClick);
    connect(ButtRunWait, &QPushButton::clicked, this, &ParametersPage::RunWaitClicked);
    connect(ButtRunExit, &QPushButton::clicked, this, &ParametersPage::RunExitClicked);
    for (const zentrope::ParameterField& field : zentrope::ParameterFields())
        if (OnThisPage(field))
            BindFieldKeys(*this, field, eTestParamKeyPress, Edit_KS_AD_SL_KeyPress);
}

QCheckBox* ParametersPage::TestCheckBox(int n) const {
    return findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

// None first, then the boxes of the enabled tests in execution order: each box's handler
// appends its test to LBorder, and a test in two slots is checked (and listed) once.
void ParametersPage::ShowSet(const zentrope::ParameterSet& set) {
    for (const zentrope::ParameterField& field : zentrope::ParameterFields())
        if (OnThisPage(field))
            ShowField(*this, field, set);
    BBenableNoneClick();
    for (int8_t slot : set.ExecutionOrder) {
        if (slot < 0 || slot >= zentrope::TestCount || set.Enable[slot] == 0)
            continue;
        const QString name = DisplayText(slot + 1);
        for (int n = 1; n <= zentrope::TestCount; ++n) {
            if (QCheckBox* box = TestCheckBox(n); box && box->text() == name) {
                box->setChecked(true);
                break;
            }
        }
    }
}

void ParametersPage::Gather(zentrope::ParameterFileRecord& record) const {
    for (const zentrope::ParameterField& field : zentrope::ParameterFields())
        if (OnThisPage(field))
            GatherField(*this, field, record);
    record.LBorder.clear();
    for (int row = 0; row < LBorder->count(); ++row)
        record.LBorder.push_back(LBorder->item(row)->data(Qt::UserRole).toInt());
}

void ParametersPage::CheckBoxTSTClick(QCheckBox* box) {
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

void ParametersPage::BBenableAllClick() {
    for (int n = 1; n <= zentrope::TestCount; ++n)
        TestCheckBox(n)->setChecked(true);
}

void ParametersPage::BBenableNoneClick() {
    for (int n = 1; n <= zentrope::TestCount; ++n)
        TestCheckBox(n)->setChecked(false);
    LBorder->clear();
}

void ParametersPage::BBenableToggleClick() {
    for (int n = 1; n <= zentrope::TestCount; ++n) {
        QCheckBox* box = TestCheckBox(n);
        box->setChecked(!box->isChecked());
    }
}

void ParametersPage::LBorderClick() {
    DragIndex = LBorder->currentRow();
}

bool ParametersPage::LBorderDragOver(int y) {
    return MoveDraggedEntry(y / LBorder->RowHeight());
}

bool ParametersPage::MoveDraggedEntry(int row) {
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

void ParametersPage::uAMLSminClick() {
    LabAMLSmin->setText(QString::number(1 << uAMLSmin->Position()));
}

void ParametersPage::uAMLSmaxClick() {
    LabAMLSmax->setText(QString::number(1 << uAMLSmax->Position()));
}

void ParametersPage::uAMLSstpClick() {
    LabAMLSstp->setText(QString::number(uAMLSstp->Position()));
}

void ParametersPage::AddUnderRunButtons(QWidget* widget) {
    ButtRunExit->parentWidget()->layout()->addWidget(widget);
}
