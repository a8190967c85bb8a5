// Event-type rules: one rule per event type and position under a commission table.
#include "framework/consiste.h"
#include "rules/comissao_rules.h"
#include "toolkit/event_handler.h"

namespace rules {

namespace Consiste = fw::Consiste;

void ComissaoRules::bindEvento() {
    using R = ComissaoRules;
    cdsEvento.BeforeInsert = tk::Handler(this, &R::cdsEventoBeforeInsert);
    cdsEvento.AfterInsert = tk::Handler(this, &R::cdsEventoAfterInsert);
    cdsEvento.BeforePost = tk::Handler(this, &R::cdsEventoBeforePost);
    cdsEvento.AfterPost = tk::Handler(this, &R::cdsEventoAfterPost);
    cdsEvento.AfterDelete = tk::Handler(this, &R::cdsEventoAfterDelete);
    cdsEvento.AfterCancel = tk::Handler(this, &R::cdsEventoAfterCancel);
    cdsEvento.BeforeEdit = tk::Handler(this, &R::cdsEventoBeforeEdit);
    cdsEvento.BeforeScroll = tk::Handler(this, &R::cdsEventoBeforeScroll);
    cdsEvento.AfterScroll = tk::Handler(this, &R::cdsEventoAfterScroll);
    dbgEvento.OnKeyPress = tk::Handler(this, &R::dbgEventoKeyPress);
    dbgEvento.OnEditButtonClick = tk::Handler(this, &R::dbgEventoEditButtonClick);
    dbgEvento.OnColExit = tk::Handler(this, &R::dbgEventoColExit);
    dbgEvento.OnExit = tk::Handler(this, &R::dbgEventoExit);
}

void ComissaoRules::cdsEventoBeforeInsert(tk::TClientDataSet&) {
    dbgEvento.SetSelectedIndex(Consiste::IndiceCol(dbgEvento, "CDTIPOEVENTO"));
}

void ComissaoRules::cdsEventoAfterInsert(tk::TClientDataSet&) { cdsEventoCDTIPOEVENTO.FocusControl(); }

void ComissaoRules::cdsEventoBeforePost(tk::TClientDataSet&) {
    if (cdsEvento.State() == tk::TDataSetState::dsInsert) cdsEventoNRCOMISSAOOREV.SetAsFloat(NrComissao());
    Vd_TpEvento(true);
    Vd_Cargo_TpEven(true);
    Vd_EventoCadastrado();
}

void ComissaoRules::cdsEventoAfterPost(tk::TClientDataSet&) { SendAndReload(*this, evento_); }

void ComissaoRules::cdsEventoAfterDelete(tk::TClientDataSet&) { SendDelete(*this, evento_); }

void ComissaoRules::cdsEventoAfterCancel(tk::TClientDataSet&) { DropChanges(evento_); }

void ComissaoRules::cdsEventoBeforeEdit(tk::TClientDataSet&) { PostPendingBands(evento_); }

void ComissaoRules::cdsEventoBeforeScroll(tk::TClientDataSet&) { PostPendingBands(evento_); }

void ComissaoRules::cdsEventoAfterScroll(tk::TClientDataSet&) { ReloadBands(*this, evento_); }

// Codes are digits; a position is chosen from the pick list, never typed.
void ComissaoRules::dbgEventoKeyPress(tk::TObject&, char32_t& Key) {
    if (SelectedIs(dbgEvento, "CDTIPOEVENTO"))
        KeepDigitKey(Key);
    else if (SelectedIs(dbgEvento, "IDCARGOVEND"))
        KeepPickListKey(Key);
}

void ComissaoRules::dbgEventoEditButtonClick(tk::TObject&) { SearchEventType(*this, eventoColumn_); }

void ComissaoRules::dbgEventoColExit(tk::TObject&) {
    if (SelectedIs(dbgEvento, "CDTIPOEVENTO")) Vd_TpEvento(false);
}

void ComissaoRules::dbgEventoExit(tk::TObject&) {
    Vd_TpEvento(true);
    if (cdsEvento.Editing()) cdsEvento.Post();
}

void ComissaoRules::Vd_TpEvento(bool Obrigatorio) {
    CheckEventTypeCode(*this, eventoColumn_, Obrigatorio);
}

void ComissaoRules::Vd_Cargo_TpEven(bool Obrigatorio) {
    RequireChoice(*this, dbgEvento, cdsEvento, cdsEventoIDCARGOVEND, "Cargo_NCad", Obrigatorio);
}

// Every stored rule with this event type and position conflicts, except the rule's own
// stored copy: a rule edited and posted unchanged must not meet itself.
void ComissaoRules::Vd_EventoCadastrado() {
    auto reply = rdmComissao.getEventoCad(NrComissao(), cdsEventoCDTIPOEVENTO.AsString(), cdsEventoIDCARGOVEND.AsString());
    cdsVdEventoCad.SetData(Consiste::CheckResultServ(reply, true, 0));
    const double own = cdsEventoNRCOMISSAOTPEVENTOREV.AsFloat();
    for (cdsVdEventoCad.First(); !cdsVdEventoCad.Eof(); cdsVdEventoCad.Next()) {
        if (cdsVdEventoCadNRCOMISSAOTPEVENTOREV.AsFloat() != own)
            Consiste::MensErro(msgPadrao.Msg("TPEVENTO_CAD"), true);
    }
}

}  // namespace rules
