#include "screen/page_loading.h"

#include <optional>

#include "framework/consiste.h"
#include "model/code_tables.h"
#include "screen/tfrmcomissao.h"

namespace screen {

namespace {

using GetRules = fw::TServerReply (server::RdmComissao::*)(double);

// The lists of one scope page and how they are fetched.
struct ScopePage {
    GetRules get;
    tk::TClientDataSet& rules;
    const tk::TField& ruleKey;
    tk::TClientDataSet& bands;
    const char* scopeKind;
};

std::optional<ScopePage> scopeOf(TfrmComissao& f, const tk::TTabSheet& page) {
    if (&page == &f.tshFormulario)
        return ScopePage{&server::RdmComissao::GetCargo, f.cdsCargo, f.cdsCargoNRCOMISSAOCARGOOREV, f.cdsPercCargo,
                         model::kScopeCargo};
    if (&page == &f.tshEvento)
        return ScopePage{&server::RdmComissao::GetEvento, f.cdsEvento, f.cdsEventoNRCOMISSAOTPEVENTOREV,
                         f.cdsPercEvento, model::kScopeTipoEvento};
    if (&page == &f.tshPromocao)
        return ScopePage{&server::RdmComissao::GetPromocao, f.cdsPromocao, f.cdsPromocaoNRCOMISSAOPROMOREV,
                         f.cdsPercPromocao, model::kScopePromocao};
    return std::nullopt;
}

}  // namespace

bool LoadScopePage(TfrmComissao& form, const tk::TTabSheet& page) {
    const auto scope = scopeOf(form, page);
    if (!scope) return false;
    PostPendingEdits(form, page);
    const double nr = form.NrComissao();
    scope->rules.SetData(fw::Consiste::CheckResultServ((form.rdmComissao.*scope->get)(nr), true, 0));
    // Read after the reload: the rule the list now stands on, 0 when it has none.
    const double rule = scope->ruleKey.AsFloat();
    scope->bands.SetData(
        fw::Consiste::CheckResultServ(form.rdmComissao.GetPercentual(nr, rule, scope->scopeKind), true, 0));
    return true;
}

void FollowComissao(TfrmComissao& form) {
    if (const tk::TTabSheet* active = form.pgcPadrao.ActivePage()) LoadScopePage(form, *active);
}

void PostPendingEdits(TfrmComissao& form, const tk::TTabSheet& page) {
    const auto scope = scopeOf(form, page);
    if (!scope) return;
    // Bands first: posting a rule reloads the rule list, and with it the band list.
    for (tk::TClientDataSet* list : {&scope->bands, &scope->rules})
        if (list->Editing()) list->CheckBrowseMode();
}

}  // namespace screen
