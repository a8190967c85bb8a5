// The holes of a table over plain values: gaps of more than a cent between bands, days no
// table covers, promotions reaching past their table, and an unknown table.
#include <gtest/gtest.h>

#include "commission/verification.h"
#include "wire/datetime.h"

using namespace commission;

namespace {

long long day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d).days(); }

Table table(double number, long long first, long long last) {
    Table t;
    t.number = number;
    t.description = "T" + std::to_string(static_cast<int>(number));
    t.firstDay = first;
    t.lastDay = last;
    return t;
}

std::string kinds(const std::vector<Finding>& findings) {
    std::string out;
    for (const auto& f : findings) out += f.kind + " " + f.text + "\n";
    return out;
}

}  // namespace

TEST(Verification, NamesEveryHoleOnceAndNothingBetweenCentAdjacentBands) {
    Snapshot s;
    s.tables = {table(1, day(2025, 1, 1), day(2025, 6, 30)), table(2, day(2025, 7, 1), day(2025, 12, 31)),
                table(3, day(2026, 1, 3), day(2026, 12, 31))};
    Rule cargo;
    cargo.number = 4;
    cargo.cargo = "V";
    // 0,29/0,30 and 100,00/100,01 touch; 5.000,00 to 5.000,02 leaves one cent out.
    cargo.bands = {{1, 0, 29, 1}, {2, 30, 10000, 1}, {3, 10001, 500000, 2}, {4, 500002, 600000, 3}};
    Rule promo;
    promo.scope = Scope::Promocao;
    promo.number = 2;
    promo.cargo = "S";
    promo.tipoEvento = "A01";
    promo.base = "DATAEVENTO";
    promo.firstDay = day(2025, 6, 1);
    promo.lastDay = day(2025, 7, 1);
    s.tables[0].of(Scope::Cargo) = {cargo};
    s.tables[0].of(Scope::Promocao) = {promo};

    EXPECT_EQ(kinds(*verify(s, 1)),
              "PERIODO_LACUNA Nenhuma comissão vale de 01/01/2026 a 02/01/2026, entre T2 (01/07/2025 a 31/12/2025) e T3 "
              "(03/01/2026 a 31/12/2026).\n"
              "FAIXA_LACUNA Cargo Vendedor (regra 4): nenhuma faixa contém o valor 5.000,01.\n"
              "PROMOCAO_FORA Promoção de 01/06/2025 a 01/07/2025 pela Data do Evento, tipo de evento A01, Supervisor (regra "
              "2): a janela passa da validade da comissão, de 01/01/2025 a 30/06/2025.\n"
              "REGRA_SEM_FAIXA Promoção de 01/06/2025 a 01/07/2025 pela Data do Evento, tipo de evento A01, Supervisor (regra "
              "2): não tem faixas de valores.\n");
    EXPECT_EQ(verify(s, 1)->at(1).bands, (std::vector<double>{3, 4}));
    EXPECT_EQ(kinds(*verify(s, 2)).substr(0, 14), "PERIODO_LACUNA");
    EXPECT_FALSE(verify(s, 9));
}
