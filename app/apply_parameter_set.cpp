// Copying the current parameter set into the controls.
#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/pages/parameters_page.h"

void TFIN::ApplyParameterSet() {
    TSgeneral->ShowSet(Params);
    TSparam->ShowSet(Params);
    MarkParametersSaved();
}
