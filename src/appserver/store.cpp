#include "appserver/store.h"

#include <algorithm>

namespace appserver {

wire::DataPacket Store::regrasDaVenda(double nrComissao, Scope scope, const std::string& cdTipoEvento,
                                      const std::string& idCargo) {
    wire::DataPacket rules = scope == Scope::Cargo        ? cargos(nrComissao)
                             : scope == Scope::TipoEvento ? eventos(nrComissao)
                                                          : promocoes(nrComissao);
    const int cargo = rules.fieldIndex("IDCARGOVEND");
    const int tipo = scope == Scope::Cargo ? -1 : rules.fieldIndex("CDTIPOEVENTO");
    // A field the list does not have (the event type of position rules) matches anything.
    auto is = [](const wire::Row& row, int at, const std::string& text) {
        const auto i = static_cast<std::size_t>(at);
        return at < 0 || (i < row.size() && row[i] == wire::Value(text));
    };
    std::erase_if(rules.rows,
                  [&](const wire::Row& row) { return !is(row, cargo, idCargo) || !is(row, tipo, cdTipoEvento); });
    return rules;
}

}  // namespace appserver
