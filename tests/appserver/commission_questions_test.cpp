// SimulaComissao and VerificaComissao over a real socket: which rule a sale meets, what it
// earns, the holes of a table, and parameters refused by name.
#include <gtest/gtest.h>

#include "server_harness.h"
#include "wire/packet_json.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

namespace {

class CommissionQuestions : public ::testing::Test {
protected:
    TempDb db;
    ServerProcess server{db.path()};
    Client client{server.port()};

    void bands(ListKind list, double nr, double rule, const std::vector<std::array<double, 3>>& rows) {
        for (const auto& [ini, fin, perc] : rows) ASSERT_EQ(tryBand(client, list, nr, rule, ini, fin, perc), "");
    }
    // "SCOPE rule=N band=N percent commission", "-" for null, then a line a reason.
    std::string simulate(const char* eventDate, const char* closingDate, const char* tipo, const char* cargo,
                         double value) {
        const json r = client.result("SimulaComissao", {eventDate, closingDate, tipo, cargo, value});
        auto text = [](const json& v) {
            return v.is_null() ? std::string("-") : v.is_string() ? v.get<std::string>() : wire::render(v.get<double>());
        };
        std::string out = text(r.at("scope")) + " rule=" + text(r.at("rule")) + " band=" + text(r.at("band")) + " " +
                          text(r.at("percent")) + "% " + text(r.at("commission"));
        for (const auto& reason : r.at("reasons")) out += "\n" + reason.get<std::string>();
        return out;
    }
    std::string findings(double nr) {
        std::string out;
        for (const auto& f : client.result("VerificaComissao", {nr})) {
            out += f.at("kind").get<std::string>() + " tables=" + f.at("tables").dump() + " bands=" + f.at("bands").dump() +
                   " " + f.at("text").get<std::string>() + "\n";
        }
        return out;
    }
    std::string head(const std::string& answer) { return answer.substr(0, answer.find('\n')); }
    // The JSON-RPC error of a call as "code message".
    std::string refusal(const char* method, const json& params) {
        const json reply = client.call(method, params);
        if (!reply.contains("error")) return "<answered>";
        return std::to_string(reply["error"]["code"].get<int>()) + " " + reply["error"]["message"].get<std::string>();
    }
};

}  // namespace

TEST_F(CommissionQuestions, SimulationTakesPromotionThenEventTypeThenPositionAndRoundsHalfAway) {
    const double nr = addComissao(client, "Comissão 2025", day(2025, 1, 1), day(2025, 12, 31));
    const double vendedor = addCargo(client, nr, "V");
    bands(ListKind::PercCargo, nr, vendedor, {{0, 1000, 1}, {1000.01, 5000, 5}});
    const double evento = addEvento(client, nr, "001", "V");
    bands(ListKind::PercEvento, nr, evento, {{0, 1000, 3}});
    const double marco = addPromocao(client, nr, day(2025, 3, 1), day(2025, 3, 31), "DATAEVENTO", "001", "V");
    bands(ListKind::PercPromocao, nr, marco, {{0, 500, 5}});
    const double junho = addPromocao(client, nr, day(2025, 6, 1), day(2025, 6, 30), "DATAFECHAMENTO", "001", "V");
    bands(ListKind::PercPromocao, nr, junho, {{0, 10000, 7}});

    // A value on the promotion band's end takes the promotion; one cent past it falls through
    // both promotions to the event-type rule, each passed over with its reason.
    EXPECT_EQ(simulate("2025-03-31", "2025-04-10", "001", "V", 500), "PROMOCAO rule=1 band=4 5% 25");
    EXPECT_EQ(simulate("2025-03-31", "2025-04-10", "001", "V", 500.01),
              "TIPOEVENTO rule=1 band=3 3% 15\n"
              "Promoção de 01/03/2025 a 31/03/2025 pela Data do Evento, tipo de evento 001 Venda, Vendedor (regra 1): "
              "nenhuma faixa contém o valor 500,01.\n"
              "Promoção de 01/06/2025 a 30/06/2025 pela Data de Fechamento, tipo de evento 001 Venda, Vendedor (regra 2): "
              "a Data de Fechamento 10/04/2025 está fora da janela.");
    // The day after the window's last day.
    EXPECT_EQ(head(simulate("2025-04-01", "2025-04-10", "001", "V", 100)), "TIPOEVENTO rule=1 band=3 3% 3");
    // The closing date is the base of the June promotion, whatever the event date.
    EXPECT_EQ(head(simulate("2025-01-10", "2025-06-30", "001", "V", 14.5)), "PROMOCAO rule=2 band=5 7% 1.02");
    EXPECT_EQ(head(simulate("2025-01-10", "2025-07-01", "001", "V", 1000)), "TIPOEVENTO rule=1 band=3 3% 30");
    // No event-type rule: the position rule; halves round away from zero (0,145 and 64,085,
    // which binary doubles hold a shade under the half).
    EXPECT_EQ(simulate("2025-01-10", "2025-01-10", "002", "V", 14.5),
              "CARGO rule=1 band=1 1% 0.15\n"
              "Nenhuma promoção do tipo de evento 002 para Vendedor.\n"
              "Nenhuma regra do tipo de evento 002 para Vendedor.");
    EXPECT_EQ(head(simulate("2025-01-10", "2025-01-10", "002", "V", 1000.01)), "CARGO rule=1 band=2 5% 50");
    EXPECT_EQ(head(simulate("2025-01-10", "2025-01-10", "002", "V", 1281.7)), "CARGO rule=1 band=2 5% 64.09");

    // No band, no rule, no table: answers with their reasons.
    EXPECT_EQ(simulate("2025-01-10", "2025-01-10", "002", "V", 5000.01),
              "- rule=- band=- -% -\n"
              "Nenhuma promoção do tipo de evento 002 para Vendedor.\n"
              "Nenhuma regra do tipo de evento 002 para Vendedor.\n"
              "Cargo Vendedor (regra 1): nenhuma faixa contém o valor 5.000,01.");
    EXPECT_EQ(simulate("2025-01-10", "2025-01-10", "002", "G", 10),
              "- rule=- band=- -% -\n"
              "Nenhuma promoção do tipo de evento 002 para Gerente.\n"
              "Nenhuma regra do tipo de evento 002 para Gerente.\n"
              "Nenhuma regra de cargo para Gerente.");
    // A rule stored after a question is met by the next one: nothing answers from before it.
    const double gerente = addCargo(client, nr, "G");
    bands(ListKind::PercCargo, nr, gerente, {{0, 100, 2}});
    EXPECT_EQ(head(simulate("2025-01-10", "2025-01-10", "002", "G", 10)), "CARGO rule=2 band=6 2% 0.2");
    const json none = client.result("SimulaComissao", {"2026-01-01", "2026-01-01", "001", "V", 10});
    EXPECT_TRUE(none["table"].is_null());
    EXPECT_EQ(none["reasons"], json::array({"Nenhuma comissão vale na Data do Evento 01/01/2026."}));
    EXPECT_EQ(client.result("SimulaComissao", {"2025-01-10", "2025-01-10", "002", "V", 10})["table"], nr);
}

TEST_F(CommissionQuestions, VerificationFindsGapsOfMoreThanOneCentAndOneDay) {
    const double first = addComissao(client, "Primeiro semestre", day(2025, 1, 1), day(2025, 6, 30));
    addComissao(client, "Segundo semestre", day(2025, 7, 1), day(2025, 12, 31));  // the next day: no gap
    const double next = addComissao(client, "Ano seguinte", day(2026, 1, 2), day(2026, 12, 31));  // one day left out
    const double vendedor = addCargo(client, first, "V");
    bands(ListKind::PercCargo, first, vendedor, {{0, 100, 1}, {100.01, 200, 2}, {200.02, 300, 3}, {300.05, 400, 4}});
    addCargo(client, first, "S");
    const double promo = addPromocao(client, first, day(2025, 2, 1), day(2025, 2, 28), "DATAEVENTO", "001", "V");
    bands(ListKind::PercPromocao, first, promo, {{0, 100, 5}});
    // A store written before windows were held inside their table: the window reaches past it.
    execOn(db.path(), "UPDATE COMISSAOPROMO SET DTVALFINCOMISPROMO = " +
                          std::to_string(std::get<wire::DateTime>(day(2025, 7, 2)).seconds()));

    const std::string gap =
        "PERIODO_LACUNA tables=[2.0,3.0] bands=[] Nenhuma comissão vale no dia 01/01/2026, entre Segundo semestre "
        "(01/07/2025 a 31/12/2025) e Ano seguinte (02/01/2026 a 31/12/2026).\n";
    EXPECT_EQ(findings(first),
              gap +
                  "FAIXA_LACUNA tables=[1.0] bands=[2.0,3.0] Cargo Vendedor (regra 1): nenhuma faixa contém o valor 200,01.\n"
                  "FAIXA_LACUNA tables=[1.0] bands=[3.0,4.0] Cargo Vendedor (regra 1): nenhuma faixa contém os valores de "
                  "300,01 a 300,04.\n"
                  "REGRA_SEM_FAIXA tables=[1.0] bands=[] Cargo Supervisor (regra 2): não tem faixas de valores.\n"
                  "PROMOCAO_FORA tables=[1.0] bands=[] Promoção de 01/02/2025 a 02/07/2025 pela Data do Evento, tipo de "
                  "evento 001 Venda, Vendedor (regra 1): a janela passa da validade da comissão, de 01/01/2025 a "
                  "30/06/2025.\n");
    EXPECT_EQ(findings(next), gap);  // the days no table covers are every table's concern
    const json one = client.result("VerificaComissao", {first}).at(1);
    EXPECT_EQ(one.at("scope"), "CARGO");
    EXPECT_EQ(one.at("rule"), vendedor);
    EXPECT_EQ(refusal("VerificaComissao", {99}), "-32000 Comissão não cadastrada.");
}

TEST_F(CommissionQuestions, ParametersTheScreenCouldNotSendAreRefusedByName) {
    const json good = {"2025-03-15", "2025-03-20", "001", "V", 10.5};
    auto with = [&](std::size_t i, json v) {
        json p = good;
        p[i] = std::move(v);
        return refusal("SimulaComissao", p);
    };
    const std::string bad = "-32602 Invalid params: parameter ";
    EXPECT_EQ(with(0, "2025-02-29"), bad + "1 (event date) must be a date YYYY-MM-DD that exists");
    EXPECT_EQ(with(0, "15/03/2025"), bad + "1 (event date) must be a date YYYY-MM-DD that exists");
    EXPECT_EQ(with(1, "2025-03-15T00:00:00"), bad + "2 (closing date) must be a date YYYY-MM-DD that exists");
    const std::string code = bad + "3 (CDTIPOEVENTO) must be an event-type code of three characters with no blank at either end";
    for (const json& c : {json("01"), json(" 01"), json("01 "), json("0001"), json(1)}) EXPECT_EQ(with(2, c), code) << c;
    EXPECT_EQ(with(2, "A01"), "<answered>");
    EXPECT_EQ(with(3, "Vendedor"), bad + "4 (IDCARGOVEND) must be a position code: V, S or G");
    const std::string value = bad + "5 (value) must be a number from -999999999 to 999999999 with at most two decimals";
    EXPECT_EQ(with(4, 10.005), value);
    EXPECT_EQ(with(4, 1000000000), value);
    EXPECT_EQ(with(4, "10,50"), value);
    EXPECT_EQ(with(4, -999999999), "<answered>");
    EXPECT_EQ(refusal("SimulaComissao", json::array({"2025-03-15"})), "-32602 Invalid params: expected 5 parameters, got 1");
    EXPECT_EQ(refusal("VerificaComissao", {1.5}), bad + "1 (NRCOMISSAOOREV) must be a table number");
    EXPECT_EQ(refusal("VerificaComissao", {"1"}), bad + "1 (NRCOMISSAOOREV) must be a table number");
}


TEST_F(CommissionQuestions, ApuraComissaoAnswersEachSaleAsSimulaComissaoFromOneSnapshot) {
    const double nr = addComissao(client, "Comissão 2025", day(2025, 1, 1), day(2025, 12, 31));
    const double vendedor = addCargo(client, nr, "V");
    bands(ListKind::PercCargo, nr, vendedor, {{0, 1000, 1}, {1000.01, 5000, 5}});
    const double junho = addPromocao(client, nr, day(2025, 6, 1), day(2025, 6, 30), "DATAFECHAMENTO", "001", "V");
    bands(ListKind::PercPromocao, nr, junho, {{0, 10000, 7}});

    const json sales = json::array({json::array({"2025-01-10", "2025-06-30", "001", "V", 14.5}),
                                    json::array({"2025-01-10", "2025-07-01", "001", "V", 5000.01}),
                                    json::array({"2026-01-01", "2026-01-01", "002", "S", -3})});
    const json answers = client.result("ApuraComissao", json::array({sales}));
    ASSERT_EQ(answers.size(), sales.size());
    for (std::size_t i = 0; i < sales.size(); ++i) EXPECT_EQ(answers[i], client.result("SimulaComissao", sales[i])) << i;

    // The whole snapshot, for programs that pay sales themselves, labelled with its version.
    const json rules = client.result("GetRegrasComissao", json::array());
    ASSERT_EQ(rules.at("tables").size(), 1u);
    EXPECT_EQ(rules["tables"][0].at("first"), "2025-01-01");
    const json& rulesOf = rules["tables"][0].at("rules");
    ASSERT_EQ(rulesOf.size(), 2u);
    EXPECT_EQ(rulesOf[0].at("scope"), "CARGO");
    EXPECT_EQ(rulesOf[0].at("bands").dump(),
              R"([{"first":0.0,"last":1000.0,"number":1.0,"percent":1.0},{"first":1000.01,"last":5000.0,"number":2.0,"percent":5.0}])");
    EXPECT_EQ(rulesOf[1].at("base"), "DATAFECHAMENTO");
    const double version = rules.at("version").get<double>();
    bands(ListKind::PercCargo, nr, vendedor, {{5000.01, 9000, 2}});
    EXPECT_GT(client.result("GetRegrasComissao", json::array()).at("version").get<double>(), version);
}

TEST_F(CommissionQuestions, ApuraComissaoNamesTheMalformedSaleByIndexAndParameter) {
    const json good = json::array({"2025-01-10", "2025-01-10", "001", "V", 10});
    EXPECT_EQ(refusal("ApuraComissao", json::array({json::array({good, json::array({"2025-02-30", "2025-01-10", "001", "V", 10})})})),
              "-32602 Invalid params: sale 1: parameter 1 (event date) must be a date YYYY-MM-DD that exists");
    EXPECT_EQ(refusal("ApuraComissao", json::array({json::array({good, good, json::array({"2025-01-10", "2025-01-10", "001", "V", 0.001})})})),
              "-32602 Invalid params: sale 2: parameter 5 (value) must be a number from -999999999 to 999999999 with at "
              "most two decimals");
    EXPECT_EQ(refusal("ApuraComissao", json::array({json::array({good, "x"})})),
              "-32602 Invalid params: sale 1: must be an array of the 5 parameters of SimulaComissao");
    EXPECT_EQ(refusal("ApuraComissao", json::array({good})), "-32602 Invalid params: sale 0: must be an array of the 5 parameters of SimulaComissao");
    EXPECT_EQ(refusal("ApuraComissao", json::array()), "-32602 Invalid params: expected 1 parameter, got 0");
    json many = json::array();
    for (int i = 0; i < 1001; ++i) many.push_back(good);
    EXPECT_EQ(refusal("ApuraComissao", json::array({many})),
              "-32602 Invalid params: parameter 1 (SALES) holds at most 1000 sales, this one has 1001");
}
