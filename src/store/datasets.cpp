#include "store/datasets.h"

namespace appserver {

namespace lists = wire::lists;
using wire::FieldDef;

const wire::List& listOf(ListKind k) {
    switch (k) {
        case ListKind::Comissao: return lists::comissao;
        case ListKind::Cargo: return lists::cargo;
        case ListKind::Evento: return lists::evento;
        case ListKind::Promocao: return lists::promocao;
        case ListKind::PercCargo:
        case ListKind::PercEvento:
        case ListKind::PercPromocao: return lists::faixa;
    }
    return lists::faixa;
}

bool isBandList(ListKind k) { return &listOf(k) == &lists::faixa; }

Scope bandScope(ListKind k) {
    switch (k) {
        case ListKind::PercEvento: return Scope::TipoEvento;
        case ListKind::PercPromocao: return Scope::Promocao;
        case ListKind::Comissao:
        case ListKind::Cargo:
        case ListKind::Evento:
        case ListKind::Promocao:
        case ListKind::PercCargo: return Scope::Cargo;
    }
    return Scope::Cargo;
}

namespace datasets {
namespace {

// Built once: every read hands a copy of its layout to the packet it fills.
template <const auto& list>
const std::vector<FieldDef>& layout() {
    static const std::vector<FieldDef> fields = list.defs();
    return fields;
}

}  // namespace

const std::vector<FieldDef>& comissao() { return layout<lists::comissao>(); }
const std::vector<FieldDef>& cargo() { return layout<lists::cargo>(); }
const std::vector<FieldDef>& evento() { return layout<lists::evento>(); }
const std::vector<FieldDef>& promocao() { return layout<lists::promocao>(); }
const std::vector<FieldDef>& percentual() { return layout<lists::faixa>(); }
const std::vector<FieldDef>& vdCargo() { return layout<lists::vdCargo>(); }
const std::vector<FieldDef>& vdEventoCad() { return layout<lists::vdEventoCad>(); }
const std::vector<FieldDef>& vdDtPromo() { return layout<lists::vdDtPromo>(); }
const std::vector<FieldDef>& vdVrPercentual() { return layout<lists::vdVrPercentual>(); }

const std::vector<FieldDef>& of(ListKind k) {
    switch (k) {
        case ListKind::Comissao: return comissao();
        case ListKind::Cargo: return cargo();
        case ListKind::Evento: return evento();
        case ListKind::Promocao: return promocao();
        case ListKind::PercCargo:
        case ListKind::PercEvento:
        case ListKind::PercPromocao: return percentual();
    }
    return percentual();
}

}  // namespace datasets
}  // namespace appserver
