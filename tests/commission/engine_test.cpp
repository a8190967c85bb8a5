// The indexed engine where its index could stray from the rule: bands out of order or
// overlapping, tables that overlap, codes no screen types; and the paid path agrees with the
// worded one on who pays.
#include <gtest/gtest.h>

#include "commission/engine.h"
#include "wire/datetime.h"

using namespace commission;

namespace {

long long day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d).days(); }

Rule rule(Scope scope, double number, const char* cargo, const char* tipo, std::vector<Band> bands) {
    Rule r;
    r.scope = scope;
    r.number = number;
    r.cargo = cargo;
    r.tipoEvento = tipo;
    r.bands = std::move(bands);
    return r;
}

Table table(double number, long long first, long long last) {
    Table t;
    t.number = number;
    t.description = "T" + std::to_string(static_cast<int>(number));
    t.firstDay = first;
    t.lastDay = last;
    return t;
}

}  // namespace

TEST(Engine, MeetsBandsTablesAndCodesAsTheirListsOrderThem) {
    // An older store's bands: out of value order and overlapping; the first in list order wins.
    Table a = table(1, day(2025, 1, 1), day(2025, 6, 30));
    a.of(Scope::Cargo) = {rule(Scope::Cargo, 1, "V", "", {{1, 500, 900, 2}, {2, 0, 600, 3}, {3, 1000, 2000, 4}}),
                          rule(Scope::Cargo, 2, "S", "", {{6, 0, 600, 1}, {7, 600, 900, 2}})};  // sharing 6,00
    a.of(Scope::TipoEvento) = {rule(Scope::TipoEvento, 1, "V", "1", {{4, 0, 99999, 9}})};  // a code of one digit
    // Overlapping periods: the table that starts first holds the days they share.
    Table b = table(2, day(2025, 6, 1), day(2025, 12, 31));
    b.of(Scope::Cargo) = {rule(Scope::Cargo, 1, "V", "", {{5, 0, 99999, 1}})};
    Snapshot s;
    s.tables = {a, b};
    const Engine engine(std::make_shared<const Snapshot>(s));

    auto band = [&](long long eventDay, const char* tipo, long long cents, const char* cargo = "V") {
        const Sale sale{eventDay, eventDay, tipo, cargo, cents};
        const Payment p = engine.pay(sale);
        const Simulation w = engine.simulate(sale);
        EXPECT_EQ(p.band != nullptr, w.band.has_value());
        if (p.band) {
            EXPECT_EQ(p.band->number, *w.band);
        }
        EXPECT_EQ(p.table ? p.table->number : 0, w.table.value_or(0));
        return p.band ? static_cast<int>(p.band->number) : 0;
    };
    EXPECT_EQ(band(day(2025, 2, 1), "001", 550), 1);
    EXPECT_EQ(band(day(2025, 2, 1), "001", 450), 2);
    EXPECT_EQ(band(day(2025, 2, 1), "001", 950), 0);
    EXPECT_EQ(band(day(2025, 2, 1), "001", 2000), 3);
    EXPECT_EQ(band(day(2025, 2, 1), "1", 950), 4);
    EXPECT_EQ(band(day(2025, 2, 1), "001", 600, "S"), 6);
    EXPECT_EQ(band(day(2025, 2, 1), "001", 601, "S"), 7);
    EXPECT_EQ(band(day(2025, 6, 15), "001", 1500), 3);
    EXPECT_EQ(band(day(2025, 7, 1), "001", 1500), 5);
    EXPECT_EQ(band(day(2024, 12, 31), "001", 1500), 0);
    EXPECT_EQ(band(day(2026, 1, 1), "001", 1500), 0);
}
