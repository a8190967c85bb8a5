#include "appserver/datasets.h"

#include <stdexcept>

namespace appserver {

using wire::FieldDef;
using wire::FieldType;

namespace {
FieldDef num(const char* name) { return {name, FieldType::Float, 0}; }
FieldDef str(const char* name, int size) { return {name, FieldType::String, size}; }
FieldDef date(const char* name) { return {name, FieldType::DateTime, 0}; }
}  // namespace

const char* scopeWord(Scope s) {
    switch (s) {
        case Scope::Cargo: return "CARGO";
        case Scope::TipoEvento: return "TIPOEVENTO";
        case Scope::Promocao: return "PROMOCAO";
    }
    return "";
}

Scope scopeFromWord(const std::string& word) {
    if (word == "CARGO") return Scope::Cargo;
    if (word == "TIPOEVENTO") return Scope::TipoEvento;
    if (word == "PROMOCAO") return Scope::Promocao;
    throw std::invalid_argument("unknown scope kind \"" + word + "\" (CARGO, TIPOEVENTO or PROMOCAO)");
}

const char* ruleNumberField(Scope s) {
    switch (s) {
        case Scope::Cargo: return "NRCOMISSAOCARGOOREV";
        case Scope::TipoEvento: return "NRCOMISSAOTPEVENTOREV";
        case Scope::Promocao: return "NRCOMISSAOPROMOREV";
    }
    return "";
}

bool isBandList(ListKind k) {
    return k == ListKind::PercCargo || k == ListKind::PercEvento || k == ListKind::PercPromocao;
}

Scope bandScope(ListKind k) {
    if (k == ListKind::PercEvento) return Scope::TipoEvento;
    if (k == ListKind::PercPromocao) return Scope::Promocao;
    return Scope::Cargo;
}

namespace datasets {

const std::vector<FieldDef>& comissao() {
    static const std::vector<FieldDef> f = {num("NRCOMISSAOOREV"), str("DSCOMISSAOOREV", 30), date("DTVALIDADEINI"),
                                            date("DTVALIDADEFIN"), str("CDFILIAL", 4)};
    return f;
}

const std::vector<FieldDef>& cargo() {
    static const std::vector<FieldDef> f = {num("NRCOMISSAOCARGOOREV"), str("IDCARGOVEND", 1), num("NRCOMISSAOOREV")};
    return f;
}

const std::vector<FieldDef>& evento() {
    static const std::vector<FieldDef> f = {num("NRCOMISSAOTPEVENTOREV"), num("NRCOMISSAOOREV"), str("CDTIPOEVENTO", 3),
                                            str("NMTIPOEVENTO", 30), str("IDCARGOVEND", 1)};
    return f;
}

const std::vector<FieldDef>& promocao() {
    static const std::vector<FieldDef> f = {
        num("NRCOMISSAOPROMOREV"), num("NRCOMISSAOOREV"),       date("DTVALINICOMISPROMO"),
        date("DTVALFINCOMISPROMO"), str("IDDTBASECOMISPROMO", 30), str("CDTIPOEVENTO", 3),
        str("NMTIPOEVENTO", 30),   str("IDCARGOVEND", 1),        date("DTINCLUSAOCOMISSAO")};
    return f;
}

const std::vector<FieldDef>& percentual() {
    static const std::vector<FieldDef> f = {
        num("NRFAIXACOMISSAOOREV"), num("NRCOMISSAOOREV"),     str("IDTIPOCOMISSAO", 30),
        num("NRCOMISSAOCARGOOREV"), num("NRCOMISSAOTPEVENTOREV"), num("NRCOMISSAOPROMOREV"),
        num("VRINICIAL"),           num("VRFINAL"),            num("VRCOMISSAO")};
    return f;
}

const std::vector<FieldDef>& vdCargo() {
    static const std::vector<FieldDef> f = {str("IDCARGOVEND", 1)};
    return f;
}

const std::vector<FieldDef>& vdEventoCad() {
    static const std::vector<FieldDef> f = {num("NRCOMISSAOTPEVENTOREV")};
    return f;
}

const std::vector<FieldDef>& vdDtPromo() {
    static const std::vector<FieldDef> f = {date("DTVALINICOMISPROMO"), date("DTVALFINCOMISPROMO"),
                                            num("NRCOMISSAOPROMOREV"),  str("IDDTBASECOMISPROMO", 30),
                                            str("CDTIPOEVENTO", 3),     str("IDCARGOVEND", 1)};
    return f;
}

const std::vector<FieldDef>& vdVrPercentual() {
    static const std::vector<FieldDef> f = {num("VRINICIAL"), num("VRFINAL"), num("NRFAIXACOMISSAOOREV")};
    return f;
}

const std::vector<FieldDef>& of(ListKind k) {
    switch (k) {
        case ListKind::Comissao: return comissao();
        case ListKind::Cargo: return cargo();
        case ListKind::Evento: return evento();
        case ListKind::Promocao: return promocao();
        default: return percentual();
    }
}

}  // namespace datasets
}  // namespace appserver
