#include "window_parameter_record.h"

#include "main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

using namespace zentrope;

namespace {

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

std::vector<TestId> ExecutionOrderOf(const QListWidget* list) {
    std::vector<TestId> ids;
    for (int row = 0; row < list->count(); ++row)
        ids.push_back(list->item(row)->data(Qt::UserRole).toInt());
    return ids;
}

void GatherGeneral(const TFIN& w, ParameterFileRecord& r) {
    r.Editn = Text(w.Editn);
    r.CBnUM = w.CBnUM->currentIndex();
    r.EditNT = Text(w.EditNT);
    r.CBsaveFormat = w.CBsaveFormat->currentIndex();
    r.UDpvalDGT = w.UDpvalDGT->Position();
    r.cbAutoN = w.cbAutoN->isChecked();
    r.cbShowPvals = w.cbShowPvals->isChecked();
    r.cbOTnumber = w.cbOTnumber->isChecked();
    r.RBpriIdle = w.RBpriIdle->isChecked();
    r.cbSortKS = w.cbSortKS->isChecked();
    r.cbSortAD = w.cbSortAD->isChecked();
    r.cbSortSL = w.cbSortSL->isChecked();
    r.EditKSmin = Text(w.EditKSmin);
    r.EditADmin = Text(w.EditADmin);
    r.EditSLmax = Text(w.EditSLmax);
    r.EditInFile = Text(w.EditInFile);
    r.EditOutFile = Text(w.EditOutFile);
}

void GatherSpinnerSections(const TFIN& w, ParameterFileRecord& r) {
    r.LabAMLSmin = Text(w.LabAMLSmin);
    r.LabAMLSmax = Text(w.LabAMLSmax);
    r.LabAMLSstp = Text(w.LabAMLSstp);
    r.uCOLLsmin = w.uCOLLsmin->Position();
    r.uCOLLsmax = w.uCOLLsmax->Position();
    r.eCOLLsstp = Text(w.eCOLLsstp);
    r.uCOUmin = w.uCOUmin->Position();
    r.uCOUmax = w.uCOUmax->Position();
    r.eCOUstp = Text(w.eCOUstp);
    r.uMAUmin = w.uMAUmin->Position();
    r.uMAUmax = w.uMAUmax->Position();
    r.eMAUstp = Text(w.eMAUstp);
    r.eMAU_n = Text(w.eMAU_n);
    r.uPERMtmin = w.uPERMtmin->Position();
    r.uPERMtmax = w.uPERMtmax->Position();
    r.ePERMtstp = Text(w.ePERMtstp);
    r.uRNKmin = w.uRNKmin->Position();
    r.uRNKmax = w.uRNKmax->Position();
    r.eRNKstp = Text(w.eRNKstp);
    r.uRUNsmin = w.uRUNsmin->Position();
    r.uRUNsmax = w.uRUNsmax->Position();
    r.eRUNsstp = Text(w.eRUNsstp);
    r.uRUNrmin = w.uRUNrmin->Position();
    r.uRUNrmax = w.uRUNrmax->Position();
    r.eRUNrstp = Text(w.eRUNrstp);
}

void GatherEditSections(const TFIN& w, ParameterFileRecord& r) {
    r.eDFTmax = Text(w.eDFTmax);
    r.CBdftMax = w.CBdftMax->currentIndex();
    r.eDFToptimize = Text(w.eDFToptimize);
    r.CBdftOptimize = w.CBdftOptimize->currentIndex();
    r.eDFTdmin = Text(w.eDFTdmin);
    r.eDFTdmax = Text(w.eDFTdmax);
    r.eDFTdstp = Text(w.eDFTdstp);
    r.cbDFTm0 = w.cbDFTm0->isChecked();
    r.cbDFTm1 = w.cbDFTm1->isChecked();
    r.eLBLKmin = Text(w.eLBLKmin);
    r.eLBLKmax = Text(w.eLBLKmax);
    r.eLBLKstp = Text(w.eLBLKstp);
    r.eNOTMmin = Text(w.eNOTMmin);
    r.eNOTMmax = Text(w.eNOTMmax);
    r.eNOTMstp = Text(w.eNOTMstp);
    r.eNOTMtemp = Text(w.eNOTMtemp);
    r.ePERMsmin = Text(w.ePERMsmin);
    r.ePERMsmax = Text(w.ePERMsmax);
    r.ePERMsstp = Text(w.ePERMsstp);
    r.eSERmin = Text(w.eSERmin);
    r.eSERmax = Text(w.eSERmax);
    r.eSERstp = Text(w.eSERstp);
    r.eSBLKsmin = Text(w.eSBLKsmin);
    r.eSBLKsmax = Text(w.eSBLKsmax);
    r.eSBLKsstp = Text(w.eSBLKsstp);
    r.eSBLKdmin = Text(w.eSBLKdmin);
    r.eSBLKdmax = Text(w.eSBLKdmax);
    r.eSBLKdstp = Text(w.eSBLKdstp);
    r.eAUTWdmin = Text(w.eAUTWdmin);
    r.eAUTWdmax = Text(w.eAUTWdmax);
    r.eAUTWdstp = Text(w.eAUTWdstp);
    r.eAUTWmmin = Text(w.eAUTWmmin);
    r.eAUTWmmax = Text(w.eAUTWmmax);
    r.eAUTWmstp = Text(w.eAUTWmstp);
}

} // namespace

ParameterFileRecord ParameterFileRecordOf(const TFIN& window) {
    ParameterFileRecord record;
    GatherGeneral(window, record);
    record.LBorder = ExecutionOrderOf(window.LBorder);
    GatherSpinnerSections(window, record);
    GatherEditSections(window, record);
    return record;
}
