// Position rules: one rule per position under a commission table.
#include <string>

#include "framework/consiste.h"
#include "rules/comissao_rules.h"
#include "toolkit/event_handler.h"

namespace rules {

namespace Consiste = fw::Consiste;

namespace {

// The server's duplicate answer covers every stored rule, the edited rule's stored copy
// included. Every post is sent at once, so the position the rule held when its edit began
// is its stored one: meeting that position is meeting itself.
bool isOwnStoredPosition(const ComissaoForm& f, const std::string& code) {
    return f.cdsCargo.State() == tk::TDataSetState::dsEdit &&
           wire::render(f.cdsCargoIDCARGOVEND.OldValue()) == code;
}

}  // namespace

void ComissaoRules::bindCargo() {
    using R = ComissaoRules;
    cdsCargo.BeforeInsert = tk::Handler(this, &R::cdsCargoBeforeInsert);
    cdsCargo.AfterInsert = tk::Handler(this, &R::cdsCargoAfterInsert);
    cdsCargo.BeforePost = tk::Handler(this, &R::cdsCargoBeforePost);
    cdsCargo.AfterPost = tk::Handler(this, &R::cdsCargoAfterPost);
    cdsCargo.AfterCancel = tk::Handler(this, &R::cdsCargoAfterCancel);
    cdsCargo.AfterDelete = tk::Handler(this, &R::cdsCargoAfterDelete);
    cdsCargo.BeforeEdit = tk::Handler(this, &R::cdsCargoBeforeEdit);
    cdsCargo.BeforeScroll = tk::Handler(this, &R::cdsCargoBeforeScroll);
    cdsCargo.AfterScroll = tk::Handler(this, &R::cdsCargoAfterScroll);
    dbgCargo.OnColExit = tk::Handler(this, &R::dbgCargoColExit);
    dbgCargo.OnExit = tk::Handler(this, &R::dbgCargoExit);
    dbgCargo.OnKeyPress = tk::Handler(this, &R::dbgCargoKeyPress);
    // The position grid shares the commission grid's key-down handler.
    dbgCargo.OnKeyDown = tk::Handler(this, &R::dbgPadraoKeyDown);
}

void ComissaoRules::cdsCargoBeforeInsert(tk::TClientDataSet&) {
    dbgCargo.SetSelectedIndex(Consiste::IndiceCol(dbgCargo, "IDCARGOVEND"));
}

void ComissaoRules::cdsCargoAfterInsert(tk::TClientDataSet&) { cdsCargoIDCARGOVEND.FocusControl(); }

void ComissaoRules::cdsCargoBeforePost(tk::TClientDataSet&) {
    if (cdsCargo.State() == tk::TDataSetState::dsInsert) cdsCargoNRCOMISSAOOREV.SetAsFloat(NrComissao());
    Vd_Cargo(true);
}

void ComissaoRules::cdsCargoAfterPost(tk::TClientDataSet&) { SendAndReload(*this, cargo_); }

void ComissaoRules::cdsCargoAfterCancel(tk::TClientDataSet&) { DropChanges(cargo_); }

void ComissaoRules::cdsCargoAfterDelete(tk::TClientDataSet&) { SendDelete(*this, cargo_); }

void ComissaoRules::cdsCargoBeforeEdit(tk::TClientDataSet&) { PostPendingBands(cargo_); }

void ComissaoRules::cdsCargoBeforeScroll(tk::TClientDataSet&) { PostPendingBands(cargo_); }

void ComissaoRules::cdsCargoAfterScroll(tk::TClientDataSet&) { ReloadBands(*this, cargo_); }

void ComissaoRules::dbgCargoColExit(tk::TObject&) { Vd_Cargo(false); }

void ComissaoRules::dbgCargoExit(tk::TObject&) {
    Vd_Cargo(true);
    if (cdsCargo.Editing()) cdsCargo.Post();
}

// A position is chosen from the pick list, never typed.
void ComissaoRules::dbgCargoKeyPress(tk::TObject&, char32_t& Key) {
    if (SelectedIs(dbgCargo, "IDCARGOVEND")) KeepPickListKey(Key);
}

void ComissaoRules::Vd_Cargo(bool Obrigatorio) {
    const std::string text = ColumnText(dbgCargo, "IDCARGOVEND");
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

}  // namespace rules
