// Which rule and band pay a sale, over plain tables: precedence, band and window ends, the
// rounding of the commission, and the reasons every candidate passed over gets.
#include <gtest/gtest.h>

#include <limits>

#include "commission/money.h"
#include "commission/simulation.h"
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
    if (scope != Scope::Cargo) r.nomeTipoEvento = "Venda";
    r.bands = std::move(bands);
    return r;
}

Rule promotion(double number, long long first, long long last, const char* base, std::vector<Band> bands) {
    Rule r = rule(Scope::Promocao, number, "V", "001", std::move(bands));
    r.firstDay = first;
    r.lastDay = last;
    r.base = base;
    return r;
}

// The table of the socket test, as the store would hand it over.
Snapshot year2025() {
    Table t;
    t.number = 1;
    t.description = "Comissão 2025";
    t.firstDay = day(2025, 1, 1);
    t.lastDay = day(2025, 12, 31);
    t.of(Scope::Cargo) = {rule(Scope::Cargo, 1, "V", "", {{1, 0, 100000, 1}, {2, 100001, 500000, 5}})};
    t.of(Scope::TipoEvento) = {rule(Scope::TipoEvento, 1, "V", "001", {{3, 0, 100000, 3}})};
    t.of(Scope::Promocao) = {promotion(1, day(2025, 3, 1), day(2025, 3, 31), "DATAEVENTO", {{4, 0, 50000, 5}}),
                             promotion(2, day(2025, 6, 1), day(2025, 6, 30), "DATAFECHAMENTO", {{5, 0, 1000000, 7}})};
    Snapshot s;
    s.tables.push_back(std::move(t));
    return s;
}

// "SCOPE rule=N band=N percent commission-cents", "-" for none, then a line a reason.
std::string paid(const Snapshot& s, long long event, long long closing, const char* tipo, const char* cargo, long long cents) {
    const Simulation r = simulate(s, {event, closing, tipo, cargo, cents});
    auto num = [](const auto& v) { return v ? std::to_string(static_cast<long long>(*v)) : std::string("-"); };
    std::string out = (r.scope ? wire::scopeWord(*r.scope) : "-") + std::string(" rule=") + num(r.rule) +
                      " band=" + num(r.band) + " " + (r.percent ? std::to_string(*r.percent).substr(0, 4) : "-") + "% " +
                      num(r.commissionCents);
    for (const auto& reason : r.reasons) out += "\n" + reason;
    return out;
}

std::string head(const std::string& answer) { return answer.substr(0, answer.find('\n')); }

}  // namespace

TEST(Simulation, PromotionThenEventTypeThenPositionWithTheReasonsOfEachPassedOver) {
    const Snapshot s = year2025();
    EXPECT_EQ(paid(s, day(2025, 3, 31), day(2025, 4, 10), "001", "V", 50000), "PROMOCAO rule=1 band=4 5.00% 2500");
    // One cent past the promotion band's end falls through both promotions.
    EXPECT_EQ(paid(s, day(2025, 3, 31), day(2025, 4, 10), "001", "V", 50001),
              "TIPOEVENTO rule=1 band=3 3.00% 1500\n"
              "Promoção de 01/03/2025 a 31/03/2025 pela Data do Evento, tipo de evento 001 Venda, Vendedor (regra 1): "
              "nenhuma faixa contém o valor 500,01.\n"
              "Promoção de 01/06/2025 a 30/06/2025 pela Data de Fechamento, tipo de evento 001 Venda, Vendedor (regra 2): "
              "a Data de Fechamento 10/04/2025 está fora da janela.");
    // Window ends: the day after the last day, and the closing date as the base.
    EXPECT_EQ(head(paid(s, day(2025, 4, 1), day(2025, 4, 10), "001", "V", 10000)), "TIPOEVENTO rule=1 band=3 3.00% 300");
    EXPECT_EQ(head(paid(s, day(2025, 1, 10), day(2025, 6, 30), "001", "V", 1450)), "PROMOCAO rule=2 band=5 7.00% 102");
    EXPECT_EQ(head(paid(s, day(2025, 1, 10), day(2025, 7, 1), "001", "V", 100000)), "TIPOEVENTO rule=1 band=3 3.00% 3000");
    // Another event type meets only the position rule; another position nothing at all.
    EXPECT_EQ(paid(s, day(2025, 1, 10), day(2025, 1, 10), "002", "V", 500001),
              "- rule=- band=- -% -\n"
              "Nenhuma promoção do tipo de evento 002 para Vendedor.\n"
              "Nenhuma regra do tipo de evento 002 para Vendedor.\n"
              "Cargo Vendedor (regra 1): nenhuma faixa contém o valor 5.000,01.");
    EXPECT_EQ(head(paid(s, day(2025, 1, 10), day(2025, 1, 10), "002", "V", 100001)), "CARGO rule=1 band=2 5.00% 5000");
    EXPECT_EQ(paid(s, day(2025, 1, 10), day(2025, 1, 10), "002", "G", 1000),
              "- rule=- band=- -% -\n"
              "Nenhuma promoção do tipo de evento 002 para Gerente.\n"
              "Nenhuma regra do tipo de evento 002 para Gerente.\n"
              "Nenhuma regra de cargo para Gerente.");
}

TEST(Simulation, TheTableIsTheOneWhoseDaysHoldTheEventDate) {
    Snapshot s = year2025();
    Table next = s.tables[0];
    next.number = 2;
    next.firstDay = day(2026, 1, 2);  // 01/01/2026 belongs to no table
    next.lastDay = day(2026, 12, 31);
    s.tables.push_back(next);
    EXPECT_EQ(simulate(s, {day(2025, 12, 31), day(2026, 1, 5), "002", "V", 100}).table, 1);
    EXPECT_EQ(simulate(s, {day(2026, 1, 2), day(2025, 12, 31), "002", "V", 100}).table, 2);
    const Simulation none = simulate(s, {day(2026, 1, 1), day(2026, 1, 1), "002", "V", 100});
    EXPECT_FALSE(none.table);
    EXPECT_EQ(none.reasons, std::vector<std::string>{"Nenhuma comissão vale na Data do Evento 01/01/2026."});
}

TEST(Simulation, ARuleWithoutBandsIsPassedOverForTheNext) {
    Snapshot s = year2025();
    auto& rules = s.tables[0].of(Scope::TipoEvento);
    rules.insert(rules.begin(), rule(Scope::TipoEvento, 9, "V", "001", {}));
    EXPECT_EQ(paid(s, day(2025, 2, 1), day(2025, 2, 1), "001", "V", 100),
              "TIPOEVENTO rule=1 band=3 3.00% 3\n"
              "Promoção de 01/03/2025 a 31/03/2025 pela Data do Evento, tipo de evento 001 Venda, Vendedor (regra 1): a Data "
              "do Evento 01/02/2025 está fora da janela.\n"
              "Promoção de 01/06/2025 a 30/06/2025 pela Data de Fechamento, tipo de evento 001 Venda, Vendedor (regra 2): a "
              "Data de Fechamento 01/02/2025 está fora da janela.\n"
              "Tipo de evento 001 Venda, Vendedor (regra 9): não tem faixas de valores.");
}

TEST(Money, CommissionRoundsHalfAwayFromZeroExactlyAtEveryScale) {
    using money::commission;
    EXPECT_EQ(commission(1450, 100), 15);          // 0,145 -> 0,15
    EXPECT_EQ(commission(-1450, 100), -15);        // and away from zero below it
    EXPECT_EQ(commission(128170, 500), 6409);      // 64,085 -> 64,09, which a double holds a shade under
    EXPECT_EQ(commission(1449, 100), 14);
    EXPECT_EQ(commission(99'999'999'900, 9999), 99'989'999'900);  // no 64-bit overflow
    EXPECT_EQ(commission(-99'999'999'900, 10000), -99'999'999'900);
    EXPECT_EQ(commission(12345, 0), 0);
    EXPECT_EQ(money::nearestCents(0.29), 29);
    EXPECT_EQ(money::nearestCents(2.5), 250);
}

TEST(Money, OnlyValuesTheBandGridCanHoldAreExactCents) {
    EXPECT_EQ(money::exactCents(10.5), 1050);
    EXPECT_EQ(money::exactCents(0.29), 29);
    EXPECT_EQ(money::exactCents(-999999999), -99'999'999'900);
    EXPECT_FALSE(money::exactCents(10.005));
    EXPECT_FALSE(money::exactCents(1000000000));
    EXPECT_FALSE(money::exactCents(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(money::text(-50), "-0,50");
    EXPECT_EQ(money::text(123456789), "1.234.567,89");
    EXPECT_EQ(money::text(5), "0,05");
}
