// The General page's controls: run settings, files, thresholds and the parameter file
// commands.
#include "app/pages/general_page.h"
#include "app/widgets/control_factory.h"
#include "app/widgets/elided_label.h"
#include "app/widgets/up_down.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const ThresholdHint =
    "While Zentrope is running, when the partial test-name p-value is worst than this, the "
    "p-value is showed to indicate a possibly weak generator.";

} // namespace

void GeneralPage::Build() {
    QWidget* page = this;
    auto* grid = new QGridLayout(page);
    // A wider window gives room mostly to the path edits, some to the captions beside them.
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(99, 1);
    int row = 0;
    auto labelled = [&](const QString& caption, QLayout* field) {
        grid->addWidget(MakeLabel(page, caption), row, 0);
        grid->addLayout(field, row++, 1, 1, 3);
    };

    Editn = MakeEdit(page, "Editn", "Editn", 10, 81);
    SetHint(Editn, "When a valid input file is specified, this can be 0 to automatically test "
                   "all the bits.");
    auto* CBnUM = MakeSizeUnitBox(page, "CBnUM", 0, 81);
    LabSeqLen = new ElidedLabel("The sequence length will be:", page);
    LabSeqLen->setObjectName("LabSeqLen");
    labelled("Sequence length", Row({Editn, CBnUM, LabSeqLen}));

    EditNT = MakeEdit(page, "EditNT", "EditNT", 10, 81);
    SetHint(EditNT, "The enabled tests are executed this number of times (sequences to test).");
    labelled("Number of seqs", Row({EditNT}));

    CBsaveFormat = MakeComboBox(page, "CBsaveFormat",
                                {"p-value[TAB]test_name", "test_name[TAB]p-value"}, 0, 169);
    labelled("Save format", Row({CBsaveFormat}));

    auto* EditPVdgt = MakeEdit(page, "EditPVdgt", "7", 2, 41);
    SetHint(EditPVdgt, "The p-values will be saved with these digits.");
    auto* UDpvalDGT = new UpDown(1, 20, 7, false, page);
    UDpvalDGT->setObjectName("UDpvalDGT");
    UDpvalDGT->Associate(EditPVdgt);
    auto* digits = Row({EditPVdgt, UDpvalDGT});
    digits->setSpacing(0);
    labelled("P-value digits", digits);

    EditInFile = MakeEdit(page, "EditInFile", "EditInFile", 0, 401);
    SetHint(EditInFile, "The file(s) with the bits to test. If no file is specified, the hard "
                        "coded generator (in the module RBG) will be used.");
    ButtInFile = MakeButton(page, "ButtInFile", "&Change");
    LabTOTlen = new ElidedLabel("(Total size xxx)", page);
    LabTOTlen->setObjectName("LabTOTlen");
    grid->addWidget(MakeLabel(page, "Input file name"), row, 0);
    grid->addWidget(EditInFile, row, 1);
    grid->addWidget(ButtInFile, row, 2);
    grid->addWidget(LabTOTlen, row++, 3, 1, 2);

    EditOutFile = MakeEdit(page, "EditOutFile", DefaultOutFileName, 0, 401);
    SetHint(EditOutFile, "Zentrope saves the results in this file.");
    ButtOutFile = MakeButton(page, "ButtOutFile", "C&hange");
    grid->addWidget(MakeLabel(page, "Output file name"), row, 0);
    grid->addWidget(EditOutFile, row, 1);
    grid->addWidget(ButtOutFile, row++, 2);

    const int boxWidth = LayoutWidth(page, 129);
    cbAutoN = MakeCheckBox(page, "cbAutoN", "Automatic length");
    SetHint(cbAutoN,
            "If checked, Zentrope may change the sequence length to run all the enabled tests.");
    auto* cbShowPvals = MakeCheckBox(page, "cbShowPvals", "Show p-values");
    SetHint(cbShowPvals, "If checked the p-values will be showed while the test is running.");
    auto* cbOTnumber = MakeCheckBox(page, "cbOTnumber", "Overall test #");
    SetHint(cbOTnumber,
            "If checked the overall p-value for the test# will be showed (really useless).");
    for (QCheckBox* box : {cbAutoN, cbShowPvals, cbOTnumber}) {
        box->setFixedWidth(boxWidth);
        grid->addWidget(box, row++, 0, Qt::AlignLeft);
    }

    auto* Panel5 = new QGroupBox("Sort the overall test-name values", page);
    Panel5->setObjectName("Panel5");
    cbSortKS = MakeCheckBox(Panel5, "cbSortKS", "KS", true);
    SetHint(cbSortKS, "The overall test-name p-values will be sorted by KS.");
    cbSortAD = MakeCheckBox(Panel5, "cbSortAD", "AD");
    SetHint(cbSortAD, "The overall test-name p-values will be sorted by AD.");
    cbSortSL = MakeCheckBox(Panel5, "cbSortSL", "SL");
    SetHint(cbSortSL, "The overall test-name p-values will be sorted by SL.");
    auto* sorts = new QHBoxLayout(Panel5);
    for (QCheckBox* box : {cbSortKS, cbSortAD, cbSortSL})
        sorts->addWidget(box);
    sorts->addStretch(1);
    grid->addWidget(Panel5, row++, 0, 1, 2, Qt::AlignLeft);

    auto* Panel4 = new QGroupBox("Threshold values for the partial result", page);
    Panel4->setObjectName("Panel4");
    EditKSmin = MakeEdit(Panel4, "EditKSmin", "EditKSmin", 7, 49);
    SetHint(EditKSmin, ThresholdHint);
    EditADmin = MakeEdit(Panel4, "EditADmin", "EditADmin", 7, 49);
    SetHint(EditADmin, ThresholdHint);
    EditSLmax = MakeEdit(Panel4, "EditSLmax", "EditSLmax", 7, 49);
    SetHint(EditSLmax,
            "While Zentrope is running, when the partial test-name value is worst than this, the "
            "value is showed to indicate a possibly weak generator.");
    auto* thresholds = new QHBoxLayout(Panel4);
    for (auto [caption, edit] : {std::pair{"KSmin", EditKSmin}, std::pair{"ADmin", EditADmin},
                                 std::pair{"SLmax", EditSLmax}}) {
        thresholds->addWidget(MakeLabel(Panel4, caption));
        thresholds->addWidget(edit);
        thresholds->addSpacing(12);
    }
    thresholds->addStretch(1);
    grid->addWidget(Panel4, row++, 0, 1, 3, Qt::AlignLeft);

    auto* PanelPriority = new QFrame(page);
    PanelPriority->setObjectName("PanelPriority");
    auto* RBpriIdle = new QRadioButton("Idle", PanelPriority);
    RBpriIdle->setObjectName("RBpriIdle");
    auto* RBpriNorm = new QRadioButton("Normal", PanelPriority);
    RBpriNorm->setObjectName("RBpriNorm");
    RBpriNorm->setChecked(true);
    auto* priorities = new QVBoxLayout(PanelPriority);
    priorities->setContentsMargins(0, 0, 0, 0);
    priorities->addWidget(RBpriIdle);
    priorities->addWidget(RBpriNorm);
    ButtLoadResult = MakeButton(page, "ButtLoadResult", "Load a &result file");
    grid->addWidget(MakeLabel(page, "Zentrope running priority"), row, 0);
    grid->addWidget(PanelPriority, row, 1);
    grid->addWidget(ButtLoadResult, row++, 2, 1, 2, Qt::AlignLeft);
    grid->setRowMinimumHeight(row++, LayoutWidth(page, 16));

    EditZTRPexe = MakeEdit(page, "EditZTRPexe", "EditZTRPexe", 0, 401);
    SetHint(EditZTRPexe, "Full path of the Zentrope executable.");
    ButtZTRPexe = MakeButton(page, "ButtZTRPexe", "Ch&ange");
    grid->addWidget(MakeLabel(page, "Zentrope executable"), row, 0);
    grid->addWidget(EditZTRPexe, row, 1);
    grid->addWidget(ButtZTRPexe, row++, 2);
    grid->setRowMinimumHeight(row++, LayoutWidth(page, 8));

    ButtParaReload = MakeButton(page, "ButtParaReload", "&Load");
    SetHint(ButtParaReload, "Load the parameters file in the edit box.");
    ButtParaLoad = MakeButton(page, "ButtParaLoad", "Load &new");
    SetHint(ButtParaLoad, "Load the parameters file using the load dialog.");
    EditParaFile = MakeEdit(page, "EditParaFile", "EditParaFile", 0, 401);
    SetHint(EditParaFile, "The parameters file used by Zentrope.");
    ButtParaSave = MakeButton(page, "ButtParaSave", "&Save");
    SetHint(ButtParaSave, "Save the parameters file.");
    ButtParaSaveAs = MakeButton(page, "ButtParaSaveAs", "Save &as");
    SetHint(ButtParaSaveAs, "Save the parameters file using the save dialog.");
    auto* commands = new QGridLayout;
    commands->addWidget(ButtParaReload, 0, 0);
    commands->addWidget(ButtParaLoad, 0, 1);
    commands->addWidget(ButtParaSave, 1, 0);
    commands->addWidget(ButtParaSaveAs, 1, 1);
    grid->addWidget(MakeLabel(page, "Parameter file name"), row, 0);
    grid->addWidget(EditParaFile, row, 1);
    grid->addLayout(commands, row++, 2, 1, 2, Qt::AlignLeft);
}
