// CopiaComissao: a table copied to another period with every rule and band under it, windows
// moved by months or days, those pushed outside left out and named, all or nothing.
#include <gtest/gtest.h>

#include "appserver/messages.h"
#include "server_harness.h"
#include "support/e2e_support.h"

using namespace harness;
using appserver::ListKind;
using wire::Scope;
using nlohmann::json;
namespace msg = appserver::msg;

namespace {

// The rows of a list with their numbers and table blanked: what a copy must repeat.
std::string withoutNumbers(wire::DataPacket p, std::initializer_list<const char*> numbers) {
    for (auto& row : p.rows)
        for (const char* name : numbers) row[static_cast<std::size_t>(p.fieldIndex(name))] = wire::Null{};
    return render(p);
}

std::string bandsOf(Client& c, double nr, Scope scope, const json& rules, const char* key) {
    std::string out;
    const auto p = c.packet(scope == Scope::Cargo ? "GetCargo" : scope == Scope::TipoEvento ? "GetEvento" : "GetPromocao", rules);
    for (const auto& rule : p.rows)
        out += withoutNumbers(c.packet("GetPercentual", {nr, std::get<double>(rule[static_cast<std::size_t>(p.fieldIndex(key))]),
                                                         appserver::scopeWord(scope)}),
                              {"NRFAIXACOMISSAOOREV", "NRCOMISSAOOREV", "NRCOMISSAOCARGOOREV", "NRCOMISSAOTPEVENTOREV",
                               "NRCOMISSAOPROMOREV"}) +
               "--\n";
    return out;
}

// A table of 2024 with a rule on each page, bands under each, and windows across month ends.
double table2024(Client& c) {
    const double nr = addComissao(c, "Tabela 2024", day(2024, 1, 1), day(2024, 12, 31));
    const double v = addCargo(c, nr, "V");
    EXPECT_EQ(tryBand(c, ListKind::PercCargo, nr, v, 0, 1000, 1.5), "");
    EXPECT_EQ(tryBand(c, ListKind::PercCargo, nr, v, 1000.01, 5000, 2.25), "");
    EXPECT_EQ(tryBand(c, ListKind::PercCargo, nr, addCargo(c, nr, "S"), 0, 9000, 1), "");
    EXPECT_EQ(tryBand(c, ListKind::PercEvento, nr, addEvento(c, nr, "001", "V"), 0, 2000, 3), "");
    const double leap = addPromocao(c, nr, day(2024, 1, 31), day(2024, 2, 29), "DATAEVENTO", "001", "V");
    EXPECT_EQ(tryBand(c, ListKind::PercPromocao, nr, leap, 0, 100, 4), "");
    EXPECT_EQ(tryBand(c, ListKind::PercPromocao, nr, leap, 100.01, 200, 5), "");
    const double december = addPromocao(c, nr, day(2024, 12, 1), day(2024, 12, 31), "DATAFECHAMENTO", "001", "S");
    EXPECT_EQ(tryBand(c, ListKind::PercPromocao, nr, december, 0, 100, 6), "");
    return nr;
}

std::string everything(Client& c) {
    std::string out = render(c.packet("GetComissao", json::array()));
    for (const auto& t : c.packet("GetComissao", json::array()).rows) {
        const json nr = json::array({std::get<double>(t[0])});
        out += render(c.packet("GetCargo", nr)) + render(c.packet("GetEvento", nr)) + render(c.packet("GetPromocao", nr));
        out += std::to_string(c.packet("GetHistorico", nr).rows.size()) + "\n";
    }
    return out;
}

}  // namespace

TEST(TableCopy, HoldsEveryRuleAndBandWithWindowsMovedAndLeavesOutWhatFallsOutside) {
    TempDb db;
    ServerProcess server(db.path());
    Client c(server.port());
    const double old = table2024(c);

    // A year on by months, the end given as a packet writes it; December no longer fits.
    const json made = c.result("CopiaComissao", {old, "Tabela 2025", "2025-01-01", "2025-11-30T00:00:00"});
    const double nr = made["table"].get<double>();
    EXPECT_NE(nr, old);
    EXPECT_EQ(made["left"], json::array({"Promoção de 01/12/2024 a 31/12/2024 pela Data de Fechamento, tipo de evento "
                                         "001 Venda, Supervisor (regra 2): não copiada; iria de 01/12/2025 a 31/12/2025, "
                                         "fora da vigência da nova tabela."}));

    const auto tables = c.packet("GetComissao", json::array());
    EXPECT_EQ(render(tables), "1|Tabela 2024|2024-01-01|2024-12-31|0001\n" + wire::render(nr) +
                                  "|Tabela 2025|2025-01-01|2025-11-30|0001\n");
    const json a = json::array({old}), b = json::array({nr});
    EXPECT_EQ(withoutNumbers(c.packet("GetCargo", b), {"NRCOMISSAOCARGOOREV", "NRCOMISSAOOREV"}),
              withoutNumbers(c.packet("GetCargo", a), {"NRCOMISSAOCARGOOREV", "NRCOMISSAOOREV"}));
    EXPECT_EQ(withoutNumbers(c.packet("GetEvento", b), {"NRCOMISSAOTPEVENTOREV", "NRCOMISSAOOREV"}),
              withoutNumbers(c.packet("GetEvento", a), {"NRCOMISSAOTPEVENTOREV", "NRCOMISSAOOREV"}));
    // 31/01 to 29/02/2024 moves to 31/01 to 28/02/2025: by months, not by 366 days.
    EXPECT_EQ(withoutNumbers(c.packet("GetPromocao", b), {"NRCOMISSAOPROMOREV", "NRCOMISSAOOREV", "DTINCLUSAOCOMISSAO"}),
              "||2025-01-31|2025-02-28|DATAEVENTO|001|Venda|V|\n");
    EXPECT_EQ(bandsOf(c, nr, Scope::Cargo, b, "NRCOMISSAOCARGOOREV"), bandsOf(c, old, Scope::Cargo, a, "NRCOMISSAOCARGOOREV"));
    EXPECT_EQ(bandsOf(c, nr, Scope::TipoEvento, b, "NRCOMISSAOTPEVENTOREV"),
              bandsOf(c, old, Scope::TipoEvento, a, "NRCOMISSAOTPEVENTOREV"));
    EXPECT_EQ(bandsOf(c, nr, Scope::Promocao, b, "NRCOMISSAOPROMOREV"), "||PROMOCAO||||0|100|4\n||PROMOCAO||||100.01|200|5\n--\n");

    // Every row created is in the history, naming the copy.
    const auto history = c.packet("GetHistorico", b);
    ASSERT_EQ(history.rows.size(), 1u + 2 + 3 + 1 + 1 + 1 + 2);  // table, rules and bands of each page
    for (const auto& row : history.rows) {
        EXPECT_EQ(std::get<std::string>(row[5]), "INCLUSAO");
        EXPECT_EQ(std::get<std::string>(row[6]), "Cópia da tabela 1");
    }

    // Another start moves windows by the days between (745): 01/12/2024 lands on 16/12/2026.
    const json shifted = c.result("CopiaComissao", {old, "Tabela 2026", "2026-01-15", "2027-01-15"});
    EXPECT_EQ(shifted["left"], json::array());
    const json s = json::array({shifted["table"]});
    EXPECT_EQ(withoutNumbers(c.packet("GetPromocao", s), {"NRCOMISSAOPROMOREV", "NRCOMISSAOOREV", "DTINCLUSAOCOMISSAO"}),
              "||2026-02-14|2026-03-15|DATAEVENTO|001|Venda|V|\n||2026-12-16|2027-01-15|DATAFECHAMENTO|001|Venda|S|\n");
}

TEST(TableCopy, ARefusedCopyStoresNothing) {
    TempDb db;
    ServerProcess server(db.path());
    Client c(server.port());
    const double old = table2024(c);
    const std::string before = everything(c);

    // The period overlaps the table itself: the screen's own text, as a new table would get it.
    const std::string overlap = c.errorOf("CopiaComissao", {old, "Sobreposta", "2024-06-01", "2025-05-31"});
    EXPECT_EQ(overlap, c.set("SetComissao", insertLog(ListKind::Comissao, {{wire::Null{}, str("Sobreposta"), day(2024, 6, 1),
                                                                            day(2025, 5, 31), str("0001")}})));
    EXPECT_FALSE(overlap.empty());
    EXPECT_EQ(c.errorOf("CopiaComissao", {old, "", "2025-01-01", "2025-12-31"}), msg::kNomeDeve);
    EXPECT_EQ(c.errorOf("CopiaComissao", {old, nullptr, "2025-01-01", "2025-12-31"}), msg::kNomeDeve);
    EXPECT_EQ(c.errorOf("CopiaComissao", {old, "Invertida", "2025-12-31", "2025-01-01"}), msg::kDtIniMaiorDtFin);
    EXPECT_EQ(c.errorOf("CopiaComissao", {99, "Nenhuma", "2025-01-01", "2025-12-31"}), msg::kComissaoNaoCadastrada);
    EXPECT_EQ(c.errorOf("CopiaComissao", {old, "Tabela", "2025-02-29", "2025-12-31"}),
              "Invalid params: parameter 3 (DTVALIDADEINI) must be a date YYYY-MM-DD that exists");
    EXPECT_EQ(c.errorOf("CopiaComissao", {old, "Tabela", "2025-01-01", "2025-12-31T10:00:00"}),
              "Invalid params: parameter 4 (DTVALIDADEFIN) must be a date YYYY-MM-DD that exists");

    // A band stored before its check existed is refused on the way: the table and the rules
    // already created go with it.
    execOn(db.path(), "UPDATE FAIXACOMISSAO SET VRCOMISSAO = 0 WHERE VRCOMISSAO = 6");
    const std::string damaged = everything(c);
    EXPECT_EQ(c.errorOf("CopiaComissao", {old, "Tabela 2025", "2025-01-01", "2025-12-31"}), msg::kPercZero);
    EXPECT_EQ(everything(c), damaged);
    EXPECT_EQ(before.size(), damaged.size());
}

TEST(TableCopy, IsTheSignedInEditorsOnTheirOwnBranch) {
    TempDb db;
    ASSERT_EQ(testsupport::userCommand(db.path(), "add ana --role editor --branch 0001", "senha-da-ana\n"), 0);
    ASSERT_EQ(testsupport::userCommand(db.path(), "add vera --role viewer --branch 0001", "senha-da-vera\n"), 0);
    ASSERT_EQ(testsupport::userCommand(db.path(), "add rui --role editor --branch 0002", "senha-do-rui\n"), 0);
    ServerProcess server(db.path(), {"--demo", "--demo-year", "2026", "--sign-in-delay", "0"});
    Client c(server.port());
    const json copy = {1, "Cópia", "2040-01-01", "2040-12-31"};
    c.result("Login", {"vera", "senha-da-vera"});
    EXPECT_EQ(c.errorOf("CopiaComissao", copy), msg::kSomenteConsulta);
    c.result("Login", {"rui", "senha-do-rui"});
    EXPECT_EQ(c.errorOf("CopiaComissao", copy), msg::filialAlheia("0001", "0002"));
    const auto tables = c.packet("GetComissao", json::array()).rows.size();

    c.result("Login", {"ana", "senha-da-ana"});
    const double nr = c.result("CopiaComissao", copy)["table"].get<double>();
    EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), tables + 1);
    const auto history = c.packet("GetHistorico", {nr});
    ASSERT_FALSE(history.rows.empty());
    EXPECT_EQ(std::get<std::string>(history.rows[0][3]), "ana");
}
