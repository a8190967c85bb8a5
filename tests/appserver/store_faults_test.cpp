// PostgreSQL going away under open screens: the call in flight hears why and was applied whole
// or not at all; the next call works without restarting anything.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "appserver/messages.h"
#include "server_harness.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

TEST(StoreFaults, ScreensCarryOnAfterTheirConnectionsAreCutOrPostgresqlRestarts) {
    testsupport::OwnCluster cluster;
    ServerProcess server(cluster.uri(), {"--demo", "--demo-year", "2026"});
    Client screen(server.port());
    ASSERT_EQ(screen.packet("GetComissao", json::array()).rows.size(), 3u);
    const json newRule = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});

    // Reads at once, so that the server holds several connections when they are cut.
    {
        std::vector<std::jthread> readers;
        for (int i = 0; i < 3; ++i)
            readers.emplace_back([&] {
                Client c(server.port());
                for (int k = 0; k < 50; ++k) c.packet("GetPercentual", {1, 1, "CARGO"});
            });
    }
    // Every connection of the server cut (an administrator, a failover): it opens new ones.
    execOn(cluster.uri(), "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                          "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    EXPECT_EQ(screen.packet("GetCargo", {1}).rows.size(), 2u);
    EXPECT_EQ(screen.set("SetCargo", newRule), "");

    // PostgreSQL down: each call says so in Portuguese and stores nothing.
    const json secondTable =
        insertLog(ListKind::Comissao, {{wire::Null{}, str("Nova"), day(2031, 1, 1), day(2031, 12, 31), str("0001")}});
    cluster.down();
    EXPECT_EQ(screen.errorOf("GetComissao", json::array()), appserver::msg::kBancoIndisponivel);
    EXPECT_EQ(screen.set("SetComissao", secondTable), appserver::msg::kBancoIndisponivel);

    // Back up: the same screen goes on, and the refused change was not stored.
    cluster.up();
    EXPECT_EQ(screen.packet("GetComissao", json::array()).rows.size(), 3u);
    EXPECT_EQ(screen.set("SetComissao", secondTable), "");
    EXPECT_EQ(screen.packet("GetComissao", json::array()).rows.size(), 4u);
    EXPECT_EQ(screen.packet("GetCargo", {1}).rows.size(), 3u);
}
