// Inserts, updates and deletes through every Set method; atomicity, cascades and lost-update refusals.
#include <gtest/gtest.h>

#include "appserver/messages.h"
#include "server_harness.h"
#include "wire/packet_json.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;
using wire::Null;
using wire::Row;

namespace {

class SetRoundTrip : public ::testing::Test {
protected:
    TempDb db;
    ServerProcess server{db.path()};
    Client client{server.port()};

    Row only(const char* method, const json& params) {
        auto p = client.packet(method, params);
        if (p.rows.size() != 1) throw std::runtime_error(std::string(method) + ": expected one row");
        return p.rows[0];
    }
};

}  // namespace

TEST_F(SetRoundTrip, CommissionTableInsertUpdateDelete) {
    // The number sent with an insert is ignored: the store gives it.
    ASSERT_EQ(client.set("SetComissao", insertLog(ListKind::Comissao, {{777.0, str("Tabela"), day(2025, 1, 1),
                                                                        day(2025, 12, 31), str("0001")}})),
              "");
    const Row stored = only("GetComissao", json::array());
    EXPECT_EQ(render(client.packet("GetComissao", json::array())), "1|Tabela|2025-01-01|2025-12-31|0001\n");

    Row edited = stored;
    edited[1] = str("Tabela revista");
    ASSERT_EQ(client.set("SetComissao", updateLog(ListKind::Comissao, stored, edited)), "");
    EXPECT_EQ(render(client.packet("GetComissao", json::array())), "1|Tabela revista|2025-01-01|2025-12-31|0001\n");

    ASSERT_EQ(client.set("SetComissao", deleteLog(ListKind::Comissao, edited)), "");
    EXPECT_EQ(render(client.packet("GetComissao", json::array())), "");
}

TEST_F(SetRoundTrip, RulesOfEveryScope) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));

    addCargo(client, nr, "V");
    Row cargo = only("GetCargo", {nr});
    Row cargoNew = cargo;
    cargoNew[1] = str("G");
    ASSERT_EQ(client.set("SetCargo", updateLog(ListKind::Cargo, cargo, cargoNew)), "");
    EXPECT_EQ(render(client.packet("GetCargo", {nr})), "1|G|1\n");
    ASSERT_EQ(client.set("SetCargo", deleteLog(ListKind::Cargo, cargoNew)), "");
    EXPECT_EQ(render(client.packet("GetCargo", {nr})), "");

    addEvento(client, nr, "010", "S");
    Row ev = only("GetEvento", {nr});
    Row evNew = ev;
    evNew[3] = str("Venda a prazo");
    evNew[4] = str("V");
    ASSERT_EQ(client.set("SetEvento", updateLog(ListKind::Evento, ev, evNew)), "");
    EXPECT_EQ(render(client.packet("GetEvento", {nr})), "1|1|010|Venda a prazo|V\n");
    ASSERT_EQ(client.set("SetEvento", deleteLog(ListKind::Evento, evNew)), "");
    EXPECT_EQ(render(client.packet("GetEvento", {nr})), "");

    // The inclusion date is the server's: whatever the client sends is replaced on insert and kept on update.
    ASSERT_EQ(client.set("SetPromocao",
                         insertLog(ListKind::Promocao, {{Null{}, nr, day(2025, 2, 1), day(2025, 2, 28), str("DATAEVENTO"),
                                                         str("010"), str("Venda"), str("V"), day(1999, 1, 1)}})),
              "");
    Row promo = only("GetPromocao", {nr});
    ASSERT_FALSE(wire::isNull(promo[8]));
    EXPECT_GT(std::get<wire::DateTime>(promo[8]), wire::DateTime::fromYmd(2020, 1, 1));
    Row promoNew = promo;
    promoNew[4] = str("DATAFECHAMENTO");
    promoNew[8] = Null{};
    ASSERT_EQ(client.set("SetPromocao", updateLog(ListKind::Promocao, promo, promoNew)), "");
    Row promoStored = only("GetPromocao", {nr});
    EXPECT_EQ(promoStored[4], str("DATAFECHAMENTO"));
    EXPECT_EQ(promoStored[8], promo[8]);
    ASSERT_EQ(client.set("SetPromocao", deleteLog(ListKind::Promocao, promoStored)), "");
    EXPECT_EQ(render(client.packet("GetPromocao", {nr})), "");
}

TEST_F(SetRoundTrip, BandsOfEveryScopeKeepTheirCents) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    struct Case {
        ListKind list;
        const char* set;
        const char* kind;
        double rule;
    };
    const Case cases[] = {
        {ListKind::PercCargo, "SetPercCargo", "CARGO", addCargo(client, nr, "V")},
        {ListKind::PercEvento, "SetPercEvento", "TIPOEVENTO", addEvento(client, nr, "001", "V")},
        {ListKind::PercPromocao, "SetPercPromocao", "PROMOCAO",
         addPromocao(client, nr, day(2025, 1, 1), day(2025, 1, 31), "DATAEVENTO", "001", "V")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        ASSERT_EQ(tryBand(client, c.list, nr, c.rule, 0.01, 99.99, 1.26), "");
        const json args = {nr, c.rule, c.kind};
        Row band = only("GetPercentual", args);
        EXPECT_EQ(wire::render(band[6]) + ";" + wire::render(band[7]) + ";" + wire::render(band[8]), "0.01;99.99;1.26");
        Row edited = band;
        edited[8] = 3.0;
        ASSERT_EQ(client.set(c.set, updateLog(c.list, band, edited)), "");
        EXPECT_EQ(std::get<double>(only("GetPercentual", args)[8]), 3.0);
        ASSERT_EQ(client.set(c.set, deleteLog(c.list, edited)), "");
        EXPECT_EQ(client.packet("GetPercentual", args).rows.size(), 0u);
    }
}

TEST_F(SetRoundTrip, DeletingATableOrRuleTakesWhatHangsUnderIt) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double v = addCargo(client, nr, "V");
    const double s = addCargo(client, nr, "S");
    const double e = addEvento(client, nr, "001", "V");
    const double p = addPromocao(client, nr, day(2025, 1, 1), day(2025, 1, 31), "DATAEVENTO", "001", "V");
    ASSERT_EQ(tryBand(client, ListKind::PercCargo, nr, v, 0, 10, 1), "");
    ASSERT_EQ(tryBand(client, ListKind::PercCargo, nr, s, 0, 10, 1), "");
    ASSERT_EQ(tryBand(client, ListKind::PercEvento, nr, e, 0, 10, 1), "");
    ASSERT_EQ(tryBand(client, ListKind::PercPromocao, nr, p, 0, 10, 1), "");

    const Row ruleV = client.packet("GetCargo", {nr}).rows[0];
    ASSERT_EQ(client.set("SetCargo", deleteLog(ListKind::Cargo, ruleV)), "");
    EXPECT_EQ(client.packet("GetPercentual", {nr, v, "CARGO"}).rows.size(), 0u);
    EXPECT_EQ(client.packet("GetPercentual", {nr, s, "CARGO"}).rows.size(), 1u);

    const Row table = client.packet("GetComissao", json::array()).rows[0];
    ASSERT_EQ(client.set("SetComissao", deleteLog(ListKind::Comissao, table)), "");
    EXPECT_EQ(render(client.packet("GetCargo", {nr})), "");
    EXPECT_EQ(render(client.packet("GetEvento", {nr})), "");
    EXPECT_EQ(render(client.packet("GetPromocao", {nr})), "");
    EXPECT_EQ(render(client.packet("GetPercentual", {nr, s, "CARGO"})), "");
    EXPECT_EQ(render(client.packet("GetPercentual", {nr, e, "TIPOEVENTO"})), "");
    EXPECT_EQ(render(client.packet("GetPercentual", {nr, p, "PROMOCAO"})), "");
}

TEST_F(SetRoundTrip, ALogWithABadLastChangeLeavesNothingApplied) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(client, nr, "V");
    ASSERT_EQ(tryBand(client, ListKind::PercCargo, nr, rule, 0, 10, 1), "");
    const Row stored = client.packet("GetPercentual", {nr, rule, "CARGO"}).rows[0];
    Row edited = stored;
    edited[8] = 9.0;

    wire::ChangeLog log;
    log.fields = appserver::datasets::percentual();
    log.changes = {{wire::ChangeOp::Update, stored, edited},
                   {wire::ChangeOp::Insert, {}, bandRow(ListKind::PercCargo, nr, rule, 20, 30, 1)},
                   {wire::ChangeOp::Insert, {}, bandRow(ListKind::PercCargo, nr, rule, 25, 40, 1)}};  // overlaps the one before
    EXPECT_EQ(client.set("SetPercCargo", wire::toJson(log)), appserver::msg::kIntervaloContido);
    EXPECT_EQ(render(client.packet("GetPercentual", {nr, rule, "CARGO"})), "1|1|CARGO|1|||0|10|1\n");

    log.changes.pop_back();  // without the bad change the same log goes through whole
    EXPECT_EQ(client.set("SetPercCargo", wire::toJson(log)), "");
    auto bands = client.packet("GetPercentual", {nr, rule, "CARGO"});
    ASSERT_EQ(bands.rows.size(), 2u);
    bands.rows[1][0] = wire::Null{};  // a number a refused insert took is never given again, on some stores
    EXPECT_EQ(render(bands), "1|1|CARGO|1|||0|10|9\n|1|CARGO|1|||20|30|1\n");
}

TEST_F(SetRoundTrip, AStaleUpdateOrDeleteIsRefused) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(client, nr, "V");
    ASSERT_EQ(tryBand(client, ListKind::PercCargo, nr, rule, 0, 10, 1), "");
    Client other(server.port());
    const Row readByBoth = client.packet("GetPercentual", {nr, rule, "CARGO"}).rows[0];

    Row mine = readByBoth;
    mine[8] = 2.0;
    ASSERT_EQ(client.set("SetPercCargo", updateLog(ListKind::PercCargo, readByBoth, mine)), "");
    Row theirs = readByBoth;
    theirs[8] = 5.0;
    EXPECT_EQ(other.set("SetPercCargo", updateLog(ListKind::PercCargo, readByBoth, theirs)), appserver::msg::kRegistroAlterado);
    EXPECT_EQ(other.set("SetPercCargo", deleteLog(ListKind::PercCargo, readByBoth)), appserver::msg::kRegistroAlterado);
    EXPECT_EQ(std::get<double>(client.packet("GetPercentual", {nr, rule, "CARGO"}).rows[0][8]), 2.0);

    ASSERT_EQ(client.set("SetPercCargo", deleteLog(ListKind::PercCargo, mine)), "");
    EXPECT_EQ(other.set("SetPercCargo", updateLog(ListKind::PercCargo, mine, theirs)), appserver::msg::kRegistroExcluido);
    EXPECT_EQ(other.set("SetPercCargo", deleteLog(ListKind::PercCargo, mine)), appserver::msg::kRegistroExcluido);

    Row noNumber = mine;
    noNumber[0] = Null{};
    EXPECT_EQ(other.set("SetPercCargo", deleteLog(ListKind::PercCargo, noNumber)), appserver::msg::kRegistroSemNumero);
}

TEST_F(SetRoundTrip, NumbersAreNeverReused) {
    const double first = addComissao(client, "A", day(2025, 1, 1), day(2025, 12, 31));
    const Row a = client.packet("GetComissao", json::array()).rows[0];
    ASSERT_EQ(client.set("SetComissao", deleteLog(ListKind::Comissao, a)), "");
    const double second = addComissao(client, "B", day(2025, 1, 1), day(2025, 12, 31));
    EXPECT_GT(second, first);
    // A stale delete of the old table cannot hit the new one.
    EXPECT_EQ(client.set("SetComissao", deleteLog(ListKind::Comissao, a)), appserver::msg::kRegistroExcluido);
    EXPECT_EQ(client.packet("GetComissao", json::array()).rows.size(), 1u);
}
