// The result file button, until its implementation lands in its own file (this file is then
// deleted).
#include "main_window.h"

void TFIN::ButtLoadResultClick() {}
