// Racing clients, many clients at once, clean shutdown and durability across a restart.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <latch>
#include <memory>
#include <thread>

#include "appserver/messages.h"
#include "server_harness.h"
#include "wire/jsonrpc.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

TEST(Concurrency, OfTwoRacingConflictingChangesExactlyOneIsStored) {
    TempDb db;
    ServerProcess server(db.path());
    Client setup(server.port());
    const double nr = addComissao(setup, "T", day(2025, 1, 1), day(2025, 12, 31));
    const double rule = addCargo(setup, nr, "V");
    Client a(server.port()), b(server.port());
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        const double lo = round * 100.0;
        std::string errA, errB;
        std::latch go(2);
        // Both bands pass every check alone; together they overlap.
        std::thread ta([&] { go.arrive_and_wait(); errA = tryBand(a, ListKind::PercCargo, nr, rule, lo, lo + 50, 1); });
        std::thread tb([&] { go.arrive_and_wait(); errB = tryBand(b, ListKind::PercCargo, nr, rule, lo + 50, lo + 99, 1); });
        ta.join();
        tb.join();
        EXPECT_TRUE(errA.empty() != errB.empty()) << "round " << round << ": '" << errA << "' '" << errB << "'";
        EXPECT_EQ(errA + errB, appserver::msg::kIntervaloContido);
    }
    EXPECT_EQ(setup.packet("GetPercentual", {nr, rule, "CARGO"}).rows.size(), static_cast<std::size_t>(kRounds));
}

// Every invariant, raced by two clients of two servers sharing the store (on a store only one
// server may open, two clients of that one): of each pair exactly one change is stored.
TEST(Concurrency, ThroughSeveralServersEveryInvariantHoldsWhenTwoChangesRace) {
    TempDb db;
    // Started together on an empty store with --demo: one of them seeds it, the others find it seeded.
    std::vector<std::unique_ptr<ServerProcess>> servers(testsupport::onPostgres() ? 3 : 1);
    {
        std::vector<std::jthread> starting;
        for (auto& server : servers)
            starting.emplace_back([&] { server = std::make_unique<ServerProcess>(db.path(), std::vector<std::string>{"--demo"}); });
    }
    Client setup(servers.front()->port());
    EXPECT_EQ(setup.packet("GetComissao", json::array()).rows.size(), 3u);
    Client a(servers.front()->port()), b(servers.back()->port());
    namespace msg = appserver::msg;
    using Change = std::function<std::string(Client&, int side)>;
    // Two changes racing; exactly one goes through and the other hears `refusal`.
    auto race = [&](const std::string& what, const std::string& refusal, const Change& change) {
        std::string errA, errB;
        std::latch go(2);
        std::thread ta([&] { go.arrive_and_wait(); errA = change(a, 0); });
        std::thread tb([&] { go.arrive_and_wait(); errB = change(b, 1); });
        ta.join();
        tb.join();
        EXPECT_TRUE(errA.empty() != errB.empty()) << what << ": '" << errA << "' '" << errB << "'";
        EXPECT_EQ(errA + errB, refusal) << what;
    };
    for (int round = 0; round < 4; ++round) {
        const int year = 2100 + round * 2;
        race("touching periods", msg::kDataContida, [&](Client& c, int side) {
            return c.set("SetComissao", insertLog(ListKind::Comissao, {{wire::Null{}, str(side ? "B" : "A"),
                                                                        side ? day(year, 6, 30) : day(year, 1, 1),
                                                                        side ? day(year, 12, 31) : day(year, 6, 30), str("0001")}}));
        });
        const double nr = addComissao(setup, "T" + std::to_string(round), day(year + 1, 1, 1), day(year + 1, 12, 31));
        race("a position twice", msg::kCargoCadastrado, [&](Client& c, int) {
            return c.set("SetCargo", insertLog(ListKind::Cargo, {{wire::Null{}, str("V"), nr}}));
        });
        race("an event type and position twice", msg::kTipoEventoCargoCadastrados, [&](Client& c, int) {
            return c.set("SetEvento", insertLog(ListKind::Evento, {{wire::Null{}, nr, str("001"), str("Venda"), str("V")}}));
        });
        race("promotion windows that meet", msg::kPromocaoSobreposta, [&](Client& c, int side) {
            return c.set("SetPromocao",
                         insertLog(ListKind::Promocao, {{wire::Null{}, nr, side ? day(year + 1, 2, 15) : day(year + 1, 2, 1),
                                                         side ? day(year + 1, 2, 28) : day(year + 1, 2, 15), str("DATAEVENTO"),
                                                         str("001"), str("Venda"), str("V"), wire::Null{}}}));
        });
        const double rule = addCargo(setup, nr, "G");
        race("bands that share a value", msg::kIntervaloContido, [&](Client& c, int side) {
            return tryBand(c, ListKind::PercCargo, nr, rule, side ? 50 : 0, side ? 99 : 50, 1);
        });
        const wire::Row stored = setup.packet("GetCargo", {nr}).rows.at(0);
        wire::Row moved = stored;
        moved[1] = str("S");
        race("two updates of one row", msg::kRegistroAlterado,
             [&](Client& c, int) { return c.set("SetCargo", updateLog(ListKind::Cargo, stored, moved)); });
        race("two deletes of one row", msg::kRegistroExcluido,
             [&](Client& c, int) { return c.set("SetCargo", deleteLog(ListKind::Cargo, moved)); });
        // A change log run again after a conflict is stored once, never twice.
        EXPECT_EQ(setup.packet("GetCargo", {nr}).rows.size(), 1u) << "round " << round;  // the bands' rule
        EXPECT_EQ(setup.packet("GetEvento", {nr}).rows.size(), 1u) << "round " << round;
        EXPECT_EQ(setup.packet("GetPromocao", {nr}).rows.size(), 1u) << "round " << round;
    }
    EXPECT_EQ(setup.packet("GetComissao", json::array()).rows.size(), 3u + 4 * 2);

    // What another server read and kept is dropped once this one commits (it hears of it).
    Client other(servers.back()->port());
    EXPECT_EQ(other.packet("GetComissao", json::array()).rows.size(), 11u);
    addComissao(setup, "Depois", day(2200, 1, 1), day(2200, 12, 31));
    std::size_t seen = 0;
    for (int wait = 0; wait < 100 && seen != 12; ++wait) {
        seen = other.packet("GetComissao", json::array()).rows.size();
        if (seen != 12) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(seen, 12u);
}

TEST(Concurrency, ManyClientsWorkingAtOnceEachSeeTheirOwnWrites) {
    TempDb db;
    ServerProcess server(db.path());
    Client setup(server.port());
    const double nr = addComissao(setup, "T", day(2025, 1, 1), day(2025, 12, 31));
    constexpr int kClients = 12;
    std::vector<double> rules;
    for (int i = 0; i < kClients; ++i) rules.push_back(addEvento(setup, nr, std::to_string(100 + i).c_str(), "V"));
    std::vector<std::string> failures(kClients);
    std::vector<std::thread> threads;
    for (int i = 0; i < kClients; ++i)
        threads.emplace_back([&, i] {
            try {
                Client c(server.port());
                for (int k = 0; k < 10; ++k) {
                    const std::string err = tryBand(c, ListKind::PercEvento, nr, rules[i], k * 10.0, k * 10.0 + 5, 1);
                    if (!err.empty()) throw std::runtime_error(err);
                    if (c.packet("GetPercentual", {nr, rules[i], "TIPOEVENTO"}).rows.size() != static_cast<std::size_t>(k + 1))
                        throw std::runtime_error("lost a band");
                }
            } catch (const std::exception& e) {
                failures[i] = e.what();
            }
        });
    for (auto& t : threads) t.join();
    for (int i = 0; i < kClients; ++i) EXPECT_EQ(failures[i], "") << "client " << i;
}

TEST(Lifecycle, ARestartKeepsEveryAcknowledgedChange) {
    TempDb db;
    std::string before;
    {
        ServerProcess server(db.path());
        Client c(server.port());
        const double nr = addComissao(c, "Persistente", day(2025, 1, 1), day(2025, 12, 31));
        const double rule = addPromocao(c, nr, day(2025, 2, 1), day(2025, 2, 28), "DATAFECHAMENTO", "007", "G");
        ASSERT_EQ(tryBand(c, ListKind::PercPromocao, nr, rule, 0, 99.5, 7.25), "");
        before = render(c.packet("GetComissao", json::array())) + render(c.packet("GetPromocao", {nr})) +
                 render(c.packet("GetPercentual", {nr, rule, "PROMOCAO"}));
        EXPECT_EQ(server.stop(), 0);  // SIGTERM ends it cleanly
    }
    ServerProcess again(db.path(), {"--demo"});  // not empty any more: no demonstration data added
    Client c(again.port());
    const std::string after = render(c.packet("GetComissao", json::array())) + render(c.packet("GetPromocao", {1})) +
                              render(c.packet("GetPercentual", {1, 1, "PROMOCAO"}));
    EXPECT_EQ(after, before);
    EXPECT_NE(after.find("Persistente"), std::string::npos);
}

TEST(Lifecycle, ShutdownWithClientsConnected) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo"});
    Client idle(server.port());
    Client busy(server.port());
    EXPECT_EQ(busy.packet("GetComissao", json::array()).rows.size(), 3u);
    EXPECT_EQ(server.stop(), 0);
    EXPECT_TRUE(idle.closedByServer());
}

// A client whose request comes as the server stops is told so, in words, before the close.
TEST(Lifecycle, ARequestAsTheServerStopsIsToldWhy) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo"});
    Client c(server.port());
    EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), 3u);
    server.terminate();
    c.sendRaw(wire::rpc::toLine(wire::rpc::makeRequest(9, "GetComissao", json::array())) + "\n");
    json last = json::parse(c.readLine());
    if (last.contains("result")) last = json::parse(c.readLine());  // it came before the signal
    EXPECT_EQ(last["error"]["code"], -32000);
    EXPECT_EQ(last["error"]["message"], appserver::msg::kEncerrando);
    EXPECT_TRUE(c.closedByServer());
    EXPECT_EQ(server.stop(), 0);
}
