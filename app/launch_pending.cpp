// The run buttons, until their implementation lands in its own file (this file is then
// deleted).
#include "main_window.h"

void TFIN::ButtRunWaitClick() {}
void TFIN::ButtRunExitClick() {}
