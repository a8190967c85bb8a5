// Promotion rules: a window inside the commission table's period, a base date, an event
// type and a position; windows of the same kind may not overlap.
#include "framework/consiste.h"
#include "rules/comissao_rules.h"
#include "rules/rule_conflicts.h"
#include "toolkit/event_handler.h"

namespace rules {

namespace Consiste = fw::Consiste;

void ComissaoRules::bindPromocao() {
    using R = ComissaoRules;
    cdsPromocao.BeforeInsert = tk::Handler(this, &R::cdsPromocaoBeforeInsert);
    cdsPromocao.AfterInsert = tk::Handler(this, &R::cdsPromocaoAfterInsert);
    cdsPromocao.BeforePost = tk::Handler(this, &R::cdsPromocaoBeforePost);
    cdsPromocao.AfterPost = tk::Handler(this, &R::cdsPromocaoAfterPost);
    cdsPromocao.AfterDelete = tk::Handler(this, &R::cdsPromocaoAfterDelete);
    cdsPromocao.AfterCancel = tk::Handler(this, &R::cdsPromocaoAfterCancel);
    cdsPromocao.BeforeEdit = tk::Handler(this, &R::cdsPromocaoBeforeEdit);
    cdsPromocao.BeforeScroll = tk::Handler(this, &R::cdsPromocaoBeforeScroll);
    cdsPromocao.AfterScroll = tk::Handler(this, &R::cdsPromocaoAfterScroll);
    cdsPromocaoDTVALINICOMISPROMO.OnSetText = tk::Handler(this, &R::cdsPromocaoDTVALINICOMISPROMOSetText);
    cdsPromocaoDTVALFINCOMISPROMO.OnSetText = tk::Handler(this, &R::cdsPromocaoDTVALFINCOMISPROMOSetText);
    dbgPromocao.OnKeyPress = tk::Handler(this, &R::dbgPromocaoKeyPress);
    dbgPromocao.OnEditButtonClick = tk::Handler(this, &R::dbgPromocaoEditButtonClick);
    dbgPromocao.OnColExit = tk::Handler(this, &R::dbgPromocaoColExit);
    dbgPromocao.OnExit = tk::Handler(this, &R::dbgPromocaoExit);
}

void ComissaoRules::cdsPromocaoBeforeInsert(tk::TClientDataSet&) {
    dbgPromocao.SetSelectedIndex(Consiste::IndiceCol(dbgPromocao, "DTVALINICOMISPROMO"));
}

void ComissaoRules::cdsPromocaoAfterInsert(tk::TClientDataSet&) { cdsPromocaoDTVALINICOMISPROMO.FocusControl(); }

// The order matters: the window check relies on a start and an end in order.
void ComissaoRules::cdsPromocaoBeforePost(tk::TClientDataSet&) {
    if (cdsPromocao.State() == tk::TDataSetState::dsInsert) cdsPromocaoNRCOMISSAOOREV.SetAsFloat(NrComissao());
    Vd_DtIniPromocao(true);
    Vd_DtFinPromocao(true);
    Vd_DataBase(true);
    Vd_TpEvento_Promocao(true);
    Vd_Cargo_Promocao(true);
    Vd_DtPromocao();
}

void ComissaoRules::cdsPromocaoAfterPost(tk::TClientDataSet&) { SendAndReload(*this, promocao_); }

void ComissaoRules::cdsPromocaoAfterDelete(tk::TClientDataSet&) { SendDelete(*this, promocao_); }

void ComissaoRules::cdsPromocaoAfterCancel(tk::TClientDataSet&) { DropChanges(promocao_); }

void ComissaoRules::cdsPromocaoBeforeEdit(tk::TClientDataSet&) { PostPendingBands(promocao_); }

void ComissaoRules::cdsPromocaoBeforeScroll(tk::TClientDataSet&) { PostPendingBands(promocao_); }

void ComissaoRules::cdsPromocaoAfterScroll(tk::TClientDataSet&) { ReloadBands(*this, promocao_); }

void ComissaoRules::cdsPromocaoDTVALINICOMISPROMOSetText(tk::TField& Sender, const std::string& Text) {
    DateEntry(Sender, Text);
}

void ComissaoRules::cdsPromocaoDTVALFINCOMISPROMOSetText(tk::TField& Sender, const std::string& Text) {
    DateEntry(Sender, Text);
}

// Base date and position come from their pick lists; codes are digits.
void ComissaoRules::dbgPromocaoKeyPress(tk::TObject&, char32_t& Key) {
    if (SelectedIs(dbgPromocao, "IDCARGOVEND") || SelectedIs(dbgPromocao, "IDDTBASECOMISPROMO"))
        KeepPickListKey(Key);
    else if (SelectedIs(dbgPromocao, "CDTIPOEVENTO"))
        KeepDigitKey(Key);
}

void ComissaoRules::dbgPromocaoEditButtonClick(tk::TObject&) {
    SearchEventType(*this, promocaoColumn_);
}

void ComissaoRules::dbgPromocaoColExit(tk::TObject&) {
    if (SelectedIs(dbgPromocao, "CDTIPOEVENTO")) Vd_TpEvento_Promocao(false);
}

void ComissaoRules::dbgPromocaoExit(tk::TObject&) {
    Vd_TpEvento_Promocao(true);
    if (cdsPromocao.Editing()) cdsPromocao.Post();
}

void ComissaoRules::Vd_DtIniPromocao(bool Obrigatorio) {
    if (Obrigatorio && Consiste::EmptyString(ColumnText(dbgPromocao, "DTVALINICOMISPROMO")))
        FailFocusAfter(*this, cdsPromocaoDTVALINICOMISPROMO, "N_DtIni");
}

void ComissaoRules::Vd_DtFinPromocao(bool Obrigatorio) {
    if (Consiste::EmptyString(ColumnText(dbgPromocao, "DTVALFINCOMISPROMO"))) {
        if (Obrigatorio) FailFocusAfter(*this, cdsPromocaoDTVALFINCOMISPROMO, "N_DtFin");
        return;
    }
    if (cdsPromocaoDTVALFINCOMISPROMO.AsDateTime() < cdsPromocaoDTVALINICOMISPROMO.AsDateTime())
        FailFocusAfter(*this, cdsPromocaoDTVALFINCOMISPROMO, "DtIni>DtFin");
}

void ComissaoRules::Vd_DataBase(bool Obrigatorio) {
    RequireChoice(*this, dbgPromocao, cdsPromocao, cdsPromocaoIDDTBASECOMISPROMO, "DtBase_NCad",
                         Obrigatorio);
}

void ComissaoRules::Vd_TpEvento_Promocao(bool Obrigatorio) {
    CheckEventTypeCode(*this, promocaoColumn_, Obrigatorio);
}

void ComissaoRules::Vd_Cargo_Promocao(bool Obrigatorio) {
    RequireChoice(*this, dbgPromocao, cdsPromocao, cdsPromocaoIDCARGOVEND, "Cargo_NCad", Obrigatorio);
}

// Inside the commission table's period first (no server question when it is not), then
// no overlap with another stored rule of the same base date, event type and position.
void ComissaoRules::Vd_DtPromocao() {
    const auto start = cdsPromocaoDTVALINICOMISPROMO.AsDateTime();
    const auto end = cdsPromocaoDTVALFINCOMISPROMO.AsDateTime();
    if (!WithinPeriod(cdsComissaoDTVALIDADEINI.AsDateTime(), cdsComissaoDTVALIDADEFIN.AsDateTime(), start,
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
        if (sameKind && WindowsOverlap(start, end, cdsVdDtPromoDTVALINICOMISPROMO.AsDateTime(),
                                              cdsVdDtPromoDTVALFINCOMISPROMO.AsDateTime())) {
            cdsPromocaoIDDTBASECOMISPROMO.FocusControl();
            Consiste::MensErro(msgPadrao.Msg("DTPROM_CAD"), true);
        }
    }
}

}  // namespace rules
