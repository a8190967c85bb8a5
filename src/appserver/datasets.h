// The field lists of every data packet the server sends and every change log it accepts.
#pragma once
#include <string>
#include <vector>

#include "wire/value.h"

namespace appserver {

// The lists a change log can be applied to; each has its own Set method.
enum class ListKind { Comissao, Cargo, Evento, Promocao, PercCargo, PercEvento, PercPromocao };

// The scope a band belongs to: its kind word and the field naming its owning rule.
enum class Scope { Cargo, TipoEvento, Promocao };

const char* scopeWord(Scope s);  // "CARGO", "TIPOEVENTO", "PROMOCAO"
// Throws std::invalid_argument for any other word.
Scope scopeFromWord(const std::string& word);
const char* ruleNumberField(Scope s);  // NRCOMISSAOCARGOOREV, NRCOMISSAOTPEVENTOREV, NRCOMISSAOPROMOREV
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
