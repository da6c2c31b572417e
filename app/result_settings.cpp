#include "result_settings.h"

#include "main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace zentrope;

namespace {

// A threshold as the General page holds it; a field that is not a number switches its check off.
double Threshold(const QLineEdit* edit, double off) {
    bool ok = false;
    const double value = edit->text().trimmed().toDouble(&ok);
    return ok ? value : off;
}

} // namespace

ResultLoadOptions LoadOptionsOf(const TFIN& window) {
    ResultLoadOptions options;
    options.format = window.CBsaveFormat->currentIndex() == 1 ? ResultLineFormat::NameThenPValue
                                                              : ResultLineFormat::PValueThenName;
    options.pval_digits = window.Params.pval_digits;
    options.sort_ks = window.cbSortKS->isChecked();
    options.sort_ad = window.cbSortAD->isChecked();
    options.sort_sl = window.cbSortSL->isChecked();
    return options;
}

FlagThresholds ThresholdsOf(const TFIN& window) {
    FlagThresholds thresholds;
    thresholds.ks_min = Threshold(window.EditKSmin, 0);
    thresholds.ad_min = Threshold(window.EditADmin, 0);
    thresholds.sl_max = Threshold(window.EditSLmax, 100);
    return thresholds;
}
