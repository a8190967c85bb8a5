// The server refuses what the screen's checks refuse, with the same text, and accepts what they accept.
#include <gtest/gtest.h>

#include "appserver/messages.h"
#include "server_harness.h"

using namespace harness;
using appserver::ListKind;
namespace msg = appserver::msg;
using nlohmann::json;
using wire::Null;
using wire::Row;
using wire::Value;

namespace {

class Invariants : public ::testing::Test {
protected:
    TempDb db;
    ServerProcess server{db.path()};
    Client client{server.port()};

    std::string comissao(const Value& desc, const Value& ini, const Value& fin) {
        return client.set("SetComissao", insertLog(ListKind::Comissao, {{Null{}, desc, ini, fin, str("0001")}}));
    }
    std::string cargo(double nr, const Value& c) {
        return client.set("SetCargo", insertLog(ListKind::Cargo, {{Null{}, c, nr}}));
    }
    std::string evento(double nr, const Value& tipo, const Value& c) {
        return client.set("SetEvento", insertLog(ListKind::Evento, {{Null{}, nr, tipo, str("Nome"), c}}));
    }
    std::string promo(double nr, const Value& ini, const Value& fin, const Value& base, const Value& tipo,
                      const Value& c) {
        return client.set("SetPromocao",
                          insertLog(ListKind::Promocao, {{Null{}, nr, ini, fin, base, tipo, str("Nome"), c, Null{}}}));
    }
    std::string band(double nr, double rule, Value ini, Value fin, Value perc) {
        Row row = bandRow(ListKind::PercCargo, nr, rule, 0, 0, 0);
        row[6] = std::move(ini);
        row[7] = std::move(fin);
        row[8] = std::move(perc);
        return client.set("SetPercCargo", insertLog(ListKind::PercCargo, {row}));
    }
    std::string update(const char* method, ListKind list, const Row& old, const Row& now) {
        return client.set(method, updateLog(list, old, now));
    }
};

}  // namespace

TEST_F(Invariants, CommissionTableFieldsAreRequired) {
    EXPECT_EQ(comissao(Null{}, day(2025, 1, 1), day(2025, 1, 2)), msg::kNomeDeve);
    EXPECT_EQ(comissao(str("   "), day(2025, 1, 1), day(2025, 1, 2)), msg::kNomeDeve);
    EXPECT_EQ(comissao(str("T"), Null{}, day(2025, 1, 2)), msg::kDtIniDeve);
    EXPECT_EQ(comissao(str("T"), day(2025, 1, 1), Null{}), msg::kDtFinDeve);
    EXPECT_EQ(comissao(str("T"), day(2025, 3, 10), day(2025, 3, 9)), msg::kDtIniMaiorDtFin);
    EXPECT_EQ(comissao(str("T"), day(2025, 3, 10), day(2025, 3, 10)), "");
}

TEST_F(Invariants, ValidityPeriodsNeverShareADay) {
    ASSERT_EQ(comissao(str("2024"), day(2024, 1, 1), day(2024, 12, 31)), "");
    EXPECT_EQ(comissao(str("a"), day(2024, 12, 31), day(2025, 6, 30)), msg::kDataContida);  // touches the end
    EXPECT_EQ(comissao(str("b"), day(2023, 12, 1), day(2025, 1, 31)), msg::kDataContempla);
    EXPECT_EQ(comissao(str("c"), day(2024, 1, 1), day(2025, 1, 31)), msg::kDataContida);  // same start
    EXPECT_EQ(comissao(str("d"), day(2024, 3, 1), day(2024, 4, 30)), msg::kDataContida);  // inside
    EXPECT_EQ(comissao(str("e"), day(2023, 1, 1), day(2024, 1, 1)), msg::kDataContida);   // touches the start
    EXPECT_EQ(comissao(str("2025"), day(2025, 1, 1), day(2025, 12, 31)), "");
    EXPECT_EQ(comissao(str("2023"), day(2023, 1, 1), day(2023, 12, 31)), "");
}

TEST_F(Invariants, EditingATableChecksOnlyWhatChanged) {
    const double t24 = addComissao(client, "2024", day(2024, 1, 1), day(2024, 12, 31));
    addComissao(client, "2025", day(2025, 1, 1), day(2025, 12, 31));
    const Row stored = client.packet("GetComissao", json::array()).rows[0];
    Row renamed = stored;
    renamed[1] = str("2024 revista");
    EXPECT_EQ(update("SetComissao", ListKind::Comissao, stored, renamed), "");  // its own period is no conflict

    Row widened = renamed;
    widened[3] = day(2025, 1, 5);
    EXPECT_EQ(update("SetComissao", ListKind::Comissao, renamed, widened), msg::kDataContida);

    ASSERT_EQ(promo(t24, day(2024, 11, 1), day(2024, 11, 30), str("DATAEVENTO"), str("001"), str("V")), "");
    Row shrunk = renamed;
    shrunk[3] = day(2024, 10, 31);
    EXPECT_EQ(update("SetComissao", ListKind::Comissao, renamed, shrunk), msg::kPromocaoForaDaComissao);
    shrunk[3] = day(2024, 11, 30);
    EXPECT_EQ(update("SetComissao", ListKind::Comissao, renamed, shrunk), "");
    Row startsLater = shrunk;
    startsLater[2] = day(2024, 11, 2);  // past the promotion's start
    EXPECT_EQ(update("SetComissao", ListKind::Comissao, shrunk, startsLater), msg::kPromocaoForaDaComissao);
    startsLater[2] = day(2024, 11, 1);
    EXPECT_EQ(update("SetComissao", ListKind::Comissao, shrunk, startsLater), "");
}

TEST_F(Invariants, OnePositionRulePerPosition) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double other = addComissao(client, "U", day(2026, 1, 1), day(2026, 12, 31));
    ASSERT_EQ(cargo(nr, str("S")), "");
    EXPECT_EQ(cargo(nr, str("S")), msg::kCargoCadastrado);
    EXPECT_EQ(cargo(other, str("S")), "");
    EXPECT_EQ(cargo(nr, Null{}), msg::kCargoNaoInformado);
    EXPECT_EQ(cargo(nr, str("X")), msg::kCargoInvalido);
    EXPECT_EQ(cargo(999, str("G")), msg::kComissaoNaoCadastrada);

    ASSERT_EQ(cargo(nr, str("V")), "");
    const auto rules = client.packet("GetCargo", {nr});
    const Row s = rules.rows[0];
    EXPECT_EQ(update("SetCargo", ListKind::Cargo, s, s), "");  // posted unchanged: not a duplicate of itself
    Row toV = s;
    toV[1] = str("V");
    EXPECT_EQ(update("SetCargo", ListKind::Cargo, s, toV), msg::kCargoCadastrado);
    Row moved = s;
    moved[2] = other;
    EXPECT_EQ(update("SetCargo", ListKind::Cargo, s, moved), msg::kRegraMudaComissao);
}

TEST_F(Invariants, OneEventTypeRulePerEventTypeAndPosition) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    ASSERT_EQ(evento(nr, str("001"), str("V")), "");
    EXPECT_EQ(evento(nr, str("001"), str("V")), msg::kTipoEventoCargoCadastrados);
    EXPECT_EQ(evento(nr, str("001"), str("S")), "");
    EXPECT_EQ(evento(nr, str("002"), str("V")), "");
    EXPECT_EQ(evento(nr, Null{}, str("V")), msg::kTipoEventoNaoInformado);
    EXPECT_EQ(evento(nr, str("003"), Null{}), msg::kCargoNaoInformado);
    // Codes have three characters, as the catalogue holds them; "1" and " 1" would be rules of
    // their own beside "001".
    for (const char* code : {"1", " 1", "01", "1 ", " 01", "01 ", "\t01"})
        EXPECT_EQ(evento(nr, str(code), str("V")), msg::kTipoEventoInvalido) << code;
    EXPECT_EQ(evento(nr, str("A01"), str("V")), "");
    EXPECT_EQ(evento(nr, str("ç-1"), str("V")), "");
    EXPECT_EQ(promo(nr, day(2025, 5, 1), day(2025, 5, 2), str("DATAEVENTO"), str("7"), str("V")), msg::kTipoEventoInvalido);

    const Row first = client.packet("GetEvento", {nr}).rows[0];
    Row renamed = first;
    renamed[3] = str("Outro nome");
    EXPECT_EQ(update("SetEvento", ListKind::Evento, first, renamed), "");
    Row clash = renamed;
    clash[4] = str("S");
    EXPECT_EQ(update("SetEvento", ListKind::Evento, renamed, clash), msg::kTipoEventoCargoCadastrados);
}

TEST_F(Invariants, PromotionWindows) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const Value ev = str("DATAEVENTO"), fe = str("DATAFECHAMENTO");
    EXPECT_EQ(promo(nr, day(2024, 12, 31), day(2025, 1, 31), ev, str("001"), str("V")), msg::kPromocaoForaDaComissao);
    EXPECT_EQ(promo(nr, day(2025, 12, 1), day(2026, 1, 1), ev, str("001"), str("V")), msg::kPromocaoForaDaComissao);
    EXPECT_EQ(promo(nr, day(2025, 1, 1), day(2025, 12, 31), ev, str("009"), str("G")), "");  // the whole period

    ASSERT_EQ(promo(nr, day(2025, 3, 1), day(2025, 3, 31), ev, str("001"), str("V")), "");
    EXPECT_EQ(promo(nr, day(2025, 3, 31), day(2025, 4, 15), ev, str("001"), str("V")), msg::kPromocaoSobreposta);
    EXPECT_EQ(promo(nr, day(2025, 2, 1), day(2025, 3, 1), ev, str("001"), str("V")), msg::kPromocaoSobreposta);
    EXPECT_EQ(promo(nr, day(2025, 3, 10), day(2025, 3, 12), ev, str("001"), str("V")), msg::kPromocaoSobreposta);
    EXPECT_EQ(promo(nr, day(2025, 4, 1), day(2025, 4, 15), ev, str("001"), str("V")), "");  // one day apart
    EXPECT_EQ(promo(nr, day(2025, 3, 1), day(2025, 3, 31), fe, str("001"), str("V")), "");
    EXPECT_EQ(promo(nr, day(2025, 3, 1), day(2025, 3, 31), ev, str("002"), str("V")), "");
    EXPECT_EQ(promo(nr, day(2025, 3, 1), day(2025, 3, 31), ev, str("001"), str("S")), "");

    EXPECT_EQ(promo(nr, Null{}, day(2025, 5, 1), ev, str("001"), str("V")), msg::kDtIniDeve);
    EXPECT_EQ(promo(nr, day(2025, 5, 1), Null{}, ev, str("001"), str("V")), msg::kDtFinDeve);
    EXPECT_EQ(promo(nr, day(2025, 5, 2), day(2025, 5, 1), ev, str("001"), str("V")), msg::kDtIniMaiorDtFin);
    EXPECT_EQ(promo(nr, day(2025, 5, 1), day(2025, 5, 1), Null{}, str("001"), str("V")), msg::kDataBaseNaoInformada);
    EXPECT_EQ(promo(nr, day(2025, 5, 1), day(2025, 5, 1), str("HOJE"), str("001"), str("V")), msg::kDataBaseInvalida);
    EXPECT_EQ(promo(nr, day(2025, 5, 1), day(2025, 5, 1), ev, str(""), str("V")), msg::kTipoEventoNaoInformado);
    EXPECT_EQ(promo(nr, day(2025, 5, 1), day(2025, 5, 1), ev, str("001"), Null{}), msg::kCargoNaoInformado);

    // Re-posting a stored promotion unchanged, or moving it within its own window, is no conflict.
    const auto stored = client.packet("GetPromocao", {nr});
    Row march;
    for (const auto& r : stored.rows)
        if (r[2] == day(2025, 3, 1) && r[4] == ev && r[5] == str("001") && r[7] == str("V")) march = r;
    ASSERT_FALSE(march.empty());
    EXPECT_EQ(update("SetPromocao", ListKind::Promocao, march, march), "");
    Row later = march;
    later[3] = day(2025, 3, 30);
    EXPECT_EQ(update("SetPromocao", ListKind::Promocao, march, later), "");
}

TEST_F(Invariants, BandIntervalsNeverShareAValue) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(client, nr, "V");
    ASSERT_EQ(band(nr, rule, 0.0, 100.0, 1.0), "");
    ASSERT_EQ(band(nr, rule, 101.0, 200.0, 1.0), "");
    EXPECT_EQ(band(nr, rule, 200.0, 300.0, 1.0), msg::kIntervaloContido);  // shared end point
    EXPECT_EQ(band(nr, rule, 200.01, 300.0, 1.0), "");

    const double other = addCargo(client, nr, "S");
    ASSERT_EQ(band(nr, other, 120.0, 180.0, 1.0), "");  // another rule's bands do not collide
    EXPECT_EQ(band(nr, other, 100.0, 200.0, 1.0), msg::kValorContempla);
    EXPECT_EQ(band(nr, other, 120.0, 200.0, 1.0), msg::kIntervaloContido);
    EXPECT_EQ(band(nr, other, 130.0, 150.0, 1.0), msg::kIntervaloContido);
    EXPECT_EQ(band(nr, other, 181.0, 200.0, 1.0), "");
    EXPECT_EQ(band(nr, other, 50.0, 50.0, 1.0), "");
}

TEST_F(Invariants, BandValuesAreRequiredOrderedAndNonZero) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(client, nr, "V");
    EXPECT_EQ(band(nr, rule, Null{}, Null{}, Null{}), msg::kVrIniNaoInformado);
    EXPECT_EQ(band(nr, rule, 1.0, Null{}, Null{}), msg::kVrFinNaoInformado);
    EXPECT_EQ(band(nr, rule, 2.0, 1.0, 1.0), msg::kVrIniMaiorVrFin);
    EXPECT_EQ(band(nr, rule, 1.0, 2.0, Null{}), msg::kPercNaoInformado);
    EXPECT_EQ(band(nr, rule, 1.0, 2.0, 0.0), msg::kPercZero);
    EXPECT_EQ(band(nr, rule, 1.0, 2.0, 0.01), "");
}

// The band grid's entry takes values within its limits, and the screen rounds them to cents:
// anything else comes from elsewhere and is refused naming the column. Stored, 1e307 would
// become infinity once rounded, read back as null and never be updated or deleted.
TEST_F(Invariants, BandValuesTheScreenCannotSendAreRefused) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(client, nr, "V");
    const std::string valueRange = " fora do limite: use de -999999999 a 999999999.";
    EXPECT_EQ(band(nr, rule, 1e307, 1e307, 1.0), "Valor Inicial" + valueRange);
    EXPECT_EQ(band(nr, rule, -1000000000.0, 0.0, 1.0), "Valor Inicial" + valueRange);
    EXPECT_EQ(band(nr, rule, 0.0, 999999999.01, 1.0), "Valor Final" + valueRange);
    EXPECT_EQ(band(nr, rule, 0.0, 1.0, -1.0), "Percentual fora do limite: use de 0 a 999.");
    EXPECT_EQ(band(nr, rule, 0.0, 1.0, 999.01), "Percentual fora do limite: use de 0 a 999.");
    EXPECT_EQ(band(nr, rule, 0.004, 1.0, 1.0), "Valor Inicial deve ter no máximo duas casas decimais.");
    EXPECT_EQ(band(nr, rule, 0.0, 99.999, 1.0), "Valor Final deve ter no máximo duas casas decimais.");
    EXPECT_EQ(band(nr, rule, 0.0, 1.0, 1.256), "Percentual deve ter no máximo duas casas decimais.");
    const wire::Row row = bandRow(ListKind::PercCargo, nr, rule, 0, 1, -1);
    const json reply = client.call("SetPercCargo", json::array({insertLog(ListKind::PercCargo, {row})}));
    EXPECT_EQ(reply["error"]["code"], -32000);  // a refusal, with its text for the user

    // The limits themselves, and cents that have no exact binary form, pass.
    EXPECT_EQ(band(nr, rule, -999999999.0, -999999998.99, 999.0), "");
    EXPECT_EQ(band(nr, rule, 999999998.71, 999999999.0, 0.29), "");
    EXPECT_EQ(render(client.packet("GetPercentual", {nr, rule, "CARGO"})),
              "1|1|CARGO|1|||-999999999|-999999998.99|999\n2|1|CARGO|1|||999999998.71|999999999|0.29\n");
}

TEST_F(Invariants, AnEditedBandIsComparedWithTheOtherBandsOnly) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(client, nr, "V");
    ASSERT_EQ(band(nr, rule, 0.0, 100.0, 1.0), "");
    ASSERT_EQ(band(nr, rule, 200.0, 300.0, 1.0), "");
    const auto bands = client.packet("GetPercentual", {nr, rule, "CARGO"});
    const Row low = bands.rows[0];
    EXPECT_EQ(update("SetPercCargo", ListKind::PercCargo, low, low), "");
    Row grown = low;
    grown[7] = 199.99;
    EXPECT_EQ(update("SetPercCargo", ListKind::PercCargo, low, grown), "");
    Row tooFar = grown;
    tooFar[7] = 200.0;
    EXPECT_EQ(update("SetPercCargo", ListKind::PercCargo, grown, tooFar), msg::kIntervaloContido);
}

TEST_F(Invariants, BandsMustHangUnderAnExistingRuleOfTheirTable) {
    const double nr = addComissao(client, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double other = addComissao(client, "U", day(2026, 1, 1), day(2026, 12, 31));
    const double rule = addCargo(client, nr, "V");
    EXPECT_EQ(tryBand(client, ListKind::PercCargo, nr, 0, 0, 1, 1), msg::kRegraNaoCadastrada);  // a rule not yet sent
    EXPECT_EQ(tryBand(client, ListKind::PercCargo, nr, 999, 0, 1, 1), msg::kRegraNaoCadastrada);
    EXPECT_EQ(tryBand(client, ListKind::PercCargo, other, rule, 0, 1, 1), msg::kRegraNaoCadastrada);
    EXPECT_EQ(tryBand(client, ListKind::PercCargo, 999, rule, 0, 1, 1), msg::kComissaoNaoCadastrada);
    EXPECT_EQ(tryBand(client, ListKind::PercEvento, nr, rule, 0, 1, 1), msg::kRegraNaoCadastrada);  // not an event rule

    Row wrongKind = bandRow(ListKind::PercCargo, nr, rule, 0, 1, 1);
    wrongKind[2] = str("PROMOCAO");
    EXPECT_EQ(client.set("SetPercCargo", insertLog(ListKind::PercCargo, {wrongKind})), msg::kTipoComissaoInvalido);
    Row twoRules = bandRow(ListKind::PercCargo, nr, rule, 0, 1, 1);
    twoRules[4] = 3.0;
    EXPECT_EQ(client.set("SetPercCargo", insertLog(ListKind::PercCargo, {twoRules})), msg::kFaixaUmaRegra);
    Row noKind = bandRow(ListKind::PercCargo, nr, rule, 0, 1, 1);
    noKind[2] = Null{};  // the list decides the kind
    EXPECT_EQ(client.set("SetPercCargo", insertLog(ListKind::PercCargo, {noKind})), "");
    EXPECT_EQ(render(client.packet("GetPercentual", {nr, rule, "CARGO"})), "1|1|CARGO|1|||0|1|1\n");
}
