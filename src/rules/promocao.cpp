// Promotion rules: a window inside the commission table's period, a base date, an event
// type and a position; windows of the same kind may not overlap.
#include "framework/consiste.h"
#include "model/code_tables.h"
#include "rules/rule_conflicts.h"
#include "rules/scope_list.h"
#include "screen/tfrmcomissao.h"

namespace Consiste = fw::Consiste;

namespace {

rules::Scope promocaoScope(TfrmComissao& f) {
    return {f.cdsPromocao,
            f.cdsPromocaoNRCOMISSAOPROMOREV,
            f.cdsPercPromocao,
            model::kScopePromocao,
            &server::RdmComissao::SetPromocao,
            &server::RdmComissao::GetPromocao,
            "DTVALINICOMISPROMO;DTVALFINCOMISPROMO;IDDTBASECOMISPROMO;CDTIPOEVENTO;IDCARGOVEND"};
}

rules::EventTypeColumn promocaoColumn(TfrmComissao& f) {
    return {f.dbgPromocao, f.cdsPromocao, f.cdsPromocaoCDTIPOEVENTO, f.cdsPromocaoNMTIPOEVENTO};
}

}  // namespace

void TfrmComissao::cdsPromocaoBeforeInsert(tk::TClientDataSet&) {
    dbgPromocao.SetSelectedIndex(Consiste::IndiceCol(dbgPromocao, "DTVALINICOMISPROMO"));
}

void TfrmComissao::cdsPromocaoAfterInsert(tk::TClientDataSet&) { cdsPromocaoDTVALINICOMISPROMO.FocusControl(); }

// The order matters: the window check relies on a start and an end in order.
void TfrmComissao::cdsPromocaoBeforePost(tk::TClientDataSet&) {
    if (cdsPromocao.State() == tk::TDataSetState::dsInsert) cdsPromocaoNRCOMISSAOOREV.SetAsFloat(NrComissao());
    Vd_DtIniPromocao(true);
    Vd_DtFinPromocao(true);
    Vd_DataBase(true);
    Vd_TpEvento_Promocao(true);
    Vd_Cargo_Promocao(true);
    Vd_DtPromocao();
}

void TfrmComissao::cdsPromocaoAfterPost(tk::TClientDataSet&) { rules::SendAndReload(*this, promocaoScope(*this)); }

void TfrmComissao::cdsPromocaoAfterDelete(tk::TClientDataSet&) { rules::SendDelete(*this, promocaoScope(*this)); }

void TfrmComissao::cdsPromocaoAfterCancel(tk::TClientDataSet&) { rules::DropChanges(promocaoScope(*this)); }

void TfrmComissao::cdsPromocaoBeforeEdit(tk::TClientDataSet&) { rules::PostPendingBands(promocaoScope(*this)); }

void TfrmComissao::cdsPromocaoBeforeScroll(tk::TClientDataSet&) { rules::PostPendingBands(promocaoScope(*this)); }

void TfrmComissao::cdsPromocaoAfterScroll(tk::TClientDataSet&) { rules::ReloadBands(*this, promocaoScope(*this)); }

void TfrmComissao::cdsPromocaoDTVALINICOMISPROMOSetText(tk::TField& Sender, const std::string& Text) {
    rules::DateEntry(Sender, Text);
}

void TfrmComissao::cdsPromocaoDTVALFINCOMISPROMOSetText(tk::TField& Sender, const std::string& Text) {
    rules::DateEntry(Sender, Text);
}

// Base date and position come from their pick lists; codes are digits.
void TfrmComissao::dbgPromocaoKeyPress(tk::TObject&, char32_t& Key) {
    if (rules::SelectedIs(dbgPromocao, "IDCARGOVEND") || rules::SelectedIs(dbgPromocao, "IDDTBASECOMISPROMO"))
        rules::KeepPickListKey(Key);
    else if (rules::SelectedIs(dbgPromocao, "CDTIPOEVENTO"))
        rules::KeepDigitKey(Key);
}

void TfrmComissao::dbgPromocaoEditButtonClick(tk::TObject&) {
    rules::SearchEventType(*this, promocaoColumn(*this));
}

void TfrmComissao::dbgPromocaoColExit(tk::TObject&) {
    if (rules::SelectedIs(dbgPromocao, "CDTIPOEVENTO")) Vd_TpEvento_Promocao(false);
}

void TfrmComissao::dbgPromocaoExit(tk::TObject&) {
    Vd_TpEvento_Promocao(true);
    if (cdsPromocao.Editing()) cdsPromocao.Post();
}

void TfrmComissao::Vd_DtIniPromocao(bool Obrigatorio) {
    if (Obrigatorio && Consiste::EmptyString(rules::ColumnText(dbgPromocao, "DTVALINICOMISPROMO")))
        rules::FailFocusAfter(*this, cdsPromocaoDTVALINICOMISPROMO, "N_DtIni");
}

void TfrmComissao::Vd_DtFinPromocao(bool Obrigatorio) {
    if (Consiste::EmptyString(rules::ColumnText(dbgPromocao, "DTVALFINCOMISPROMO"))) {
        if (Obrigatorio) rules::FailFocusAfter(*this, cdsPromocaoDTVALFINCOMISPROMO, "N_DtFin");
        return;
    }
    if (cdsPromocaoDTVALFINCOMISPROMO.AsDateTime() < cdsPromocaoDTVALINICOMISPROMO.AsDateTime())
        rules::FailFocusAfter(*this, cdsPromocaoDTVALFINCOMISPROMO, "DtIni>DtFin");
}

void TfrmComissao::Vd_DataBase(bool Obrigatorio) {
    rules::RequireChoice(*this, dbgPromocao, cdsPromocao, cdsPromocaoIDDTBASECOMISPROMO, "DtBase_NCad",
                         Obrigatorio);
}

void TfrmComissao::Vd_TpEvento_Promocao(bool Obrigatorio) {
    rules::CheckEventTypeCode(*this, promocaoColumn(*this), Obrigatorio);
}

void TfrmComissao::Vd_Cargo_Promocao(bool Obrigatorio) {
    rules::RequireChoice(*this, dbgPromocao, cdsPromocao, cdsPromocaoIDCARGOVEND, "Cargo_NCad", Obrigatorio);
}

// Inside the commission table's period first (no server question when it is not), then
// no overlap with another stored rule of the same base date, event type and position.
void TfrmComissao::Vd_DtPromocao() {
    const auto start = cdsPromocaoDTVALINICOMISPROMO.AsDateTime();
    const auto end = cdsPromocaoDTVALFINCOMISPROMO.AsDateTime();
    if (!rules::WithinPeriod(cdsComissaoDTVALIDADEINI.AsDateTime(), cdsComissaoDTVALIDADEFIN.AsDateTime(), start,
                             end)) {
        cdsPromocaoDTVALINICOMISPROMO.FocusControl();
        Consiste::MensErro(msgPadrao.Msg("DTPROMO_COMI"), true);
    }
    cdsVdDtPromo.SetData(Consiste::CheckResultServ(rdmComissao.getVdDtPromo(NrComissao()), true, 0));
    const double own = cdsPromocaoNRCOMISSAOPROMOREV.AsFloat();
    for (cdsVdDtPromo.First(); !cdsVdDtPromo.Eof(); cdsVdDtPromo.Next()) {
        if (cdsVdDtPromoNRCOMISSAOPROMOREV.AsFloat() == own) continue;
        const bool sameKind = cdsVdDtPromoIDDTBASECOMISPROMO.AsString() == cdsPromocaoIDDTBASECOMISPROMO.AsString() &&
                              cdsVdDtPromoCDTIPOEVENTO.AsString() == cdsPromocaoCDTIPOEVENTO.AsString() &&
                              cdsVdDtPromoIDCARGOVEND.AsString() == cdsPromocaoIDCARGOVEND.AsString();
        if (sameKind && rules::WindowsOverlap(start, end, cdsVdDtPromoDTVALINICOMISPROMO.AsDateTime(),
                                              cdsVdDtPromoDTVALFINCOMISPROMO.AsDateTime())) {
            cdsPromocaoIDDTBASECOMISPROMO.FocusControl();
            Consiste::MensErro(msgPadrao.Msg("DTPROM_CAD"), true);
        }
    }
}
