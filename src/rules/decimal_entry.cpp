// Decimal entry in the band grids: only numbers with a decimal comma, within their limits.
#include <algorithm>

#include "framework/consiste.h"
#include "rules/comissao_rules.h"
#include "toolkit/event_handler.h"
#include "toolkit/formats.h"
#include "wire/band_limits.h"

namespace rules {

namespace {

constexpr char32_t kDropped = 0;
// The entry tests the upper limits only; the band's check refuses a value beyond the lower.
constexpr double kPercentLimit = wire::bandLimit("VRCOMISSAO").highest;
constexpr double kValueLimit = wire::bandLimit("VRINICIAL").highest;

bool isDigit(char32_t key) { return key >= U'0' && key <= U'9'; }
// Backspace, Tab and Enter pass every filter.
bool isControlKey(char32_t key) { return key == 8 || key == 9 || key == 13; }

// The filter of one band grid. A character for a value column goes on to Vd_Virgula when
// it can belong to a number there; any other character, and every key while the scope has
// no rule, is dropped. Other columns are left alone.
void filterBandKey(ComissaoRules& form, const BandList& b, char32_t& key) {
    const tk::TField* selected = b.grid.SelectedField();
    if (!selected) return;
    const std::string& name = selected->FieldName();
    const bool value = name == "VRINICIAL" || name == "VRFINAL";
    if (!value && name != "VRCOMISSAO") return;
    if (b.ruleList.IsEmpty()) {
        key = kDropped;
        return;
    }
    if (isControlKey(key)) return;
    // A negative bound is meaningful for a value, never for a percentage.
    if (isDigit(key) || key == U',' || (value && key == U'-'))
        form.Vd_Virgula(b.grid, name, key);
    else
        key = kDropped;
}

}  // namespace

void ComissaoRules::bindDecimalEntry() {
    dbgPercCargo.OnKeyPress = tk::Handler(this, &ComissaoRules::dbgPercCargoKeyPress);
    dbgPercEvento.OnKeyPress = tk::Handler(this, &ComissaoRules::dbgPercEventoKeyPress);
    dbgPercPromocao.OnKeyPress = tk::Handler(this, &ComissaoRules::dbgPercPromocaoKeyPress);
}

void ComissaoRules::dbgPercCargoKeyPress(tk::TObject&, char32_t& Key) { filterBandKey(*this, percCargo_, Key); }
void ComissaoRules::dbgPercEventoKeyPress(tk::TObject&, char32_t& Key) { filterBandKey(*this, percEvento_, Key); }
void ComissaoRules::dbgPercPromocaoKeyPress(tk::TObject&, char32_t& Key) {
    filterBandKey(*this, percPromocao_, Key);
}

void ComissaoRules::Vd_Virgula(tk::TDBGrid& Grid, const std::string& FieldName, char32_t& Key) {
    const tk::TField* selected = Grid.SelectedField();
    if (Key == U',' && selected && selected->FieldName() == FieldName) {
        const std::string current = fw::Consiste::GridText(Grid, FieldName, false);
        // A number cannot begin with the comma, nor hold two.
        if (current.empty() || std::count(current.begin(), current.end(), ',') > 0) {
            Key = kDropped;
            return;
        }
    }
    if (!isDigit(Key)) return;  // only digits are measured against the limits

    const tk::TDBGrid* shown = BandGridOfPage(*this, pgcPadrao.ActivePage());
    if (!shown) return;
    // The typed character replaces a selected cell text: GridText then gives "".
    const std::string prospective = fw::Consiste::GridText(Grid, FieldName, true) + static_cast<char>(Key);
    const auto number = tk::TryStrToFloat(prospective);
    if (!number) {
        // "5-" followed by a digit, say: not a number, so the keystroke is not taken.
        Key = kDropped;
        return;
    }
    const tk::TField* shownField = shown->SelectedField();
    const double limit = shownField && shownField->FieldName() == "VRCOMISSAO" ? kPercentLimit : kValueLimit;
    if (*number > limit) Key = kDropped;
}

}  // namespace rules
