// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::Habilita_Botoes() {}
void TfrmComissao::sbtIncluirClick(tk::TObject&) {}
void TfrmComissao::sbtAlterarClick(tk::TObject&) {}
void TfrmComissao::sbtExcluirClick(tk::TObject&) {}
void TfrmComissao::sbtConfirmarClick(tk::TObject&) {}
void TfrmComissao::sbtCancelarClick(tk::TObject&) {}
void TfrmComissao::sbtProcurarClick(tk::TObject&) {}
void TfrmComissao::sbtVerificarClick(tk::TObject&) {}
void TfrmComissao::dtsPadraoStateChange(tk::TObject&) {}
void TfrmComissao::dtsCargoStateChange(tk::TObject&) {}
void TfrmComissao::dtsEventoStateChange(tk::TObject&) {}
void TfrmComissao::dtsPromocaoStateChange(tk::TObject&) {}
void TfrmComissao::dtsPercCargoStateChange(tk::TObject&) {}
void TfrmComissao::dtsPercEventoStateChange(tk::TObject&) {}
void TfrmComissao::dtsPercPromocaoStateChange(tk::TObject&) {}
void TfrmComissao::dbgCargoEnter(tk::TObject&) {}
void TfrmComissao::dbgPercCargoEnter(tk::TObject&) {}
void TfrmComissao::dbgEventoEnter(tk::TObject&) {}
void TfrmComissao::dbgPercEventoEnter(tk::TObject&) {}
void TfrmComissao::dbgPromocaoEnter(tk::TObject&) {}
void TfrmComissao::dbgPercPromocaoEnter(tk::TObject&) {}
void TfrmComissao::pgcPadraoChange(tk::TObject&) {}
void TfrmComissao::pgcPadraoExit(tk::TObject&) {}
void TfrmComissao::dbnPadraoClick(tk::TObject&, tk::TNavigateBtn) {}
void TfrmComissao::mnuTipoEventoClick(tk::TObject&) {}
void TfrmComissao::mnuPromocaoClick(tk::TObject&) {}
