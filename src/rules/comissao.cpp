// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::cdsComissaoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsComissaoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsComissaoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsComissaoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsComissaoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::cdsComissaoDTVALIDADEINISetText(tk::TField&, const std::string&) {}
void TfrmComissao::cdsComissaoDTVALIDADEFINSetText(tk::TField&, const std::string&) {}
void TfrmComissao::dbgPadraoColExit(tk::TObject&) {}
void TfrmComissao::dbgPadraoExit(tk::TObject&) {}
void TfrmComissao::dbgPadraoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::dbgPadraoKeyDown(tk::TObject&, std::uint16_t&, tk::TShiftState) {}
void TfrmComissao::Vd_Nome(bool) {}
void TfrmComissao::Vd_DtIniComissao(bool) {}
void TfrmComissao::Vd_DtFinComissao(bool) {}
