// Copying the current parameter set into the controls, and gathering a save's record from
// them.
#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/pages/parameters_page.h"

void TFIN::ApplyParameterSet() {
    TSgeneral->ShowSet(params);
    TSparam->ShowSet(params);
    MarkParametersSaved();
}

zentrope::ParameterFileRecord TFIN::ParameterRecord() const {
    zentrope::ParameterFileRecord record;
    TSgeneral->Gather(record);
    TSparam->Gather(record);
    return record;
}
