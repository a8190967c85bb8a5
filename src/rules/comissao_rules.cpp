#include "rules/comissao_rules.h"

#include "model/code_tables.h"

namespace rules {

using server::RdmComissao;

ComissaoRules::ComissaoRules(tk::TComponent* owner, std::string name)
    : ComissaoForm(owner, std::move(name)),
      cargo_{tshFormulario,       cdsCargo,   cdsCargoNRCOMISSAOCARGOOREV, cdsPercCargo, model::kScopeCargo,
             &RdmComissao::SetCargo, &RdmComissao::GetCargo, "IDCARGOVEND"},
      evento_{tshEvento,           cdsEvento,   cdsEventoNRCOMISSAOTPEVENTOREV, cdsPercEvento, model::kScopeTipoEvento,
              &RdmComissao::SetEvento, &RdmComissao::GetEvento, "CDTIPOEVENTO;IDCARGOVEND"},
      promocao_{tshPromocao,
                cdsPromocao,
                cdsPromocaoNRCOMISSAOPROMOREV,
                cdsPercPromocao,
                model::kScopePromocao,
                &RdmComissao::SetPromocao,
                &RdmComissao::GetPromocao,
                "DTVALINICOMISPROMO;DTVALFINCOMISPROMO;IDDTBASECOMISPROMO;CDTIPOEVENTO;IDCARGOVEND"},
      eventoColumn_{dbgEvento, cdsEvento, cdsEventoCDTIPOEVENTO, cdsEventoNMTIPOEVENTO},
      promocaoColumn_{dbgPromocao, cdsPromocao, cdsPromocaoCDTIPOEVENTO, cdsPromocaoNMTIPOEVENTO},
      percCargo_{dbgPercCargo, cdsPercCargo, cdsCargo, "NRCOMISSAOCARGOOREV", model::kScopeCargo,
                 &RdmComissao::getVdVrCargo, cdsCargo, &RdmComissao::SetPercCargo},
      percEvento_{dbgPercEvento, cdsPercEvento, cdsEvento, "NRCOMISSAOTPEVENTOREV", model::kScopeTipoEvento,
                  &RdmComissao::getVdVrEvento, cdsEvento, &RdmComissao::SetPercEvento},
      // A promotion band's overlap check reads the rule number from the band itself.
      percPromocao_{dbgPercPromocao, cdsPercPromocao, cdsPromocao, "NRCOMISSAOPROMOREV", model::kScopePromocao,
                    &RdmComissao::getVdVrPromocao, cdsPercPromocao, &RdmComissao::SetPercPromocao} {
    bindComissao();
    bindCargo();
    bindEvento();
    bindPromocao();
    bindCodeTexts();
    bindBands();
    bindDecimalEntry();
}

const Scope* ComissaoRules::ScopeOfPage(const tk::TTabSheet& page) const {
    for (const Scope* scope : {&cargo_, &evento_, &promocao_})
        if (&scope->page == &page) return scope;
    return nullptr;
}

}  // namespace rules
