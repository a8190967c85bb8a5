// Position rules: one rule per position under a commission table.
#include <string>

#include "framework/consiste.h"
#include "model/code_tables.h"
#include "rules/rule_conflicts.h"
#include "rules/scope_list.h"
#include "screen/tfrmcomissao.h"

namespace Consiste = fw::Consiste;

namespace {

rules::Scope cargoScope(TfrmComissao& f) {
    return {f.cdsCargo,         f.cdsCargoNRCOMISSAOCARGOOREV, f.cdsPercCargo,  model::kScopeCargo,
            &server::RdmComissao::SetCargo, &server::RdmComissao::GetCargo, "IDCARGOVEND"};
}

// The server's duplicate answer covers every stored rule, the edited rule's stored copy
// included. Every post is sent at once, so the position the rule held when its edit began
// is its stored one: meeting that position is meeting itself.
bool isOwnStoredPosition(const TfrmComissao& f, const std::string& code) {
    return f.cdsCargo.State() == tk::TDataSetState::dsEdit &&
           wire::render(f.cdsCargoIDCARGOVEND.OldValue()) == code;
}

}  // namespace

void TfrmComissao::cdsCargoBeforeInsert(tk::TClientDataSet&) {
    dbgCargo.SetSelectedIndex(Consiste::IndiceCol(dbgCargo, "IDCARGOVEND"));
}

void TfrmComissao::cdsCargoAfterInsert(tk::TClientDataSet&) { cdsCargoIDCARGOVEND.FocusControl(); }

void TfrmComissao::cdsCargoBeforePost(tk::TClientDataSet&) {
    if (cdsCargo.State() == tk::TDataSetState::dsInsert) cdsCargoNRCOMISSAOOREV.SetAsFloat(NrComissao());
    Vd_Cargo(true);
}

void TfrmComissao::cdsCargoAfterPost(tk::TClientDataSet&) { rules::SendAndReload(*this, cargoScope(*this)); }

void TfrmComissao::cdsCargoAfterCancel(tk::TClientDataSet&) { rules::DropChanges(cargoScope(*this)); }

void TfrmComissao::cdsCargoAfterDelete(tk::TClientDataSet&) { rules::SendDelete(*this, cargoScope(*this)); }

void TfrmComissao::cdsCargoBeforeEdit(tk::TClientDataSet&) { rules::PostPendingBands(cargoScope(*this)); }

void TfrmComissao::cdsCargoBeforeScroll(tk::TClientDataSet&) { rules::PostPendingBands(cargoScope(*this)); }

void TfrmComissao::cdsCargoAfterScroll(tk::TClientDataSet&) { rules::ReloadBands(*this, cargoScope(*this)); }

void TfrmComissao::dbgCargoColExit(tk::TObject&) { Vd_Cargo(false); }

void TfrmComissao::dbgCargoExit(tk::TObject&) {
    Vd_Cargo(true);
    if (cdsCargo.Editing()) cdsCargo.Post();
}

// A position is chosen from the pick list, never typed.
void TfrmComissao::dbgCargoKeyPress(tk::TObject&, char32_t& Key) {
    if (rules::SelectedIs(dbgCargo, "IDCARGOVEND")) rules::KeepPickListKey(Key);
}

void TfrmComissao::Vd_Cargo(bool Obrigatorio) {
    const std::string text = rules::ColumnText(dbgCargo, "IDCARGOVEND");
    const bool empty = Consiste::EmptyString(text);
    if (!cdsCargo.Editing()) return;
    try {
        if (empty) {
            if (Obrigatorio) Consiste::MensErro(msgPadrao.Msg("Cargo_NCad"), true);
            return;
        }
        // The shown word goes back as the value: the one-character field keeps its initial.
        cdsCargoIDCARGOVEND.SetAsString(text);
        const std::string code = cdsCargoIDCARGOVEND.AsString();
        cdsVdCargo.SetData(Consiste::CheckResultServ(rdmComissao.GetVdCargo(NrComissao(), code), true, 0));
        if (!cdsVdCargo.IsEmpty() && !isOwnStoredPosition(*this, code))
            Consiste::MensErro(msgPadrao.Msg("Cargo_cad"), true);
    } catch (...) {
        cdsCargoIDCARGOVEND.FocusControl();
        throw;
    }
}
