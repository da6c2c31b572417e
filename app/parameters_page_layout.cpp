// The Parameters page: one row per test with its parameter ranges, the execution order and the
// run commands.
#include "control_factory.h"
#include "main_window.h"
#include "test_catalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Columns of the page's grid: the test, then two groups of caption, min, max and step.
constexpr int FirstGroup = 1;
constexpr int SecondGroup = 9;
constexpr int TestRows = 22;

QLineEdit* RangeEdit(QWidget* page, const char* name, const char* text, int maxChars) {
    return MakeEdit(page, name, text, maxChars, maxChars <= 3 ? 33 : 41);
}

UpDown* Spinner(QWidget* page, const char* name, int min, int max, int position, bool wrap) {
    auto* spinner = new UpDown(min, max, position, wrap, page);
    spinner->setObjectName(QLatin1String(name));
    return spinner;
}

// A number label with its spinner just right of it, as one control. A pair kept to the right
// lets its label grow to the left, keeping the right edge.
QWidget* Pair(QWidget* page, QLabel* label, UpDown* spinner, Qt::Alignment side) {
    auto* pair = new QWidget(page);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->setAlignment(side);
    label->setParent(pair);
    spinner->setParent(pair);
    row->addWidget(label);
    row->addWidget(spinner);
    return pair;
}

QWidget* SpinnerPair(QWidget* page, QLabel*& label, const char* labelName, UpDown*& spinner,
                     const char* spinnerName, int min, int max, int position) {
    label = MakeNumberLabel(page, labelName, QString::number(position), 17);
    spinner = Spinner(page, spinnerName, min, max, position, true);
    spinner->Associate(label);
    return Pair(page, label, spinner, Qt::AlignLeft);
}

void AddRange(QGridLayout* grid, int row, int column, const QString& caption, QWidget* min,
              QWidget* max, QWidget* step, int rowSpan = 1) {
    QWidget* page = grid->parentWidget();
    grid->addWidget(MakeLabel(page, caption), row, column, rowSpan, 1);
    const char* const small[] = {"min", "max", "step"};
    QWidget* const controls[] = {min, max, step};
    for (int i = 0; i < 3; ++i) {
        auto* label = MakeLabel(page, small[i]);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, column + 1 + 2 * i, rowSpan, 1);
        grid->addWidget(controls[i], row, column + 2 + 2 * i, rowSpan, 1);
    }
}

} // namespace

void TFIN::BuildParametersPage() {
    QWidget* page = TSparam;
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(4);
    grid->setColumnMinimumWidth(SecondGroup - 1, LayoutWidth(page, 16));
    grid->setColumnStretch(SecondGroup + 7, 1);
    grid->setRowStretch(TestRows, 1);

    // The boxes are numbered by screen position; each is tied to its test by its caption.
    QCheckBox** boxes[] = {
        &CheckBox1,  &CheckBox2,  &CheckBox3,  &CheckBox4,  &CheckBox5,  &CheckBox6,  &CheckBox7,
        &CheckBox8,  &CheckBox9,  &CheckBox10, &CheckBox11, &CheckBox12, &CheckBox13, &CheckBox14,
        &CheckBox15, &CheckBox16, &CheckBox17, &CheckBox18, &CheckBox19, &CheckBox20, &CheckBox21};
    const int boxWidth = LayoutWidth(page, 185);
    for (zentrope::TestId id = 1; id <= zentrope::TestCount; ++id) {
        const zentrope::CatalogueRow& test = zentrope::TestCatalogue(id);
        const QString name = QStringLiteral("CheckBox%1").arg(test.checkBox);
        QCheckBox*& box = *boxes[test.checkBox - 1];
        box = MakeCheckBox(page, name.toLatin1().constData(),
                           QString::fromLatin1(test.displayName.data(),
                                               static_cast<qsizetype>(test.displayName.size())));
        box->setFixedWidth(boxWidth);
    }

    // DFT takes two rows: the size and the optimisation, each with its unit.
    grid->addWidget(CheckBox1, 0, 0, 2, 1);
    eDFTmax = MakeEdit(page, "eDFTmax", "64", 10, 81);
    CBdftMax = MakeSizeUnitBox(page, "CBdftMax", 2, 73);
    eDFToptimize = MakeEdit(page, "eDFToptimize", "3", 10, 57);
    CBdftOptimize = MakeSizeUnitBox(page, "CBdftOptimize", 2, 73);
    cbDFTm0 = MakeCheckBox(page, "cbDFTm0", "Mode 0", true);
    cbDFTm1 = MakeCheckBox(page, "cbDFTm1", "Mode 1", true);
    grid->addWidget(MakeLabel(page, "max"), 0, FirstGroup);
    grid->addLayout(Row({eDFTmax, CBdftMax}), 0, FirstGroup + 1, 1, 4);
    grid->addWidget(cbDFTm0, 0, FirstGroup + 5, 1, 2);
    grid->addWidget(MakeLabel(page, "optimize"), 1, FirstGroup);
    grid->addLayout(Row({eDFToptimize, CBdftOptimize}), 1, FirstGroup + 1, 1, 4);
    grid->addWidget(cbDFTm1, 1, FirstGroup + 5, 1, 2);
    eDFTdmin = RangeEdit(page, "eDFTdmin", "1", 10);
    eDFTdmax = RangeEdit(page, "eDFTdmax", "8", 10);
    eDFTdstp = RangeEdit(page, "eDFTdstp", "1", 3);
    AddRange(grid, 0, SecondGroup, "Rows:", eDFTdmin, eDFTdmax, eDFTdstp, 2);

    int row = 2;
    grid->addWidget(CheckBox2, row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", eAUTWmmin = RangeEdit(page, "eAUTWmmin", "1", 2),
             eAUTWmmax = RangeEdit(page, "eAUTWmmax", "16", 2),
             eAUTWmstp = RangeEdit(page, "eAUTWmstp", "-1", 3));
    AddRange(grid, row++, SecondGroup,
             "Block dist:", eAUTWdmin = RangeEdit(page, "eAUTWdmin", "1", 10),
             eAUTWdmax = RangeEdit(page, "eAUTWdmax", "4096", 10),
             eAUTWdstp = RangeEdit(page, "eAUTWdstp", "-3", 3));

    grid->addWidget(CheckBox3, row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", eSBLKsmin = RangeEdit(page, "eSBLKsmin", "1", 2),
             eSBLKsmax = RangeEdit(page, "eSBLKsmax", "16", 2),
             eSBLKsstp = RangeEdit(page, "eSBLKsstp", "-1", 3));
    AddRange(grid, row++, SecondGroup,
             "Block dist:", eSBLKdmin = RangeEdit(page, "eSBLKdmin", "1", 10),
             eSBLKdmax = RangeEdit(page, "eSBLKdmax", "4096", 10),
             eSBLKdstp = RangeEdit(page, "eSBLKdstp", "-3", 3));

    grid->addWidget(CheckBox14, row, 0);
    AddRange(grid, row, FirstGroup, "Block size:",
             SpinnerPair(page, STrunSmin, "STrunSmin", uRUNsmin, "uRUNsmin", 2, 32, 4),
             SpinnerPair(page, STrunSmax, "STrunSmax", uRUNsmax, "uRUNsmax", 2, 32, 10),
             eRUNsstp = RangeEdit(page, "eRUNsstp", "1", 3));
    AddRange(grid, row++, SecondGroup, "Run length:",
             SpinnerPair(page, STrunRmin, "STrunRmin", uRUNrmin, "uRUNrmin", 2, 10, 4),
             SpinnerPair(page, STrunRmax, "STrunRmax", uRUNrmax, "uRUNrmax", 2, 10, 10),
             eRUNrstp = RangeEdit(page, "eRUNrstp", "1", 3));

    grid->addWidget(CheckBox4, row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", ePERMsmin = RangeEdit(page, "ePERMsmin", "1", 2),
             ePERMsmax = RangeEdit(page, "ePERMsmax", "16", 2),
             ePERMsstp = RangeEdit(page, "ePERMsstp", "-1", 3));
    AddRange(grid, row++, SecondGroup, "Group size:",
             SpinnerPair(page, STPermGSmin, "STPermGSmin", uPERMtmin, "uPERMtmin", 2, 12, 4),
             SpinnerPair(page, STPermGSmax, "STPermGSmax", uPERMtmax, "uPERMtmax", 2, 12, 10),
             ePERMtstp = RangeEdit(page, "ePERMtstp", "1", 3));

    grid->addWidget(CheckBox6, row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", eNOTMmin = RangeEdit(page, "eNOTMmin", "1", 2),
             eNOTMmax = RangeEdit(page, "eNOTMmax", "16", 2),
             eNOTMstp = RangeEdit(page, "eNOTMstp", "-1", 3));
    eNOTMtemp = MakeEdit(page, "eNOTMtemp", "20", 10, 73);
    grid->addWidget(MakeLabel(page, "templates"), row, SecondGroup);
    grid->addWidget(eNOTMtemp, row++, SecondGroup + 1, 1, 3);

    grid->addWidget(CheckBox7, row, 0);
    AddRange(grid, row, FirstGroup,
             "Block size:", SpinnerPair(page, STmauMin, "STmauMin", uMAUmin, "uMAUmin", 2, 16, 4),
             SpinnerPair(page, STmauMax, "STmauMax", uMAUmax, "uMAUmax", 2, 16, 10),
             eMAUstp = RangeEdit(page, "eMAUstp", "-1", 3));
    eMAU_n = MakeEdit(page, "eMAU_n", "1000", 6, 57);
    grid->addWidget(MakeLabel(page, "Q+K"), row, SecondGroup);
    grid->addWidget(eMAU_n, row++, SecondGroup + 1, 1, 3);

    grid->addWidget(CheckBox5, row, 0);
    AddRange(grid, row++, FirstGroup,
             "Block size:", SpinnerPair(page, STcouMin, "STcouMin", uCOUmin, "uCOUmin", 2, 9, 4),
             SpinnerPair(page, STcouMax, "STcouMax", uCOUmax, "uCOUmax", 2, 9, 2),
             eCOUstp = RangeEdit(page, "eCOUstp", "1", 3));

    grid->addWidget(CheckBox8, row, 0);
    AddRange(grid, row++, FirstGroup,
             "Block size:", eLBLKmin = RangeEdit(page, "eLBLKmin", "1024", 10),
             eLBLKmax = RangeEdit(page, "eLBLKmax", "4096", 10),
             eLBLKstp = RangeEdit(page, "eLBLKstp", "1024", 10));

    grid->addWidget(CheckBox10, row, 0);
    AddRange(grid, row++, FirstGroup, "Block size:", eSERmin = RangeEdit(page, "eSERmin", "1", 2),
             eSERmax = RangeEdit(page, "eSERmax", "16", 2),
             eSERstp = RangeEdit(page, "eSERstp", "-1", 3));

    grid->addWidget(CheckBox21, row, 0);
    AddRange(grid, row++, FirstGroup, "Block size:",
             SpinnerPair(page, STcollsMin, "STcollsMin", uCOLLsmin, "uCOLLsmin", 10, 31, 31),
             SpinnerPair(page, STcollsMax, "STcollsMax", uCOLLsmax, "uCOLLsmax", 10, 31, 10),
             eCOLLsstp = RangeEdit(page, "eCOLLsstp", "-1", 3));

    grid->addWidget(CheckBox11, row, 0);
    AddRange(grid, row++, FirstGroup,
             "Byte order:", SpinnerPair(page, STrnkMin, "STrnkMin", uRNKmin, "uRNKmin", 0, 24, 4),
             SpinnerPair(page, STrnkMax, "STrnkMax", uRNKmax, "uRNKmax", 0, 24, 10),
             eRNKstp = RangeEdit(page, "eRNKstp", "1", 3));

    // The AMLS labels carry the saved values; the program writes them, not the spinners.
    grid->addWidget(CheckBox9, row, 0);
    LabAMLSmin = MakeNumberLabel(page, "LabAMLSmin", "999999", 44);
    uAMLSmin = Spinner(page, "uAMLSmin", 1, 15, 1, false);
    LabAMLSmax = MakeNumberLabel(page, "LabAMLSmax", "999999", 44);
    uAMLSmax = Spinner(page, "uAMLSmax", 1, 15, 15, false);
    LabAMLSstp = MakeNumberLabel(page, "LabAMLSstp", "-15", 20);
    uAMLSstp = Spinner(page, "uAMLSstp", -31, -1, -1, true);
    AddRange(grid, row++, FirstGroup,
             "Blk length:", Pair(page, LabAMLSmin, uAMLSmin, Qt::AlignRight),
             Pair(page, LabAMLSmax, uAMLSmax, Qt::AlignRight),
             Pair(page, LabAMLSstp, uAMLSstp, Qt::AlignRight));

    const int firstPlain = row;
    for (QCheckBox* box : {CheckBox12, CheckBox13, CheckBox15, CheckBox16, CheckBox17, CheckBox18,
                           CheckBox19, CheckBox20})
        grid->addWidget(box, row++, 0);

    Panel1 = new QGroupBox("Execution order", page);
    Panel1->setObjectName("Panel1");
    Panel1->setAlignment(Qt::AlignHCenter);
    QFont font = Panel1->font();
    font.setBold(true);
    Panel1->setFont(font);
    LBorder = new OrderListBox(Panel1);
    LBorder->setObjectName("LBorder");
    font.setBold(false);
    LBorder->setFont(font);
    SetHint(LBorder, "Drag the tests to change the order");
    LBorder->setMinimumHeight(LBorder->fontMetrics().height() * 24);
    (new QVBoxLayout(Panel1))->addWidget(LBorder);
    grid->addWidget(Panel1, 8, SecondGroup, row - 8, 8);

    Panel2 = new QGroupBox("Save parameters, run Zentrope and...", page);
    Panel2->setObjectName("Panel2");
    Panel2->setAlignment(Qt::AlignHCenter);
    ButtRunWait = MakeButton(Panel2, "ButtRunWait", "... &WAIT for the output file and load it");
    SetHint(ButtRunWait, "Well suited for short running times");
    ButtRunExit = MakeButton(Panel2, "ButtRunExit", "... &EXIT Zentrope GUI immediately");
    SetHint(ButtRunExit, "Well suited for long running times with Zentrope in idle priority");
    auto* runs = new QVBoxLayout(Panel2);
    runs->addWidget(ButtRunWait);
    runs->addWidget(ButtRunExit);
    grid->addWidget(Panel2, firstPlain, FirstGroup + 1, 5, 6, Qt::AlignTop);

    QStyle* style = page->style();
    BBenableAll = MakeButton(page, "BBenableAll", "&All");
    BBenableAll->setIcon(style->standardIcon(QStyle::SP_DialogApplyButton));
    BBenableNone = MakeButton(page, "BBenableNone", "&None");
    BBenableNone->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton));
    BBenableToggle = MakeButton(page, "BBenableToggle", "&Toggle");
    BBenableToggle->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    grid->addLayout(Row({BBenableAll, BBenableNone, BBenableToggle}), row - 2, FirstGroup + 1, 2, 6,
                    Qt::AlignBottom);

    StaticText3 = MakeLabel(
        page, "Don't change neither the name nor the caption of the check boxes from 1 to 21",
        "StaticText3");
    StaticText3->setFrameShape(QFrame::Box);
    StaticText3->setAlignment(Qt::AlignCenter);
    StaticText3->setWordWrap(true);
    StaticText3->setStyleSheet("color: red; background: #fffbf0; font-size: 20px;");
    StaticText3->hide();
}
