// A second table paying sales of other tables: each sale moved from its own table's start to the
// second's, month ends clamped, and nothing paid once the move takes it outside the second's period.
#include <gtest/gtest.h>

#include <stdexcept>

#include "commission/comparison.h"
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

}  // namespace

TEST(Comparison, MovesEachSaleFromItsOwnTableAndPaysOnlyInsideTheSecondPeriod) {
    Snapshot s;
    s.tables = {table(1, day(2025, 1, 1), day(2025, 3, 31)), table(2, day(2025, 4, 1), day(2025, 6, 30)),
                table(3, day(2026, 1, 1), day(2026, 2, 28))};
    // The second table pays a promotion of one day, by the closing date, and nothing else.
    Rule promo;
    promo.scope = Scope::Promocao;
    promo.number = 1;
    promo.cargo = "V";
    promo.tipoEvento = "001";
    promo.firstDay = promo.lastDay = day(2026, 2, 28);
    promo.base = "DATAFECHAMENTO";
    promo.bands = {{9, 0, 100000, 10}};
    s.tables[2].of(Scope::Promocao) = {promo};
    const Engine engine(std::make_shared<const Snapshot>(s));
    const Comparison other(engine, 3);
    EXPECT_THROW(Comparison(engine, 4), std::invalid_argument);

    auto b = [&](long long event, long long closing) {
        const Sale sale{event, closing, "001", "V", 1000};
        const Sale moved = other.moved(sale, engine.pay(sale).table);
        const Payment p = other.pay(moved);
        EXPECT_EQ(p.rule != nullptr, other.simulate(moved).commissionCents.has_value());
        return std::tuple(moved.eventDay, moved.closingDay, p.rule ? p.commissionCents : -1);
    };
    // From the second quarter, nine months on: 31/05 lands on 28/02 and meets the promotion.
    EXPECT_EQ(b(day(2025, 5, 10), day(2025, 5, 31)), std::tuple(day(2026, 2, 10), day(2026, 2, 28), 100LL));
    // From the first, twelve months on.
    EXPECT_EQ(b(day(2025, 2, 28), day(2025, 2, 28)), std::tuple(day(2026, 2, 28), day(2026, 2, 28), 100LL));
    EXPECT_EQ(b(day(2025, 2, 28), day(2025, 3, 1)), std::tuple(day(2026, 2, 28), day(2026, 3, 1), -1LL));
    // Moved past the second period's end, even by a day: nothing pays, and the answer says why.
    EXPECT_EQ(b(day(2025, 3, 1), day(2025, 2, 28)), std::tuple(day(2026, 3, 1), day(2026, 2, 28), -1LL));
    EXPECT_EQ(b(day(2025, 3, 15), day(2025, 2, 28)), std::tuple(day(2026, 3, 15), day(2026, 2, 28), -1LL));
    const Sale late{day(2026, 3, 15), day(2026, 2, 28), "001", "V", 1000};
    EXPECT_EQ(other.simulate(late).reasons, std::vector<std::string>{"T3 (01/01/2026 a 28/02/2026) não vale na Data do Evento 15/03/2026."});
    // A sale of no table, or of the second table itself, stays where it is.
    EXPECT_EQ(b(day(2024, 5, 31), day(2024, 5, 31)), std::tuple(day(2024, 5, 31), day(2024, 5, 31), -1LL));
    EXPECT_EQ(b(day(2026, 2, 1), day(2026, 2, 28)), std::tuple(day(2026, 2, 1), day(2026, 2, 28), 100LL));
}
