#include "store/demo_data.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "wire/texts.h"

namespace appserver {

using wire::DateTime;
using wire::Null;
using wire::Row;
using wire::Value;

namespace {

using Named = std::initializer_list<std::pair<const char*, Value>>;

// Inserts a row of `list` given by field name; the fields not named are null.
void insert(Store& store, ListKind list, Named values) {
    const wire::List& fields = listOf(list);
    Row row(fields.fields.size());
    for (const auto& [name, value] : values) row[fields.at(name)] = value;
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

void comissao(Store& store, const char* name, int year) {
    insert(store, ListKind::Comissao,
           {{"DSCOMISSAOOREV", s(name)}, {"DTVALIDADEINI", d(year, 1, 1)}, {"DTVALIDADEFIN", d(year, 12, 31)},
            {"CDFILIAL", s("0001")}});
}

void cargo(Store& store, double nrComissao, const char* code) {
    insert(store, ListKind::Cargo, {{"IDCARGOVEND", s(code)}, {"NRCOMISSAOOREV", nrComissao}});
}

void evento(Store& store, double nrComissao, const char* code, const char* name, const char* cargo) {
    insert(store, ListKind::Evento,
           {{"NRCOMISSAOOREV", nrComissao}, {"CDTIPOEVENTO", s(code)}, {"NMTIPOEVENTO", s(name)},
            {"IDCARGOVEND", s(cargo)}});
}

void promocao(Store& store, double nrComissao, Value ini, Value fin, const char* base, const char* code,
              const char* name, const char* cargo) {
    insert(store, ListKind::Promocao,
           {{"NRCOMISSAOOREV", nrComissao}, {"DTVALINICOMISPROMO", ini}, {"DTVALFINCOMISPROMO", fin},
            {"IDDTBASECOMISPROMO", s(base)}, {"CDTIPOEVENTO", s(code)}, {"NMTIPOEVENTO", s(name)},
            {"IDCARGOVEND", s(cargo)}});
}

void band(Store& store, ListKind list, double nrComissao, double nrRegra, double ini, double fin, double perc) {
    const Scope scope = bandScope(list);
    insert(store, list,
           {{"NRCOMISSAOOREV", nrComissao}, {"IDTIPOCOMISSAO", s(scopeWord(scope))}, {ruleNumberField(scope), nrRegra},
            {"VRINICIAL", ini}, {"VRFINAL", fin}, {"VRCOMISSAO", perc}});
}

void seedAll(Store& store) {
    comissao(store, "Comissão 2025", 2025);
    comissao(store, "Comissão 2026", 2026);
    const auto tables = store.comissoes();
    const double c25 = numberWhere(tables, "DSCOMISSAOOREV", s("Comissão 2025"));
    const double c26 = numberWhere(tables, "DSCOMISSAOOREV", s("Comissão 2026"));

    cargo(store, c25, "V");
    cargo(store, c25, "S");
    cargo(store, c26, "V");
    cargo(store, c26, "G");
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

    evento(store, c25, "001", "Venda", "V");
    evento(store, c25, "002", "Troca", "S");
    evento(store, c26, "001", "Venda", "V");
    const double e25 = numberWhere(store.eventos(c25), "CDTIPOEVENTO", s("001"));
    const double e26 = numberWhere(store.eventos(c26), "CDTIPOEVENTO", s("001"));
    band(store, ListKind::PercEvento, c25, e25, 0, 2000, 3);
    band(store, ListKind::PercEvento, c25, e25, 2000.01, 8000, 3.5);
    band(store, ListKind::PercEvento, c26, e26, 0, 5000, 2.25);

    promocao(store, c25, d(2025, 3, 1), d(2025, 3, 31), wire::kDataEvento, "001", "Venda", "V");
    promocao(store, c25, d(2025, 11, 1), d(2025, 11, 30), wire::kDataFechamento, "002", "Troca", "S");
    promocao(store, c26, d(2026, 6, 1), d(2026, 6, 30), wire::kDataEvento, "001", "Venda", "G");
    const double p25 = numberWhere(store.promocoes(c25), "CDTIPOEVENTO", s("001"));
    const double p26 = numberWhere(store.promocoes(c26), "CDTIPOEVENTO", s("001"));
    band(store, ListKind::PercPromocao, c25, p25, 0, 500, 5);
    band(store, ListKind::PercPromocao, c25, p25, 500.01, 3000, 6);
    band(store, ListKind::PercPromocao, c26, p26, 0, 10000, 4);
}

}  // namespace

bool seedDemo(Store& store) {
    // All or nothing: a server killed halfway must not leave a store that looks seeded for good.
    // Emptiness is judged inside the same transaction: of servers starting together on one
    // shared store, one seeds it and the others find it seeded.
    bool seeded = false;
    store.inOneTransaction([&store, &seeded] {
        seeded = store.isEmpty();
        if (seeded) seedAll(store);
    });
    return seeded;
}

}  // namespace appserver
