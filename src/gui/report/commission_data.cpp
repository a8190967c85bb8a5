#include "gui/report/commission_data.h"

#include <span>
#include <utility>

#include "model/code_tables.h"

namespace gui {

CommissionData::CommissionData() : fw::TfrmPadrao(nullptr, "frmComissaoDados"), model::ComissaoModel(static_cast<fw::TfrmPadrao&>(*this)) {
    const std::pair<tk::TField*, std::span<const model::CodeEntry>> coded[] = {
        {&cdsCargoIDCARGOVEND, model::kCargoCodes},
        {&cdsEventoIDCARGOVEND, model::kCargoCodes},
        {&cdsPromocaoIDCARGOVEND, model::kCargoCodes},
        {&cdsPromocaoIDDTBASECOMISPROMO, model::kDataBaseCodes},
    };
    for (auto [field, table] : coded)
        field->OnGetText = [this, table](tk::TField& sender, std::string& text, bool) {
            text = model::CodeText(sender, table, msgPadrao);
        };
}

CommissionData::~CommissionData() = default;

}  // namespace gui
