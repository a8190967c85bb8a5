#include "appserver/demo_data.h"

#include <string>

namespace appserver {

using wire::DateTime;
using wire::Null;
using wire::Row;
using wire::Value;

namespace {

void insert(Store& store, ListKind list, Row row) {
    wire::ChangeLog log;
    log.fields = datasets::of(list);
    log.changes.push_back({wire::ChangeOp::Insert, {}, std::move(row)});
    store.apply(list, log);
}

// The number (first field) of the first row whose field `field` holds `value`.
double numberWhere(const wire::DataPacket& p, const char* field, const Value& value) {
    const int i = p.fieldIndex(field);
    for (const auto& r : p.rows)
        if (r[static_cast<std::size_t>(i)] == value) return std::get<double>(r[0]);
    throw Refusal(std::string("demonstration data: no row with ") + field + " = " + wire::render(value));
}

Value d(int y, int m, int day) { return DateTime::fromYmd(y, m, day); }
Value s(const char* text) { return std::string(text); }

void band(Store& store, ListKind list, double nrComissao, double nrRegra, double ini, double fin, double perc) {
    const Scope scope = bandScope(list);
    Row row = {Null{}, nrComissao, s(scopeWord(scope)), Null{}, Null{}, Null{}, ini, fin, perc};
    row[scope == Scope::Cargo ? 3 : scope == Scope::TipoEvento ? 4 : 5] = nrRegra;
    insert(store, list, std::move(row));
}

void seedAll(Store& store) {
    insert(store, ListKind::Comissao, {Null{}, s("Comissão 2025"), d(2025, 1, 1), d(2025, 12, 31), s("0001")});
    insert(store, ListKind::Comissao, {Null{}, s("Comissão 2026"), d(2026, 1, 1), d(2026, 12, 31), s("0001")});
    const auto tables = store.comissoes();
    const double c25 = numberWhere(tables, "DSCOMISSAOOREV", s("Comissão 2025"));
    const double c26 = numberWhere(tables, "DSCOMISSAOOREV", s("Comissão 2026"));

    insert(store, ListKind::Cargo, {Null{}, s("V"), c25});
    insert(store, ListKind::Cargo, {Null{}, s("S"), c25});
    insert(store, ListKind::Cargo, {Null{}, s("V"), c26});
    insert(store, ListKind::Cargo, {Null{}, s("G"), c26});
    const double v25 = numberWhere(store.cargos(c25), "IDCARGOVEND", s("V"));
    const double s25 = numberWhere(store.cargos(c25), "IDCARGOVEND", s("S"));
    const double v26 = numberWhere(store.cargos(c26), "IDCARGOVEND", s("V"));
    const double g26 = numberWhere(store.cargos(c26), "IDCARGOVEND", s("G"));
    band(store, ListKind::PercCargo, c25, v25, 0, 1000, 1.5);
    band(store, ListKind::PercCargo, c25, v25, 1000.01, 5000, 2);
    band(store, ListKind::PercCargo, c25, v25, 5000.01, 999999.99, 2.5);
    band(store, ListKind::PercCargo, c25, s25, 0, 10000, 1);
    band(store, ListKind::PercCargo, c26, v26, 0, 2000, 1.75);
    band(store, ListKind::PercCargo, c26, g26, 0, 50000, 0.5);

    insert(store, ListKind::Evento, {Null{}, c25, s("001"), s("Venda"), s("V")});
    insert(store, ListKind::Evento, {Null{}, c25, s("002"), s("Troca"), s("S")});
    insert(store, ListKind::Evento, {Null{}, c26, s("001"), s("Venda"), s("V")});
    const double e25 = numberWhere(store.eventos(c25), "CDTIPOEVENTO", s("001"));
    const double e26 = numberWhere(store.eventos(c26), "CDTIPOEVENTO", s("001"));
    band(store, ListKind::PercEvento, c25, e25, 0, 2000, 3);
    band(store, ListKind::PercEvento, c25, e25, 2000.01, 8000, 3.5);
    band(store, ListKind::PercEvento, c26, e26, 0, 5000, 2.25);

    insert(store, ListKind::Promocao,
           {Null{}, c25, d(2025, 3, 1), d(2025, 3, 31), s("DATAEVENTO"), s("001"), s("Venda"), s("V"), Null{}});
    insert(store, ListKind::Promocao,
           {Null{}, c25, d(2025, 11, 1), d(2025, 11, 30), s("DATAFECHAMENTO"), s("002"), s("Troca"), s("S"), Null{}});
    insert(store, ListKind::Promocao,
           {Null{}, c26, d(2026, 6, 1), d(2026, 6, 30), s("DATAEVENTO"), s("001"), s("Venda"), s("G"), Null{}});
    const double p25 = numberWhere(store.promocoes(c25), "CDTIPOEVENTO", s("001"));
    const double p26 = numberWhere(store.promocoes(c26), "CDTIPOEVENTO", s("001"));
    band(store, ListKind::PercPromocao, c25, p25, 0, 500, 5);
    band(store, ListKind::PercPromocao, c25, p25, 500.01, 3000, 6);
    band(store, ListKind::PercPromocao, c26, p26, 0, 10000, 4);
}

}  // namespace

void seedDemo(Store& store) {
    // All or nothing: a server killed halfway must not leave a store that looks seeded for good.
    store.inOneTransaction([&store] { seedAll(store); });
}

}  // namespace appserver
