// Event-type rules: one rule per event type and position under a commission table.
#include "framework/consiste.h"
#include "model/code_tables.h"
#include "rules/scope_list.h"
#include "screen/tfrmcomissao.h"

namespace Consiste = fw::Consiste;

namespace {

rules::Scope eventoScope(TfrmComissao& f) {
    return {f.cdsEvento,
            f.cdsEventoNRCOMISSAOTPEVENTOREV,
            f.cdsPercEvento,
            model::kScopeTipoEvento,
            &server::RdmComissao::SetEvento,
            &server::RdmComissao::GetEvento,
            "CDTIPOEVENTO;IDCARGOVEND"};
}

rules::EventTypeColumn eventoColumn(TfrmComissao& f) {
    return {f.dbgEvento, f.cdsEvento, f.cdsEventoCDTIPOEVENTO, f.cdsEventoNMTIPOEVENTO};
}

}  // namespace

void TfrmComissao::cdsEventoBeforeInsert(tk::TClientDataSet&) {
    dbgEvento.SetSelectedIndex(Consiste::IndiceCol(dbgEvento, "CDTIPOEVENTO"));
}

void TfrmComissao::cdsEventoAfterInsert(tk::TClientDataSet&) { cdsEventoCDTIPOEVENTO.FocusControl(); }

void TfrmComissao::cdsEventoBeforePost(tk::TClientDataSet&) {
    if (cdsEvento.State() == tk::TDataSetState::dsInsert) cdsEventoNRCOMISSAOOREV.SetAsFloat(NrComissao());
    Vd_TpEvento(true);
    Vd_Cargo_TpEven(true);
    Vd_EventoCadastrado();
}

void TfrmComissao::cdsEventoAfterPost(tk::TClientDataSet&) { rules::SendAndReload(*this, eventoScope(*this)); }

void TfrmComissao::cdsEventoAfterDelete(tk::TClientDataSet&) { rules::SendDelete(*this, eventoScope(*this)); }

void TfrmComissao::cdsEventoAfterCancel(tk::TClientDataSet&) { rules::DropChanges(eventoScope(*this)); }

void TfrmComissao::cdsEventoBeforeEdit(tk::TClientDataSet&) { rules::PostPendingBands(eventoScope(*this)); }

void TfrmComissao::cdsEventoBeforeScroll(tk::TClientDataSet&) { rules::PostPendingBands(eventoScope(*this)); }

void TfrmComissao::cdsEventoAfterScroll(tk::TClientDataSet&) { rules::ReloadBands(*this, eventoScope(*this)); }

// Codes are digits; a position is chosen from the pick list, never typed.
void TfrmComissao::dbgEventoKeyPress(tk::TObject&, char32_t& Key) {
    if (rules::SelectedIs(dbgEvento, "CDTIPOEVENTO"))
        rules::KeepDigitKey(Key);
    else if (rules::SelectedIs(dbgEvento, "IDCARGOVEND"))
        rules::KeepPickListKey(Key);
}

void TfrmComissao::dbgEventoEditButtonClick(tk::TObject&) { rules::SearchEventType(*this, eventoColumn(*this)); }

void TfrmComissao::dbgEventoColExit(tk::TObject&) {
    if (rules::SelectedIs(dbgEvento, "CDTIPOEVENTO")) Vd_TpEvento(false);
}

void TfrmComissao::dbgEventoExit(tk::TObject&) {
    Vd_TpEvento(true);
    if (cdsEvento.Editing()) cdsEvento.Post();
}

void TfrmComissao::Vd_TpEvento(bool Obrigatorio) {
    rules::CheckEventTypeCode(*this, eventoColumn(*this), Obrigatorio);
}

void TfrmComissao::Vd_Cargo_TpEven(bool Obrigatorio) {
    rules::RequireChoice(*this, dbgEvento, cdsEvento, cdsEventoIDCARGOVEND, "Cargo_NCad", Obrigatorio);
}

// Every stored rule with this event type and position conflicts, except the rule's own
// stored copy: a rule edited and posted unchanged must not meet itself.
void TfrmComissao::Vd_EventoCadastrado() {
    auto reply = rdmComissao.getEventoCad(NrComissao(), cdsEventoCDTIPOEVENTO.AsString(), cdsEventoIDCARGOVEND.AsString());
    cdsVdEventoCad.SetData(Consiste::CheckResultServ(reply, true, 0));
    const double own = cdsEventoNRCOMISSAOTPEVENTOREV.AsFloat();
    for (cdsVdEventoCad.First(); !cdsVdEventoCad.Eof(); cdsVdEventoCad.Next()) {
        if (cdsVdEventoCadNRCOMISSAOTPEVENTOREV.AsFloat() != own)
            Consiste::MensErro(msgPadrao.Msg("TPEVENTO_CAD"), true);
    }
}
