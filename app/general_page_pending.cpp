// Handlers of the General page and the parameter file commands, until their implementation
// lands in its own files (this file is then deleted).
#include "main_window.h"

void TFIN::EditnChange() {}
void TFIN::EditnExit() {}
void TFIN::EditNTChange() {}
void TFIN::EditNTExit() {}
void TFIN::cbAutoNClick() {}
void TFIN::EditInFileChange() {}
void TFIN::ButtInFileClick() {}
void TFIN::ButtOutFileClick() {}
void TFIN::ButtZTRPexeClick() {}
void TFIN::LoadAtStartup() {}
void TFIN::ButtParaSaveClick() {}
void TFIN::ButtParaLoadClick() {}
void TFIN::ButtParaReloadClick() {}
void TFIN::ButtParaSaveAsClick() {}
