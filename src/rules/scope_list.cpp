#include "rules/scope_list.h"

#include <algorithm>

#include "framework/consiste.h"
#include "framework/dialogs.h"
#include "rules/comissao_form.h"
#include "toolkit/exceptions.h"
#include "toolkit/keys.h"

namespace rules {

namespace Consiste = fw::Consiste;

void SendAndReload(ComissaoForm& form, const Scope& scope) {
    SendReloadLocate(
        form, scope.rules, scope.set,
        [&form, &scope] { return (form.rdmComissao.*scope.get)(form.NrComissao()); }, scope.keyFields);
}

void SendDelete(ComissaoForm& form, const Scope& scope) { SendAfterDelete(form, scope.rules, scope.set); }

void DropChanges(const Scope& scope) { scope.rules.CancelUpdates(); }

void ReloadBands(ComissaoForm& form, const Scope& scope) {
    auto reply = form.rdmComissao.GetPercentual(form.NrComissao(), scope.ruleNumber.AsFloat(), scope.kind);
    scope.bands.SetData(Consiste::CheckResultServ(reply, true, 0));
}

void PostPendingBands(const Scope& scope) {
    if (scope.bands.Editing()) scope.bands.CheckBrowseMode();
}

std::string ColumnText(const tk::TDBGrid& grid, std::string_view fieldName) {
    const int index = Consiste::IndiceCol(grid, fieldName);
    const tk::TField* field = index < 0 ? nullptr : grid.Columns()[static_cast<size_t>(index)].Field();
    return field ? field->Text() : std::string();
}

bool SelectedIs(const tk::TDBGrid& grid, std::string_view fieldName) {
    const tk::TField* field = grid.SelectedField();
    return field && field->FieldName() == fieldName;
}

void KeepPickListKey(char32_t& key) {
    if (key != tk::VK_RETURN) key = 0;
}

void KeepDigitKey(char32_t& key) {
    if (!(key >= U'0' && key <= U'9') && key != tk::VK_BACK) key = 0;
}

void FailFocusAfter(ComissaoForm& form, tk::TField& field, const char* messageKey) {
    try {
        Consiste::MensErro(form.msgPadrao.Msg(messageKey), true);
    } catch (...) {
        field.FocusControl();
        throw;
    }
    throw tk::EAbort();  // not reached: MensErro with stop always aborts
}

void RequireChoice(ComissaoForm& form, const tk::TDBGrid& grid, const tk::TClientDataSet& rules,
                   tk::TField& field, const char* messageKey, bool obrigatorio) {
    const bool empty = Consiste::EmptyString(ColumnText(grid, field.FieldName()));
    if (rules.Editing() && empty && obrigatorio) FailFocusAfter(form, field, messageKey);
}

void CheckEventTypeCode(ComissaoForm& form, const EventTypeColumn& column, bool obrigatorio) {
    const std::string text = ColumnText(column.grid, column.code.FieldName());
    const bool empty = Consiste::EmptyString(text);
    if (!column.rules.Editing()) return;
    try {
        if (empty) {
            if (obrigatorio) Consiste::MensErro(form.msgPadrao.Msg("TPEVEN_NINF"), true);
            return;
        }
        column.code.SetAsString(Consiste::Ajusta(text, 3));
        auto& query = form.qryVdTpEvento;
        query.Close();
        query.ParamByName("P_CDTIPOEVENTO").SetAsString(column.code.AsString());
        query.Open();
        if (query.IsEmpty()) Consiste::MensErro(form.msgPadrao.Msg("EVEN_N_CAD"), true);
        column.name.SetAsString(form.qryVdTpEventoNMTIPOEVENTO.AsString());
    } catch (...) {
        column.code.FocusControl();
        throw;
    }
}

void SearchEventType(ComissaoForm& form, const EventTypeColumn& column) {
    if (!SelectedIs(column.grid, column.code.FieldName())) return;
    form.qryTipoEvento.Close();
    form.qryTipoEvento.Open();
    const std::string title = form.msgPadrao.Msg("TIPOEVENTO") + "|" + form.msgPadrao.Msg("EVEN_N_CAD");
    if (!fw::Pesquisa::Pesquisar(form.dtsTipoEvento, title, false, true)) return;
    if (column.rules.State() == tk::TDataSetState::dsBrowse) column.rules.Edit();
    column.code.SetAsString(form.qryTipoEventoCDTIPOEVENTO.AsString());
    column.name.SetAsString(form.qryTipoEventoNMTIPOEVENTO.AsString());
}

void DateEntry(tk::TField& field, const std::string& text) {
    std::string digits = text;
    digits.erase(std::remove(digits.begin(), digits.end(), '/'), digits.end());
    if (Consiste::EmptyString(digits))
        field.Clear();
    else
        Consiste::DateSetText(field, text);
}

}  // namespace rules
