// Text display and entry of the screen's coded fields, through the code tables.
#include "model/code_tables.h"
#include "screen/tfrmcomissao.h"

using model::CodeSetText;
using model::CodeText;
using model::kCargoCodes;
using model::kDataBaseCodes;

void TfrmComissao::cdsCargoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kCargoCodes, msgPadrao);
}
void TfrmComissao::cdsCargoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kCargoCodes, msgPadrao);
}
void TfrmComissao::cdsEventoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kCargoCodes, msgPadrao);
}
void TfrmComissao::cdsEventoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kCargoCodes, msgPadrao);
}
void TfrmComissao::cdsPromocaoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kCargoCodes, msgPadrao);
}
void TfrmComissao::cdsPromocaoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kCargoCodes, msgPadrao);
}
void TfrmComissao::cdsPromocaoIDDTBASECOMISPROMOGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kDataBaseCodes, msgPadrao);
}
void TfrmComissao::cdsPromocaoIDDTBASECOMISPROMOSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kDataBaseCodes, msgPadrao);
}
