// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::cdsEventoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsEventoAfterInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsEventoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsEventoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsEventoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::cdsEventoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsEventoAfterScroll(tk::TClientDataSet&) {}
void TfrmComissao::dbgEventoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::dbgEventoEditButtonClick(tk::TObject&) {}
void TfrmComissao::dbgEventoColExit(tk::TObject&) {}
void TfrmComissao::dbgEventoExit(tk::TObject&) {}
void TfrmComissao::Vd_TpEvento(bool) {}
void TfrmComissao::Vd_Cargo_TpEven(bool) {}
void TfrmComissao::Vd_EventoCadastrado() {}
