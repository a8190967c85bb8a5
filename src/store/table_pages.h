// Internal to the stores' whole-table work (copy, import): the three pages of a table, each a
// list of rules and the list of their bands, and the rules of a page read back.
#pragma once
#include <array>

#include "store/store.h"

namespace appserver::detail {

struct Page {
    Scope scope;
    ListKind rules;
    ListKind bands;
};
inline constexpr std::array kPages{Page{Scope::Cargo, ListKind::Cargo, ListKind::PercCargo},
                                   Page{Scope::TipoEvento, ListKind::Evento, ListKind::PercEvento},
                                   Page{Scope::Promocao, ListKind::Promocao, ListKind::PercPromocao}};

inline wire::DataPacket rulesOf(Store& store, Scope scope, double table) {
    switch (scope) {
        case Scope::Cargo: return store.cargos(table);
        case Scope::TipoEvento: return store.eventos(table);
        case Scope::Promocao: break;
    }
    return store.promocoes(table);
}

}  // namespace appserver::detail
