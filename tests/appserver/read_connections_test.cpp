// Reads run on connections of their own beside the writer: they must still see every acknowledged
// write, and files made before the band indexes changed must keep working.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <thread>

#include "server_harness.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

namespace {

// "name name ...": the indexes of the band table, by name.
std::string bandIndexes(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'FAIXACOMISSAO' "
                       "AND sql IS NOT NULL ORDER BY name",
                       -1, &st, nullptr);
    std::string names;
    while (sqlite3_step(st) == SQLITE_ROW)
        names += (names.empty() ? "" : " ") + std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return names;
}

}  // namespace

TEST(ReadConnections, EveryReadSeesEveryWriteAcknowledgedBeforeItWasSent) {
    TempDb db;
    ServerProcess server(db.path());
    Client setup(server.port());
    const double nr = addComissao(setup, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(setup, nr, "V");
    constexpr int kBands = 40;
    constexpr int kReaders = 6;
    std::atomic<int> acknowledged{0};
    std::atomic<bool> done{false};
    std::vector<std::string> failures(kReaders + 1);
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        try {
            Client writer(server.port());
            for (int k = 0; k < kBands; ++k) {
                const std::string err = tryBand(writer, ListKind::PercCargo, nr, rule, k * 10.0, k * 10.0 + 5, 1);
                if (!err.empty()) throw std::runtime_error(err);
                acknowledged = k + 1;
            }
        } catch (const std::exception& e) {
            failures[0] = e.what();
        }
        done = true;
    });
    for (int i = 1; i <= kReaders; ++i)
        threads.emplace_back([&, i] {
            try {
                Client reader(server.port());
                while (!done) {
                    const int before = acknowledged;
                    const auto rows = reader.packet("GetPercentual", {nr, rule, "CARGO"}).rows.size();
                    if (rows < static_cast<std::size_t>(before))
                        throw std::runtime_error(std::to_string(rows) + " bands read after " + std::to_string(before) +
                                                 " were acknowledged");
                }
            } catch (const std::exception& e) {
                failures[static_cast<std::size_t>(i)] = e.what();
            }
        });
    for (auto& t : threads) t.join();
    for (std::size_t i = 0; i < failures.size(); ++i) EXPECT_EQ(failures[i], "") << "thread " << i;
    EXPECT_EQ(setup.packet("GetPercentual", {nr, rule, "CARGO"}).rows.size(), static_cast<std::size_t>(kBands));
}

// A file from before stores recorded their version: upgraded in one transaction, or not at all.
TEST(SchemaVersion, AnOlderFileIsUpgradedWholeOrNotAtAllAndReadsInValueOrder) {
    TempDb db;
    double nr = 0, rule = 0;
    {
        ServerProcess server(db.path());
        Client c(server.port());
        nr = addComissao(c, "T", day(2025, 1, 1), day(2025, 12, 31));
        rule = addEvento(c, nr, "001", "V");
        for (double lo : {500.0, 0.0, 200.0}) ASSERT_EQ(tryBand(c, ListKind::PercEvento, nr, rule, lo, lo + 99, 2), "");
        EXPECT_EQ(server.stop(), 0);
    }
    // The layout files had before: one single-column index per rule kind.
    execOn(db.path(),
           "DROP INDEX FAIXA_CARGO_VR; DROP INDEX FAIXA_TPEVENTO_VR; DROP INDEX FAIXA_PROMO_VR;"
           "CREATE INDEX FAIXA_CARGO ON FAIXACOMISSAO(NRCOMISSAOCARGOOREV);"
           "CREATE INDEX FAIXA_TPEVENTO ON FAIXACOMISSAO(NRCOMISSAOTPEVENTOREV);"
           "CREATE INDEX FAIXA_PROMO ON FAIXACOMISSAO(NRCOMISSAOPROMOREV); PRAGMA user_version = 0;");
    const std::string older = "FAIXA_CARGO FAIXA_NR FAIXA_PROMO FAIXA_TPEVENTO";
    // An upgrade that fails halfway (a name it needs is taken) leaves the file as it was.
    execOn(db.path(), "CREATE TABLE FAIXA_PROMO_VR (X);");
    EXPECT_EQ(runServer({"--listen", "127.0.0.1:0", "--db", db.path()}).status, 1);
    EXPECT_EQ(bandIndexes(db.path()), older);
    execOn(db.path(), "DROP TABLE FAIXA_PROMO_VR;");
    ServerProcess server(db.path());
    Client c(server.port());
    EXPECT_EQ(bandIndexes(db.path()), "FAIXA_CARGO_VR FAIXA_NR FAIXA_PROMO_VR FAIXA_TPEVENTO_VR");
    ASSERT_EQ(tryBand(c, ListKind::PercEvento, nr, rule, 100, 150, 3), "");
    std::string lows;
    for (const auto& row : c.packet("GetPercentual", {nr, rule, "TIPOEVENTO"}).rows)
        lows += wire::render(row[6]) + " ";
    EXPECT_EQ(lows, "0 100 200 500 ");
    EXPECT_EQ(c.errorOf("getVdVrEvento", {nr, rule}), "<no error>");
    EXPECT_EQ(c.packet("getVdVrEvento", {nr, rule}).rows.size(), 4u);
}

TEST(SchemaVersion, AStoreOfANewerVersionIsRefusedAndLeftAsItWas) {
    TempDb db;
    { ServerProcess first(db.path()); }
    execOn(db.path(), testsupport::onPostgres() ? "UPDATE ESQUEMA SET VERSAO = 7" : "PRAGMA user_version = 7");
    const Refused r = runServer({"--listen", "127.0.0.1:0", "--db", db.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.log.find("tables are of version 7, newer than version 1"), std::string::npos) << r.log;
}
