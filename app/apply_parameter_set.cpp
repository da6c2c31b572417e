// Copying the current parameter set into the controls.
#include "main_window.h"
#include "model/c_text.h"
#include "sizes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

using namespace zentrope;

namespace {

QString Decimal(int64_t value) {
    return QString::number(value);
}

void ShowSize(uint32_t bits, QLineEdit* edit, QComboBox* unit) {
    ReducedSize reduced = ReduceBitCount(bits);
    edit->setText(Decimal(static_cast<int64_t>(reduced.number)));
    unit->setCurrentIndex(reduced.unitIndex);
}

void ShowRange(const RangeParam& range, QLineEdit* min, QLineEdit* max, QLineEdit* step) {
    min->setText(Decimal(range.min));
    max->setText(Decimal(range.max));
    step->setText(Decimal(range.step));
}

void ShowSpinnerRange(const RangeParam& range, UpDown* min, UpDown* max, QLineEdit* step) {
    min->SetPosition(range.min);
    max->SetPosition(range.max);
    step->setText(Decimal(range.step));
}

// The AMLS size spinners count powers of two: log2 rounded, halves upwards. A length of 0
// or below has no logarithm and takes the spinner's lowest position.
void ShowPowerOfTwo(int32_t value, UpDown* spinner, QLabel* label) {
    spinner->SetPosition(value > 0 ? static_cast<int>(std::log2(value) + 0.5) : spinner->Min());
    label->setText(Decimal(value));
}

void ShowGeneral(TFIN& w, const ParameterSet& p) {
    w.EditNT->setText(Decimal(p.NT));
    w.UDpvalDGT->SetPosition(p.pval_digits);
    w.CBsaveFormat->setCurrentIndex(p.TestName_pv != 0 ? 1 : 0);
    // The input file goes first: the length's handlers read the input size it computes.
    w.EditInFile->setText(QString::fromStdString(p.InFile.value_or(std::string())));
    if (p.OutFile)
        w.EditOutFile->setText(QString::fromStdString(*p.OutFile));
    ShowSize(p.n, w.Editn, w.CBnUM);
    w.cbAutoN->setChecked(p.auto_n != 0);
    w.cbShowPvals->setChecked(p.ShowPvals != 0);
    w.cbOTnumber->setChecked(p.OverallTestNumber != 0);
    (p.IdlePriority != 0 ? w.RBpriIdle : w.RBpriNorm)->setChecked(true);
    w.cbSortKS->setChecked(p.sortKS != 0);
    w.cbSortAD->setChecked(p.sortAD != 0);
    w.cbSortSL->setChecked(p.sortSL != 0);
    w.EditKSmin->setText(QString::fromStdString(FormatG(p.KSmin)));
    w.EditADmin->setText(QString::fromStdString(FormatG(p.ADmin)));
    w.EditSLmax->setText(QString::fromStdString(FormatG(p.SLmax)));
}

void ShowTestParameters(TFIN& w, const ParameterSet& p) {
    ShowSize(p.DFT_max_n, w.eDFTmax, w.CBdftMax);
    ShowSize(p.DFT_optimize, w.eDFToptimize, w.CBdftOptimize);
    ShowRange(p.DFT_rows, w.eDFTdmin, w.eDFTdmax, w.eDFTdstp);
    w.cbDFTm0->setChecked(p.DFT_mode0 != 0);
    w.cbDFTm1->setChecked(p.DFT_mode1 != 0);
    ShowRange(p.WinAutocorr_distance, w.eAUTWdmin, w.eAUTWdmax, w.eAUTWdstp);
    ShowRange(p.WinAutocorr_block_size, w.eAUTWmmin, w.eAUTWmmax, w.eAUTWmstp);
    ShowRange(p.ShortBlocks_block_size, w.eSBLKsmin, w.eSBLKsmax, w.eSBLKsstp);
    ShowRange(p.ShortBlocks_bits_distance, w.eSBLKdmin, w.eSBLKdmax, w.eSBLKdstp);
    ShowSpinnerRange(p.Runs_block_size, w.uRUNsmin, w.uRUNsmax, w.eRUNsstp);
    ShowSpinnerRange(p.Runs_run_length, w.uRUNrmin, w.uRUNrmax, w.eRUNrstp);
    ShowRange(p.Permutation_block_size, w.ePERMsmin, w.ePERMsmax, w.ePERMsstp);
    ShowSpinnerRange(p.Permutation_group_size, w.uPERMtmin, w.uPERMtmax, w.ePERMtstp);
    ShowSpinnerRange(p.Coupon_block_size, w.uCOUmin, w.uCOUmax, w.eCOUstp);
    ShowRange(p.LongBlocks_block_size, w.eLBLKmin, w.eLBLKmax, w.eLBLKstp);
    ShowSpinnerRange(p.Maurer_block_size, w.uMAUmin, w.uMAUmax, w.eMAUstp);
    w.eMAU_n->setText(Decimal(p.Maurer_N));
    ShowRange(p.NOTM_block_size, w.eNOTMmin, w.eNOTMmax, w.eNOTMstp);
    w.eNOTMtemp->setText(Decimal(p.NOTM_templates));
    ShowRange(p.Serial_block_size, w.eSERmin, w.eSERmax, w.eSERstp);
    ShowSpinnerRange(p.Collision_block_size, w.uCOLLsmin, w.uCOLLsmax, w.eCOLLsstp);
    ShowSpinnerRange(p.Rank6x8_byte_order, w.uRNKmin, w.uRNKmax, w.eRNKstp);
    ShowPowerOfTwo(p.AMLS_block_length.min, w.uAMLSmin, w.LabAMLSmin);
    ShowPowerOfTwo(p.AMLS_block_length.max, w.uAMLSmax, w.LabAMLSmax);
    w.uAMLSstp->SetPosition(p.AMLS_block_length.step);
    w.LabAMLSstp->setText(Decimal(p.AMLS_block_length.step));
}

// None first, then the boxes of the enabled tests in execution order: each box's handler
// appends its test to LBorder, and a test in two slots is checked (and listed) once.
void ShowTestSelection(TFIN& w, const ParameterSet& p) {
    w.BBenableNoneClick();
    for (int8_t slot : p.ExecutionOrder) {
        if (slot < 0 || slot >= TestCount || p.Enable[slot] == 0)
            continue;
        const QString name = QString::fromUtf8(DisplayName(slot + 1));
        for (int n = 1; n <= TestCount; ++n) {
            if (QCheckBox* box = w.TestCheckBox(n); box && box->text() == name) {
                box->setChecked(true);
                break;
            }
        }
    }
}

} // namespace

void TFIN::ApplyParameterSet() {
    ShowGeneral(*this, Params);
    ShowTestParameters(*this, Params);
    ShowTestSelection(*this, Params);
}
