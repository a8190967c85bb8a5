#include "screen/page_loading.h"

#include "framework/consiste.h"
#include "model/code_tables.h"
#include "screen/tfrmcomissao.h"

namespace screen {

namespace {

using GetRules = fw::TServerReply (server::RdmComissao::*)(double);

void loadRulesAndBands(TfrmComissao& form, GetRules get, tk::TClientDataSet& rules, const tk::TField& ruleKey,
                       tk::TClientDataSet& bands, const char* scopeKind) {
    const double nr = form.NrComissao();
    rules.SetData(fw::Consiste::CheckResultServ((form.rdmComissao.*get)(nr), true, 0));
    // Read after the reload: the rule the list now stands on, 0 when it has none.
    const double rule = ruleKey.AsFloat();
    bands.SetData(fw::Consiste::CheckResultServ(form.rdmComissao.GetPercentual(nr, rule, scopeKind), true, 0));
}

}  // namespace

bool LoadScopePage(TfrmComissao& form, const tk::TTabSheet& page) {
    if (&page == &form.tshFormulario) {
        loadRulesAndBands(form, &server::RdmComissao::GetCargo, form.cdsCargo, form.cdsCargoNRCOMISSAOCARGOOREV,
                          form.cdsPercCargo, model::kScopeCargo);
    } else if (&page == &form.tshEvento) {
        loadRulesAndBands(form, &server::RdmComissao::GetEvento, form.cdsEvento,
                          form.cdsEventoNRCOMISSAOTPEVENTOREV, form.cdsPercEvento, model::kScopeTipoEvento);
    } else if (&page == &form.tshPromocao) {
        loadRulesAndBands(form, &server::RdmComissao::GetPromocao, form.cdsPromocao,
                          form.cdsPromocaoNRCOMISSAOPROMOREV, form.cdsPercPromocao, model::kScopePromocao);
    } else {
        return false;
    }
    return true;
}

}  // namespace screen
