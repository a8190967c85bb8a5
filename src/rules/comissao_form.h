// The commission screen as its rules see it: the base screen's components, the screen's
// own (its model), the current commission table, and the enabling step, which the screen
// defines. The rules' shared helpers take this face and nothing above it.
#pragma once
#include <string>
#include <utility>

#include "framework/tfrmpadrao.h"
#include "model/comissao_model.h"

namespace rules {

class ComissaoForm : public fw::TfrmPadrao, public model::ComissaoModel {
public:
    ComissaoForm(tk::TComponent* owner, std::string name)
        : fw::TfrmPadrao(owner, std::move(name)), model::ComissaoModel(static_cast<fw::TfrmPadrao&>(*this)) {}

    // Decides the enabled state of the toolbar, the command menu items, the pages and
    // their menu items from the edit state and the focus.
    virtual void Habilita_Botoes() = 0;

    // NR: number of the current commission table, as sent to the server.
    double NrComissao() const { return cdsComissaoNRCOMISSAOOREV.AsFloat(); }
};

}  // namespace rules
