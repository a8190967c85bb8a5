// Change logs stored together in one transaction: each still stands or falls alone, and none is
// answered before its group is committed.
#include <gtest/gtest.h>

#include <latch>
#include <mutex>
#include <set>
#include <thread>

#include "appserver/log.h"
#include "appserver/messages.h"
#include "store/open_store.h"
#include "appserver/write_queue.h"
#include "server_harness.h"
#include "wire/packet_json.h"
#include "wire/value.h"

using namespace harness;
using appserver::ListKind;
using appserver::Scope;

namespace {

wire::ChangeLog bands(std::initializer_list<std::pair<double, double>> spans) {
    std::vector<wire::Row> rows;
    for (auto [lo, hi] : spans) rows.push_back(bandRow(ListKind::PercCargo, 1, 1, lo, hi, 1));
    return wire::changeLogFromJson(insertLog(ListKind::PercCargo, rows));
}

// A table (number 1) with a cargo rule (number 1) on a fresh store.
void seed(appserver::Store& store) {
    store.apply(ListKind::Comissao,
                wire::changeLogFromJson(insertLog(ListKind::Comissao, {{wire::Null{}, str("T"), day(2025, 1, 1),
                                                                        day(2025, 12, 31), str("0001")}})));
    store.apply(ListKind::Cargo, wire::changeLogFromJson(insertLog(ListKind::Cargo, {{wire::Null{}, str("V"), 1.0}})));
}

// The starting values of the rule's stored bands.
std::set<double> starts(appserver::Store& store) {
    std::set<double> out;
    for (const auto& row : store.faixas(1, 1, Scope::Cargo).rows) out.insert(std::get<double>(row[6]));
    return out;
}

std::string messageOf(std::exception_ptr e) {
    try {
        if (e) std::rethrow_exception(e);
    } catch (const std::exception& x) {
        return x.what();
    }
    return "";
}

}  // namespace

TEST(GroupCommit, ARefusedLogIsUndoneWholeAndAloneWhileItsGroupIsStored) {
    TempDb db;
    const auto opened = appserver::openStore(db.path());
    appserver::Store& store = *opened;
    seed(store);
    const auto first = bands({{0, 10}});
    const auto refused = bands({{100, 110}, {5, 20}});  // its first band is fine, its second meets `first`
    const auto last = bands({{200, 210}});
    const appserver::Author ana{"ana", std::string("0001"), {}};
    const std::vector<appserver::Store::PendingLog> group = {
        {ListKind::PercCargo, &first, &ana}, {ListKind::PercCargo, &refused, &ana}, {ListKind::PercCargo, &last, &ana}};
    const auto outcomes = store.applyGroup(group);
    EXPECT_EQ(messageOf(outcomes[0]), "");
    EXPECT_EQ(messageOf(outcomes[1]), appserver::msg::kIntervaloContido);
    EXPECT_EQ(messageOf(outcomes[2]), "");
    EXPECT_EQ(starts(store), (std::set<double>{0, 200}));
    // The history went with each log: the refused one's first band, undone, is not told of.
    const auto history = store.historico(1);
    ASSERT_EQ(history.rows.size(), 4u);  // the table, its rule, the two bands stored
    EXPECT_EQ(wire::render(history.rows[3][3]), "ana");
    EXPECT_NE(wire::render(history.rows[3][7]).find("VRINICIAL=200"), std::string::npos);
}

// Three logs of 600 changes waiting together make three groups, not one of 1.800: each writer
// hears its answer when its own group is committed, with the later groups not yet stored.
TEST(GroupCommit, AGroupStopsAtItsLimitOfChanges) {
    TempDb db;
    const auto opened = appserver::openStore(db.path());
    appserver::Store& store = *opened;
    seed(store);
    const auto log = appserver::makeSilentLogger();
    std::vector<std::size_t> storedWhenAnswered;
    {
        appserver::WriteQueue queue(store, *log);
        // The queue's thread held inside the answer of a first log, while the three queue up.
        std::latch holding(1), release(1);
        queue.submit(ListKind::PercCargo, bands({{50000, 50005}}), [&](std::exception_ptr) {
            holding.count_down();
            release.wait();
        });
        holding.wait();
        for (int k = 0; k < 3; ++k) {
            std::vector<wire::Row> rows;
            for (int i = 0; i < 600; ++i) {
                const double lo = (k * 600 + i) * 10;
                rows.push_back(bandRow(ListKind::PercCargo, 1, 1, lo, lo + 5, 1));
            }
            queue.submit(ListKind::PercCargo, wire::changeLogFromJson(insertLog(ListKind::PercCargo, rows)),
                         [&](std::exception_ptr failure) {
                             EXPECT_EQ(messageOf(failure), "");
                             storedWhenAnswered.push_back(starts(store).size());
                         });
        }
        release.count_down();
    }  // the queue stores what it holds
    EXPECT_EQ(storedWhenAnswered, (std::vector<std::size_t>{601, 1201, 1801}));
}

TEST(GroupCommit, EveryLogAnsweredAsStoredIsReadableAtOnceAndAfterAReopen) {
    TempDb db;
    constexpr int kWriters = 8, kLogs = 25;
    std::mutex m;
    std::set<double> acknowledged;
    std::vector<std::string> failures;
    {
        const auto opened = appserver::openStore(db.path());
        appserver::Store& store = *opened;
        seed(store);
        const auto log = appserver::makeSilentLogger();
        appserver::WriteQueue queue(store, *log);
        std::latch go(kWriters);
        std::vector<std::jthread> writers;
        for (int w = 0; w < kWriters; ++w)
            writers.emplace_back([&, w] {
                go.arrive_and_wait();
                for (int k = 0; k < kLogs; ++k) {
                    const double lo = w * 1000 + k * 10;
                    // Every fifth log also repeats the writer's previous band, so it is refused whole.
                    auto changes = k % 5 == 4 ? bands({{lo, lo + 5}, {lo - 10, lo - 5}}) : bands({{lo, lo + 5}});
                    queue.submit(ListKind::PercCargo, std::move(changes), [&, lo, k](std::exception_ptr failure) {
                        const bool refusal = k % 5 == 4;
                        std::string problem;
                        if (refusal && messageOf(failure) != appserver::msg::kIntervaloContido)
                            problem = "refusal lost: " + messageOf(failure);
                        else if (!refusal && failure)
                            problem = messageOf(failure);
                        else if (!refusal && !starts(store).contains(lo))  // read on a connection of its own
                            problem = "answered before it was committed";
                        std::lock_guard lock(m);
                        if (!problem.empty()) failures.push_back(std::to_string(static_cast<int>(lo)) + ": " + problem);
                        else if (!refusal) acknowledged.insert(lo);
                    });
                }
            });
    }  // the queue stores what it holds, then the store closes
    EXPECT_EQ(failures, std::vector<std::string>{});
    EXPECT_EQ(acknowledged.size(), static_cast<std::size_t>(kWriters * (kLogs - kLogs / 5)));
    const auto reopened = appserver::openStore(db.path());
    EXPECT_EQ(starts(*reopened), acknowledged);
}
