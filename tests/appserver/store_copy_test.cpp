// Moving a store between SQLite and PostgreSQL with `ktr52300-server copy`: every row with its
// number, counters that never give a number twice, an empty target, and a copy that is not
// faithful stopped whole.
#include <gtest/gtest.h>

#include "server_harness.h"
#include "support/e2e_support.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;
using testsupport::queryText;

namespace {

constexpr const char* kTables[][2] = {
    {"COMISSAO", "NRCOMISSAOOREV"},
    {"COMISSAOCARGO", "NRCOMISSAOCARGOOREV"},
    {"COMISSAOTPEVENTO", "NRCOMISSAOTPEVENTOREV"},
    {"COMISSAOPROMO", "NRCOMISSAOPROMOREV"},
    {"FAIXACOMISSAO", "NRFAIXACOMISSAOOREV"},
    {"HISTORICO", "NRHISTORICO"},
    {"USUARIO", "NMUSUARIO"},
};

// Every row of every table in key order, then the key counters, as text.
std::string contents(const std::string& db) {
    std::string text;
    for (const auto& [table, key] : kTables)
        text += std::string(table) + ":\n" + queryText(db, std::string("SELECT * FROM ") + table + " ORDER BY " + key);
    const bool pg = db.starts_with("postgresql://");
    return text + queryText(db, pg ? "SELECT sequencename, last_value FROM pg_sequences ORDER BY sequencename"
                                   : "SELECT name, seq FROM sqlite_sequence ORDER BY name");
}

Refused copy(const std::string& from, const std::string& to) { return runServer({"copy", from, to}); }

}  // namespace

TEST(StoreCopy, MovesAStoreToPostgresqlAndBackWithItsNumbers) {
    testsupport::TempDir dir;
    const std::string source = dir.file("source.db"), back = dir.file("back.db");
    testsupport::TestStore pg("", true);
    double gone = 0;
    {
        ServerProcess server(source);
        Client c(server.port());
        const double nr = addComissao(c, "Tabela", day(2030, 1, 1), day(2030, 12, 31));
        EXPECT_EQ(tryBand(c, ListKind::PercCargo, nr, addCargo(c, nr, "V"), 0, 1000.5, 2.75), "");
        EXPECT_EQ(tryBand(c, ListKind::PercEvento, nr, addEvento(c, nr, "001", "V"), -10.1, 99.99, 0.15), "");
        const double promo = addPromocao(c, nr, day(2030, 3, 1), day(2030, 3, 31), "DATAEVENTO", "001", "V");
        EXPECT_EQ(tryBand(c, ListKind::PercPromocao, nr, promo, 0.01, 999999999, 12.34), "");
        // A second table with a rule of each scope and their bands, deleted whole: every counter
        // ends above the highest number kept.
        gone = addComissao(c, "Apagada", day(2031, 1, 1), day(2031, 12, 31));
        EXPECT_EQ(tryBand(c, ListKind::PercCargo, gone, addCargo(c, gone, "V"), 0, 1, 1), "");
        EXPECT_EQ(tryBand(c, ListKind::PercEvento, gone, addEvento(c, gone, "001", "V"), 0, 1, 1), "");
        addPromocao(c, gone, day(2031, 3, 1), day(2031, 3, 31), "DATAEVENTO", "001", "V");
        const auto tables = c.packet("GetComissao", json::array());
        ASSERT_EQ(c.set("SetComissao", deleteLog(ListKind::Comissao, tables.rows.at(1))), "");
    }
    ASSERT_EQ(testsupport::userCommand(source, "add ana --role editor --branch 0001", "senha-da-ana\n"), 0);
    ASSERT_EQ(testsupport::userCommand(source, "add vera --role viewer --branch 0002", "senha-da-vera\n"), 0);

    const Refused there = copy(source, pg.db());
    ASSERT_EQ(there.status, 0) << there.log;
    const Refused andBack = copy(pg.db(), back);
    ASSERT_EQ(andBack.status, 0) << andBack.log;
    EXPECT_EQ(contents(back), contents(source));

    {
        ServerProcess server(pg.db());
        Client c(server.port());
        c.result("Login", {"ana", "senha-da-ana"});
        EXPECT_EQ(addComissao(c, "Nova", day(2032, 1, 1), day(2032, 12, 31)), gone + 1);
    }
    const std::string before = contents(pg.db());
    const Refused again = copy(source, pg.db());
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.log.find("the target is not empty (COMISSAO has rows)"), std::string::npos) << again.log;
    EXPECT_EQ(contents(pg.db()), before);
}

TEST(StoreCopy, AValueTheTargetWouldChangeStopsTheWholeCopy) {
    testsupport::TempDir dir;
    const std::string source = dir.file("source.db");
    testsupport::TestStore pg("", true);
    ASSERT_EQ(testsupport::userCommand(source, "add ana --role editor --branch 0001", "senha-da-ana\n"), 0);
    execOn(source, "INSERT INTO COMISSAO (DSCOMISSAOOREV, DTVALIDADEINI, DTVALIDADEFIN) VALUES ('Tabela', 0, 86400)");
    // PostgreSQL's texts end at a zero byte: this one would arrive cut short, in the last table copied.
    execOn(source, "UPDATE USUARIO SET CDFILIAL = CAST(x'300031' AS TEXT)");
    const Refused r = copy(source, pg.db());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.log.find(R"(the row NMUSUARIO=ana of USUARIO: CDFILIAL is "0\x001" in the source and "0" in the copy)"),
              std::string::npos)
        << r.log;
    EXPECT_EQ(queryText(pg.db(), "SELECT count(*) FROM COMISSAO"), "0\n");
}
