// The lists the server sends and stores, as the wire declares them: which list each Set
// method applies to, and the field layouts of every data packet and change log.
#pragma once
#include <string>
#include <vector>

#include "wire/lists.h"
#include "wire/value.h"

namespace appserver {

// The lists a change log can be applied to; each has its own Set method.
enum class ListKind { Comissao, Cargo, Evento, Promocao, PercCargo, PercEvento, PercPromocao };

using wire::Scope;
using wire::scopeFromWord;
using wire::scopeWord;

// NRCOMISSAOCARGOOREV, NRCOMISSAOTPEVENTOREV, NRCOMISSAOPROMOREV: the key of the scope's rules.
constexpr const char* ruleNumberField(Scope s) { return wire::lists::rulesOf(s).key().name; }
const wire::List& listOf(ListKind k);
bool isBandList(ListKind k);
Scope bandScope(ListKind k);  // only for band lists

namespace datasets {
// Fields in the order of the receiving client data set; the first field of each list is its number.
const std::vector<wire::FieldDef>& comissao();    // cdsComissao, also cdsVdDtComissao
const std::vector<wire::FieldDef>& cargo();       // cdsCargo
const std::vector<wire::FieldDef>& evento();      // cdsEvento
const std::vector<wire::FieldDef>& promocao();    // cdsPromocao
const std::vector<wire::FieldDef>& percentual();  // cdsPercCargo, cdsPercEvento, cdsPercPromocao
const std::vector<wire::FieldDef>& vdCargo();     // cdsVdCargo
const std::vector<wire::FieldDef>& vdEventoCad(); // cdsVdEventoCad
const std::vector<wire::FieldDef>& vdDtPromo();   // cdsVdDtPromo
const std::vector<wire::FieldDef>& vdVrPercentual();  // cdsVdVrPercentual

const std::vector<wire::FieldDef>& of(ListKind k);
}  // namespace datasets

}  // namespace appserver
