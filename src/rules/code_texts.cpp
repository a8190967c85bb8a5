// Text display and entry of the screen's coded fields, through the code tables.
#include "model/code_tables.h"
#include "rules/comissao_rules.h"
#include "toolkit/event_handler.h"

namespace rules {

using model::CodeSetText;
using model::CodeText;
using model::kCargoCodes;
using model::kDataBaseCodes;

void ComissaoRules::bindCodeTexts() {
    using R = ComissaoRules;
    cdsCargoIDCARGOVEND.OnGetText = tk::Handler(this, &R::cdsCargoIDCARGOVENDGetText);
    cdsCargoIDCARGOVEND.OnSetText = tk::Handler(this, &R::cdsCargoIDCARGOVENDSetText);
    cdsEventoIDCARGOVEND.OnGetText = tk::Handler(this, &R::cdsEventoIDCARGOVENDGetText);
    cdsEventoIDCARGOVEND.OnSetText = tk::Handler(this, &R::cdsEventoIDCARGOVENDSetText);
    cdsPromocaoIDCARGOVEND.OnGetText = tk::Handler(this, &R::cdsPromocaoIDCARGOVENDGetText);
    cdsPromocaoIDCARGOVEND.OnSetText = tk::Handler(this, &R::cdsPromocaoIDCARGOVENDSetText);
    cdsPromocaoIDDTBASECOMISPROMO.OnGetText = tk::Handler(this, &R::cdsPromocaoIDDTBASECOMISPROMOGetText);
    cdsPromocaoIDDTBASECOMISPROMO.OnSetText = tk::Handler(this, &R::cdsPromocaoIDDTBASECOMISPROMOSetText);
}

void ComissaoRules::cdsCargoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kCargoCodes, msgPadrao);
}
void ComissaoRules::cdsCargoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kCargoCodes, msgPadrao);
}
void ComissaoRules::cdsEventoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kCargoCodes, msgPadrao);
}
void ComissaoRules::cdsEventoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kCargoCodes, msgPadrao);
}
void ComissaoRules::cdsPromocaoIDCARGOVENDGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kCargoCodes, msgPadrao);
}
void ComissaoRules::cdsPromocaoIDCARGOVENDSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kCargoCodes, msgPadrao);
}
void ComissaoRules::cdsPromocaoIDDTBASECOMISPROMOGetText(tk::TField& Sender, std::string& Text, bool) {
    Text = CodeText(Sender, kDataBaseCodes, msgPadrao);
}
void ComissaoRules::cdsPromocaoIDDTBASECOMISPROMOSetText(tk::TField& Sender, const std::string& Text) {
    CodeSetText(Sender, Text, kDataBaseCodes, msgPadrao);
}

}  // namespace rules
