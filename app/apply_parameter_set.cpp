// Copying the current parameter set into the controls.
#include "field_controls.h"
#include "main_window.h"

#include "app/pages/parameters_page.h"

using namespace zentrope;

void TFIN::ApplyParameterSet() {
    for (const ParameterField& field : ParameterFields())
        if (field.section == GeneralSection)
            ShowField(*this, field, Params);
    TSparam->ShowSet(Params);
    MarkParametersSaved();
}
