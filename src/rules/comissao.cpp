// The commission tables: their checks, their life on the server, date entry and the key
// filters of the commission grid.
#include "framework/consiste.h"
#include "framework/host_services.h"
#include "rules/comissao_period.h"
#include "rules/comissao_rules.h"
#include "toolkit/event_handler.h"
#include "toolkit/exceptions.h"

namespace rules {

namespace Consiste = fw::Consiste;

namespace {

// The text of `field` as the commission grid edits it.
std::string gridText(const tk::TDBGrid& grid, const tk::TField& field) {
    const int col = Consiste::IndiceCol(grid, field.FieldName());
    const tk::TField* shown = col >= 0 ? grid.Columns()[col].Field() : nullptr;
    return (shown ? *shown : field).Text();
}

// Shows the message of `key` and stops the action; the focus then goes to `focus`.
[[noreturn]] void refuse(const fw::TMessages& messages, const char* key, tk::TField& focus) {
    try {
        Consiste::MensErro(messages.Msg(key), true);
    } catch (...) {
        focus.FocusControl();
        throw;
    }
    // MensErro with the stop flag always aborts; this keeps the promise if it did not.
    tk::Abort();
}

// What a typed date leaves once its separators are gone: blank for an untouched mask.
bool bareMask(const std::string& text) {
    std::string rest;
    for (char c : text)
        if (c != '/') rest += c;
    return Consiste::EmptyString(rest);
}

bool isDate(const tk::TField& field) {
    return field.FieldName() == "DTVALIDADEINI" || field.FieldName() == "DTVALIDADEFIN";
}

// A validity period is typed only into a new table; a stored one keeps its dates. Both
// date fields are made writable or read-only accordingly; true when they take typing.
bool datesTakeTyping(ComissaoForm& form) {
    const bool inserting = form.cdsComissao.State() == tk::TDataSetState::dsInsert;
    form.cdsComissaoDTVALIDADEINI.ReadOnly = !inserting;
    form.cdsComissaoDTVALIDADEFIN.ReadOnly = !inserting;
    return inserting;
}

}  // namespace

void ComissaoRules::bindComissao() {
    using R = ComissaoRules;
    cdsComissao.BeforeInsert = tk::Handler(this, &R::cdsComissaoBeforeInsert);
    cdsComissao.BeforePost = tk::Handler(this, &R::cdsComissaoBeforePost);
    cdsComissao.AfterPost = tk::Handler(this, &R::cdsComissaoAfterPost);
    cdsComissao.AfterCancel = tk::Handler(this, &R::cdsComissaoAfterCancel);
    cdsComissao.AfterDelete = tk::Handler(this, &R::cdsComissaoAfterDelete);
    cdsComissaoDTVALIDADEINI.OnSetText = tk::Handler(this, &R::cdsComissaoDTVALIDADEINISetText);
    cdsComissaoDTVALIDADEFIN.OnSetText = tk::Handler(this, &R::cdsComissaoDTVALIDADEFINSetText);
    dbgPadrao.OnColExit = tk::Handler(this, &R::dbgPadraoColExit);
    dbgPadrao.OnExit = tk::Handler(this, &R::dbgPadraoExit);
    dbgPadrao.OnKeyPress = tk::Handler(this, &R::dbgPadraoKeyPress);
    // dbgPadrao.OnKeyDown is the base screen's binding of dbgPadraoKeyDown, overridden here.
}

void ComissaoRules::Vd_Nome(bool Obrigatorio) {
    if (Obrigatorio && Consiste::EmptyString(gridText(dbgPadrao, cdsComissaoDSCOMISSAOOREV)))
        refuse(msgPadrao, "Nm_Deve", cdsComissaoDSCOMISSAOOREV);
}

void ComissaoRules::Vd_DtIniComissao(bool Obrigatorio) {
    if (Obrigatorio && Consiste::EmptyString(gridText(dbgPadrao, cdsComissaoDTVALIDADEINI)))
        refuse(msgPadrao, "N_DtIni", cdsComissaoDTVALIDADEINI);
}

void ComissaoRules::Vd_DtFinComissao(bool Obrigatorio) {
    if (Consiste::EmptyString(gridText(dbgPadrao, cdsComissaoDTVALIDADEFIN))) {
        if (Obrigatorio) refuse(msgPadrao, "N_DtFin", cdsComissaoDTVALIDADEFIN);
        return;
    }
    if (cdsComissaoDTVALIDADEFIN.AsDateTime() < cdsComissaoDTVALIDADEINI.AsDateTime())
        refuse(msgPadrao, "DtIni>DtFin", cdsComissaoDTVALIDADEFIN);
}

void ComissaoRules::cdsComissaoBeforeInsert(tk::TClientDataSet&) { cdsComissaoDSCOMISSAOOREV.FocusControl(); }

void ComissaoRules::cdsComissaoBeforePost(tk::TClientDataSet&) {
    Vd_Nome(true);
    Vd_DtIniComissao(true);
    Vd_DtFinComissao(true);
    cdsComissaoCDFILIAL.SetAsString(fw::Velmora::FiliProc());
    // Only a new table has its period tested: a stored one keeps its dates.
    if (cdsComissao.State() != tk::TDataSetState::dsInsert) return;

    try {
        cdsVdDtComissao.SetData(Consiste::CheckResultServ(rdmComissao.GetComissao(), true, 0));
        const Period novo{cdsComissaoDTVALIDADEINI.AsDateTime(), cdsComissaoDTVALIDADEFIN.AsDateTime()};
        for (cdsVdDtComissao.First(); !cdsVdDtComissao.Eof(); cdsVdDtComissao.Next()) {
            const Period stored{cdsVdDtComissaoDTVALIDADEINI.AsDateTime(),
                                       cdsVdDtComissaoDTVALIDADEFIN.AsDateTime()};
            const PeriodClash clash = ComparePeriods(novo, stored);
            if (clash == PeriodClash::none) continue;
            Consiste::MensErro(msgPadrao.Msg(clash == PeriodClash::spans ? "DATA_<>" : "DT_N_CONT"), true);
            tk::Abort();  // MensErro stops the post; never go on past a clash
        }
    } catch (...) {
        cdsComissaoDTVALIDADEINI.FocusControl();
        throw;
    }
}

void ComissaoRules::cdsComissaoAfterPost(tk::TClientDataSet&) {
    SendReloadLocate(
        *this, cdsComissao, &server::RdmComissao::SetComissao, [this] { return rdmComissao.GetComissao(); },
        "DTVALIDADEINI;DTVALIDADEFIN");
}

void ComissaoRules::cdsComissaoAfterCancel(tk::TClientDataSet&) { cdsComissao.CancelUpdates(); }

void ComissaoRules::cdsComissaoAfterDelete(tk::TClientDataSet&) {
    SendAfterDelete(*this, cdsComissao, &server::RdmComissao::SetComissao);
}

void ComissaoRules::cdsComissaoDTVALIDADEINISetText(tk::TField& Sender, const std::string& Text) {
    if (bareMask(Text))
        cdsComissaoDTVALIDADEINI.Clear();
    else
        Consiste::DateSetText(Sender, Text);
}

void ComissaoRules::cdsComissaoDTVALIDADEFINSetText(tk::TField& Sender, const std::string& Text) {
    if (bareMask(Text))
        cdsComissaoDTVALIDADEFIN.Clear();
    else
        Consiste::DateSetText(Sender, Text);
}

void ComissaoRules::dbgPadraoColExit(tk::TObject&) {
    const tk::TField* field = dbgPadrao.SelectedField();
    if (dtsPadrao.Editing() && field && field->FieldName() == "DSCOMISSAOOREV") Vd_Nome(false);
}

void ComissaoRules::dbgPadraoExit(tk::TObject&) {
    if (dtsPadrao.Editing()) Vd_Nome(true);
}

void ComissaoRules::dbgPadraoKeyPress(tk::TObject&, char32_t& Key) {
    const tk::TField* field = dbgPadrao.SelectedField();
    if (!field) return;
    const tk::TClientDataSet* data = dtsPadrao.DataSet();
    const bool inserting = data && data->State() == tk::TDataSetState::dsInsert;

    if ((field->Tag & 1) && !inserting && Key != U'\t' && Key != U'\r') Key = 0;
    if (field->FieldName() == "NRCOMISSAOOREV" && !(Key >= U'0' && Key <= U'9')) Key = 0;
    if (isDate(*field) && !datesTakeTyping(*this)) Key = 0;
}

// Also on every state change, so that the grid shows a stored table's dates read-only
// before the first keystroke.
void ComissaoRules::TravaDatasComissao() { datesTakeTyping(*this); }

void ComissaoRules::dbgPadraoKeyDown(tk::TObject& Sender, std::uint16_t& Key, tk::TShiftState Shift) {
    fw::TfrmPadrao::dbgPadraoKeyDown(Sender, Key, Shift);
    // Delete empties a cell without typing a character: the dates refuse it as they refuse
    // every character.
    const tk::TField* selected = dbgPadrao.SelectedField();
    if (&Sender == &dbgPadrao && Key == tk::VK_DELETE && selected && isDate(*selected) && !datesTakeTyping(*this))
        tk::Abort();
    if (dtsPadrao.State() == tk::TDataSetState::dsInsert) return;
    if (dbgPadrao.SelectedField() != &cdsComissaoNRCOMISSAOOREV) return;
    const bool allowed = Key == tk::VK_TAB || Key == tk::VK_RETURN || (Key >= tk::VK_LEFT && Key <= tk::VK_DOWN) ||
                         Key == tk::VK_INSERT;
    if (!allowed) tk::Abort();
}

}  // namespace rules
