#include "store/demo_data.h"

#include <ctime>
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

void comissao(Store& store, const std::string& name, int year) {
    insert(store, ListKind::Comissao,
           {{"DSCOMISSAOOREV", Value(name)}, {"DTVALIDADEINI", d(year, 1, 1)}, {"DTVALIDADEFIN", d(year, 12, 31)},
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

// Last year, this year and next year: a sale of any day of this year meets a table, and the
// screen shows one table behind and one ahead. Next year's rows come last, so that the numbers
// of the first two tables' rows do not depend on it.
void seedAll(Store& store, int year) {
    const int last = year - 1, next = year + 1;
    const std::string lastName = "Comissão " + std::to_string(last), thisName = "Comissão " + std::to_string(year),
                      nextName = "Comissão " + std::to_string(next);
    comissao(store, lastName, last);
    comissao(store, thisName, year);
    comissao(store, nextName, next);
    const auto tables = store.comissoes();
    const double c1 = numberWhere(tables, "DSCOMISSAOOREV", Value(lastName));
    const double c2 = numberWhere(tables, "DSCOMISSAOOREV", Value(thisName));
    const double c3 = numberWhere(tables, "DSCOMISSAOOREV", Value(nextName));

    cargo(store, c1, "V");
    cargo(store, c1, "S");
    cargo(store, c2, "V");
    cargo(store, c2, "G");
    const double v1 = numberWhere(store.cargos(c1), "IDCARGOVEND", s("V"));
    const double s1 = numberWhere(store.cargos(c1), "IDCARGOVEND", s("S"));
    const double v2 = numberWhere(store.cargos(c2), "IDCARGOVEND", s("V"));
    const double g2 = numberWhere(store.cargos(c2), "IDCARGOVEND", s("G"));
    band(store, ListKind::PercCargo, c1, v1, 0, 1000, 1.5);
    band(store, ListKind::PercCargo, c1, v1, 1000.01, 5000, 2);
    band(store, ListKind::PercCargo, c1, v1, 5000.01, 999999.99, 2.5);
    band(store, ListKind::PercCargo, c1, s1, 0, 10000, 1);
    band(store, ListKind::PercCargo, c2, v2, 0, 2000, 1.75);
    band(store, ListKind::PercCargo, c2, g2, 0, 50000, 0.5);

    evento(store, c1, "001", "Venda", "V");
    evento(store, c1, "002", "Troca", "S");
    evento(store, c2, "001", "Venda", "V");
    const double e1 = numberWhere(store.eventos(c1), "CDTIPOEVENTO", s("001"));
    const double e2 = numberWhere(store.eventos(c2), "CDTIPOEVENTO", s("001"));
    band(store, ListKind::PercEvento, c1, e1, 0, 2000, 3);
    band(store, ListKind::PercEvento, c1, e1, 2000.01, 8000, 3.5);
    band(store, ListKind::PercEvento, c2, e2, 0, 5000, 2.25);

    promocao(store, c1, d(last, 3, 1), d(last, 3, 31), wire::kDataEvento, "001", "Venda", "V");
    promocao(store, c1, d(last, 11, 1), d(last, 11, 30), wire::kDataFechamento, "002", "Troca", "S");
    promocao(store, c2, d(year, 6, 1), d(year, 6, 30), wire::kDataEvento, "001", "Venda", "G");
    const double p1 = numberWhere(store.promocoes(c1), "CDTIPOEVENTO", s("001"));
    const double p2 = numberWhere(store.promocoes(c2), "CDTIPOEVENTO", s("001"));
    band(store, ListKind::PercPromocao, c1, p1, 0, 500, 5);
    band(store, ListKind::PercPromocao, c1, p1, 500.01, 3000, 6);
    band(store, ListKind::PercPromocao, c2, p2, 0, 10000, 4);

    cargo(store, c3, "V");
    cargo(store, c3, "S");
    const double v3 = numberWhere(store.cargos(c3), "IDCARGOVEND", s("V"));
    const double s3 = numberWhere(store.cargos(c3), "IDCARGOVEND", s("S"));
    band(store, ListKind::PercCargo, c3, v3, 0, 2500, 2);
    band(store, ListKind::PercCargo, c3, s3, 0, 10000, 1.25);
    evento(store, c3, "001", "Venda", "V");
    band(store, ListKind::PercEvento, c3, numberWhere(store.eventos(c3), "CDTIPOEVENTO", s("001")), 0, 5000, 2.5);
    promocao(store, c3, d(next, 1, 1), d(next, 1, 31), wire::kDataEvento, "001", "Venda", "V");
    band(store, ListKind::PercPromocao, c3, numberWhere(store.promocoes(c3), "CDTIPOEVENTO", s("001")), 0, 10000, 4.5);
}

}  // namespace

bool seedDemo(Store& store, int year) {
    // All or nothing: a server killed halfway must not leave a store that looks seeded for good.
    // Emptiness is judged inside the same transaction: of servers starting together on one
    // shared store, one seeds it and the others find it seeded.
    bool seeded = false;
    store.inOneTransaction([&store, &seeded, year] {
        seeded = store.isEmpty();
        if (seeded) seedAll(store, year);
    });
    return seeded;
}

int currentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

}  // namespace appserver
