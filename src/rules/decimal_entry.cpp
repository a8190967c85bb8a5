// Placeholder bodies until this list's handlers are written.
#include "screen/tfrmcomissao.h"

void TfrmComissao::dbgPercCargoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::dbgPercEventoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::dbgPercPromocaoKeyPress(tk::TObject&, char32_t&) {}
void TfrmComissao::Vd_Virgula(tk::TDBGrid&, const std::string&, char32_t&) {}
