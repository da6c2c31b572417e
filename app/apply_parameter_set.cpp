// Copying the current parameter set into the controls.
#include "field_controls.h"
#include "main_window.h"

#include <QCheckBox>

using namespace zentrope;

namespace {

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
    for (const ParameterField& field : ParameterFields())
        ShowField(*this, field, Params);
    ShowTestSelection(*this, Params);
}
