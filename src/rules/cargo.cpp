// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::cdsCargoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsCargoAfterInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsCargoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsCargoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsCargoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsCargoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::cdsCargoAfterScroll(tk::TClientDataSet&) {}
void TfrmComissao::dbgCargoColExit(tk::TObject&) {}
void TfrmComissao::dbgCargoExit(tk::TObject&) {}
void TfrmComissao::dbgCargoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::Vd_Cargo(bool) {}
