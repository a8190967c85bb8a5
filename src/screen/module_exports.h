// The module's exported state: the screen instance and whether one exists.
#pragma once

class TfrmComissao;

extern "C" {
// Set when the entry creates the screen; not cleared when it closes.
extern TfrmComissao* frmComissao;
// True while a screen instance exists.
extern bool boIdCriado;
// The host's entry: creates the screen once, then shows it and brings it to the front.
void IniProc();
}
