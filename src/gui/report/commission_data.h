// The commission screen's data sets as the model defines them, for reading outside the
// screen: a report's lists, the timeline's promotions of a table the screen has not loaded.
#pragma once
#include <string>

#include "framework/tfrmpadrao.h"
#include "model/comissao_model.h"
#include "server/rdm_comissao.h"

namespace gui {

// Never shown and bound to no handler but the coded fields' texts, so every field shows
// what the screen's grids show ("Vendedor", "Data do Evento", "1.234,50").
class CommissionData : public fw::TfrmPadrao, public model::ComissaoModel {
public:
    CommissionData();
    ~CommissionData() override;
};

}  // namespace gui
