// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::cdsPromocaoBeforeInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoAfterInsert(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoBeforePost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoAfterPost(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoAfterDelete(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoAfterCancel(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoAfterScroll(tk::TClientDataSet&) {}
void TfrmComissao::cdsPromocaoDTVALINICOMISPROMOSetText(tk::TField&, const std::string&) {}
void TfrmComissao::cdsPromocaoDTVALFINCOMISPROMOSetText(tk::TField&, const std::string&) {}
void TfrmComissao::dbgPromocaoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::dbgPromocaoEditButtonClick(tk::TObject&) {}
void TfrmComissao::dbgPromocaoColExit(tk::TObject&) {}
void TfrmComissao::dbgPromocaoExit(tk::TObject&) {}
void TfrmComissao::Vd_DtIniPromocao(bool) {}
void TfrmComissao::Vd_DtFinPromocao(bool) {}
void TfrmComissao::Vd_DataBase(bool) {}
void TfrmComissao::Vd_TpEvento_Promocao(bool) {}
void TfrmComissao::Vd_Cargo_Promocao(bool) {}
void TfrmComissao::Vd_DtPromocao() {}
