// The Parameters page: one row per test with its parameter ranges, the execution order and the
// run commands.
#include "app/pages/parameters_page.h"

#include "app/widgets/control_factory.h"
#include "app/widgets/order_list_box.h"
#include "app/widgets/up_down.h"
#include "model/test_catalogue.h"

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

QWidget* SpinnerPair(QWidget* page, const char* labelName, const char* spinnerName, int min,
                     int max, int position) {
    QLabel* label = MakeNumberLabel(page, labelName, QString::number(position), 17);
    UpDown* spinner = Spinner(page, spinnerName, min, max, position, true);
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

void ParametersPage::Build() {
    QWidget* page = this;
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(4);
    grid->setColumnMinimumWidth(SecondGroup - 1, LayoutWidth(page, 16));
    grid->setColumnStretch(SecondGroup + 7, 1);
    grid->setRowStretch(TestRows, 1);

    // The boxes are numbered by screen position; each is tied to its test by its caption.
    QCheckBox* boxes[zentrope::TestCount] = {};
    const int boxWidth = LayoutWidth(page, 185);
    for (zentrope::TestId id = 1; id <= zentrope::TestCount; ++id) {
        const zentrope::CatalogueRow& test = zentrope::TestCatalogue(id);
        const QString name = QStringLiteral("CheckBox%1").arg(test.checkBox);
        QCheckBox*& box = boxes[test.checkBox - 1];
        box = MakeCheckBox(page, name.toLatin1().constData(),
                           QString::fromLatin1(test.displayName.data(),
                                               static_cast<qsizetype>(test.displayName.size())));
        box->setFixedWidth(boxWidth);
    }

    // DFT takes two rows: the size and the optimisation, each with its unit.
    grid->addWidget(boxes[0], 0, 0, 2, 1);
    auto* eDFTmax = MakeEdit(page, "eDFTmax", "64", 10, 81);
    auto* CBdftMax = MakeSizeUnitBox(page, "CBdftMax", 2, 73);
    auto* eDFToptimize = MakeEdit(page, "eDFToptimize", "3", 10, 57);
    auto* CBdftOptimize = MakeSizeUnitBox(page, "CBdftOptimize", 2, 73);
    auto* cbDFTm0 = MakeCheckBox(page, "cbDFTm0", "Mode 0", true);
    auto* cbDFTm1 = MakeCheckBox(page, "cbDFTm1", "Mode 1", true);
    grid->addWidget(MakeLabel(page, "max"), 0, FirstGroup);
    grid->addLayout(Row({eDFTmax, CBdftMax}), 0, FirstGroup + 1, 1, 4);
    grid->addWidget(cbDFTm0, 0, FirstGroup + 5, 1, 2);
    grid->addWidget(MakeLabel(page, "optimize"), 1, FirstGroup);
    grid->addLayout(Row({eDFToptimize, CBdftOptimize}), 1, FirstGroup + 1, 1, 4);
    grid->addWidget(cbDFTm1, 1, FirstGroup + 5, 1, 2);
    auto* eDFTdmin = RangeEdit(page, "eDFTdmin", "1", 10);
    auto* eDFTdmax = RangeEdit(page, "eDFTdmax", "8", 10);
    auto* eDFTdstp = RangeEdit(page, "eDFTdstp", "1", 3);
    AddRange(grid, 0, SecondGroup, "Rows:", eDFTdmin, eDFTdmax, eDFTdstp, 2);

    int row = 2;
    grid->addWidget(boxes[1], row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", RangeEdit(page, "eAUTWmmin", "1", 2),
             RangeEdit(page, "eAUTWmmax", "16", 2), RangeEdit(page, "eAUTWmstp", "-1", 3));
    AddRange(grid, row++, SecondGroup, "Block dist:", RangeEdit(page, "eAUTWdmin", "1", 10),
             RangeEdit(page, "eAUTWdmax", "4096", 10), RangeEdit(page, "eAUTWdstp", "-3", 3));

    grid->addWidget(boxes[2], row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", RangeEdit(page, "eSBLKsmin", "1", 2),
             RangeEdit(page, "eSBLKsmax", "16", 2), RangeEdit(page, "eSBLKsstp", "-1", 3));
    AddRange(grid, row++, SecondGroup, "Block dist:", RangeEdit(page, "eSBLKdmin", "1", 10),
             RangeEdit(page, "eSBLKdmax", "4096", 10), RangeEdit(page, "eSBLKdstp", "-3", 3));

    grid->addWidget(boxes[13], row, 0);
    AddRange(
        grid, row, FirstGroup, "Block size:", SpinnerPair(page, "STrunSmin", "uRUNsmin", 2, 32, 4),
        SpinnerPair(page, "STrunSmax", "uRUNsmax", 2, 32, 10), RangeEdit(page, "eRUNsstp", "1", 3));
    AddRange(grid, row++, SecondGroup,
             "Run length:", SpinnerPair(page, "STrunRmin", "uRUNrmin", 2, 10, 4),
             SpinnerPair(page, "STrunRmax", "uRUNrmax", 2, 10, 10),
             RangeEdit(page, "eRUNrstp", "1", 3));

    grid->addWidget(boxes[3], row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", RangeEdit(page, "ePERMsmin", "1", 2),
             RangeEdit(page, "ePERMsmax", "16", 2), RangeEdit(page, "ePERMsstp", "-1", 3));
    AddRange(grid, row++, SecondGroup,
             "Group size:", SpinnerPair(page, "STPermGSmin", "uPERMtmin", 2, 12, 4),
             SpinnerPair(page, "STPermGSmax", "uPERMtmax", 2, 12, 10),
             RangeEdit(page, "ePERMtstp", "1", 3));

    grid->addWidget(boxes[5], row, 0);
    AddRange(grid, row, FirstGroup, "Block size:", RangeEdit(page, "eNOTMmin", "1", 2),
             RangeEdit(page, "eNOTMmax", "16", 2), RangeEdit(page, "eNOTMstp", "-1", 3));
    auto* eNOTMtemp = MakeEdit(page, "eNOTMtemp", "20", 10, 73);
    grid->addWidget(MakeLabel(page, "templates"), row, SecondGroup);
    grid->addWidget(eNOTMtemp, row++, SecondGroup + 1, 1, 3);

    grid->addWidget(boxes[6], row, 0);
    AddRange(
        grid, row, FirstGroup, "Block size:", SpinnerPair(page, "STmauMin", "uMAUmin", 2, 16, 4),
        SpinnerPair(page, "STmauMax", "uMAUmax", 2, 16, 10), RangeEdit(page, "eMAUstp", "-1", 3));
    auto* eMAU_n = MakeEdit(page, "eMAU_n", "1000", 6, 57);
    grid->addWidget(MakeLabel(page, "Q+K"), row, SecondGroup);
    grid->addWidget(eMAU_n, row++, SecondGroup + 1, 1, 3);

    grid->addWidget(boxes[4], row, 0);
    AddRange(grid, row++, FirstGroup,
             "Block size:", SpinnerPair(page, "STcouMin", "uCOUmin", 2, 9, 4),
             SpinnerPair(page, "STcouMax", "uCOUmax", 2, 9, 2), RangeEdit(page, "eCOUstp", "1", 3));

    grid->addWidget(boxes[7], row, 0);
    AddRange(grid, row++, FirstGroup, "Block size:", RangeEdit(page, "eLBLKmin", "1024", 10),
             RangeEdit(page, "eLBLKmax", "4096", 10), RangeEdit(page, "eLBLKstp", "1024", 10));

    grid->addWidget(boxes[9], row, 0);
    AddRange(grid, row++, FirstGroup, "Block size:", RangeEdit(page, "eSERmin", "1", 2),
             RangeEdit(page, "eSERmax", "16", 2), RangeEdit(page, "eSERstp", "-1", 3));

    grid->addWidget(boxes[20], row, 0);
    AddRange(grid, row++, FirstGroup,
             "Block size:", SpinnerPair(page, "STcollsMin", "uCOLLsmin", 10, 31, 31),
             SpinnerPair(page, "STcollsMax", "uCOLLsmax", 10, 31, 10),
             RangeEdit(page, "eCOLLsstp", "-1", 3));

    grid->addWidget(boxes[10], row, 0);
    AddRange(
        grid, row++, FirstGroup, "Byte order:", SpinnerPair(page, "STrnkMin", "uRNKmin", 0, 24, 4),
        SpinnerPair(page, "STrnkMax", "uRNKmax", 0, 24, 10), RangeEdit(page, "eRNKstp", "1", 3));

    // The AMLS labels carry the saved values; the program writes them, not the spinners.
    grid->addWidget(boxes[8], row, 0);
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
    for (QCheckBox* box :
         {boxes[11], boxes[12], boxes[14], boxes[15], boxes[16], boxes[17], boxes[18], boxes[19]})
        grid->addWidget(box, row++, 0);

    auto* Panel1 = new QGroupBox("Execution order", page);
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

    auto* Panel2 = new QGroupBox("Save parameters, run Zentrope and...", page);
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

    QLabel* StaticText3 = MakeLabel(
        page, "Don't change neither the name nor the caption of the check boxes from 1 to 21",
        "StaticText3");
    StaticText3->setFrameShape(QFrame::Box);
    StaticText3->setAlignment(Qt::AlignCenter);
    StaticText3->setWordWrap(true);
    StaticText3->setStyleSheet("color: red; background: #fffbf0; font-size: 20px;");
    StaticText3->hide();
}
