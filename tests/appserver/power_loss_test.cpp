// Power lost at a thousand points while groups of change logs are committed: every change the
// store acknowledged is there afterwards, a group is there whole or not at all, and the file
// passes SQLite's own checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "power_loss_vfs.h"
#include "server_harness.h"
#include "store/sqlite_store.h"
#include "wire/packet_json.h"

using namespace harness;
using appserver::ListKind;

namespace {

std::string pragma(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK)
        while (sqlite3_step(stmt) == SQLITE_ROW) out += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)) + std::string(";");
    else
        out = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

std::set<double> starts(appserver::Store& store) {
    std::set<double> out;
    for (const auto& row : store.faixas(1, 1, appserver::Scope::Cargo).rows) out.insert(std::get<double>(row[6]));
    return out;
}

// Four groups of three logs, two bands each, starting at `next` (10 apart, never overlapping).
struct Work {
    std::vector<wire::ChangeLog> logs;
    std::vector<std::set<double>> bandsOf;  // what each log adds
};

Work work(double& next) {
    Work w;
    for (int log = 0; log < 12; ++log) {
        std::vector<wire::Row> rows;
        std::set<double> added;
        for (int band = 0; band < 2; ++band, next += 10) {
            rows.push_back(bandRow(ListKind::PercCargo, 1, 1, next, next + 5, 1));
            added.insert(next);
        }
        w.logs.push_back(wire::changeLogFromJson(insertLog(ListKind::PercCargo, rows)));
        w.bandsOf.push_back(added);
    }
    return w;
}

// Runs the work until it ends or power goes; the starts acknowledged, and per group those not.
void run(const std::string& path, const Work& w, std::set<double>& acknowledged, std::vector<std::set<double>>& open) {
    const appserver::Author ana{"ana", std::string("0001"), {}};
    appserver::SqliteStore store(path);
    for (std::size_t g = 0; g < 4; ++g) {
        std::vector<appserver::Store::PendingLog> group;
        for (std::size_t i = 3 * g; i < 3 * g + 3; ++i) group.push_back({ListKind::PercCargo, &w.logs[i], &ana});
        open.emplace_back();
        for (std::size_t i = 3 * g; i < 3 * g + 3; ++i) open.back().insert(w.bandsOf[i].begin(), w.bandsOf[i].end());
        const auto outcomes = store.applyGroup(group);
        open.back().clear();
        for (std::size_t i = 0; i < 3; ++i) {
            auto& into = outcomes[i] ? open.back() : acknowledged;
            into.insert(w.bandsOf[3 * g + i].begin(), w.bandsOf[3 * g + i].end());
        }
    }
}

}  // namespace

TEST(PowerLoss, AThousandLossesDuringGroupCommitsLoseNothingAcknowledgedAndLeaveAWholeFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("ktr-power-loss-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "store.db").string();
    PowerLossVfs vfs;
    std::set<double> acknowledged;
    double next = 0;
    // A new store now and then keeps each round quick: a rule of thousands of bands would
    // make every insert slower.
    const auto fresh = [&] {
        for (const char* end : {"", "-wal", "-shm"}) std::filesystem::remove(path + end);
        appserver::SqliteStore store(path);
        store.apply(ListKind::Comissao, wire::changeLogFromJson(insertLog(
                                            ListKind::Comissao, {{wire::Null{}, str("T"), day(2025, 1, 1), day(2025, 12, 31), str("0001")}})));
        store.apply(ListKind::Cargo, wire::changeLogFromJson(insertLog(ListKind::Cargo, {{wire::Null{}, str("V"), 1.0}})));
        acknowledged.clear();
        next = 0;
    };
    fresh();
    // How many writes and syncs one run makes, opening and closing included, so that losses
    // fall anywhere in it.
    {
        std::vector<std::set<double>> open;
        vfs.loseAfter(0);
        run(path, work(next), acknowledged, open);
    }
    const std::uint64_t operations = vfs.operations();
    ASSERT_GT(operations, 20u);

    std::mt19937 random(20261209);
    int lost = 0;
    for (int round = 0; round < 1000; ++round) {
        if (round % 50 == 49) fresh();
        std::vector<std::set<double>> open;
        vfs.loseAfter(1 + random() % operations);
        try {
            run(path, work(next), acknowledged, open);
        } catch (const std::exception&) {
            // the machine stopped: whatever the store was doing is not acknowledged
        }
        lost += vfs.lost();
        vfs.restore();

        appserver::SqliteStore store(path);
        const std::set<double> now = starts(store);
        for (double start : acknowledged) ASSERT_TRUE(now.count(start)) << "round " << round << ": band at " << start << " lost";
        std::set<double> expected = acknowledged;
        for (const auto& group : open) {
            std::size_t there = 0;
            for (double start : group) there += now.count(start);
            ASSERT_TRUE(there == 0 || there == group.size()) << "round " << round << ": a group stored in part";
            if (there) expected.insert(group.begin(), group.end());
        }
        ASSERT_EQ(now, expected) << "round " << round;
        acknowledged = now;
        ASSERT_EQ(pragma(path, "PRAGMA integrity_check"), "ok;") << "round " << round;
        ASSERT_EQ(pragma(path, "PRAGMA foreign_key_check"), "") << "round " << round;
    }
    EXPECT_GT(lost, 900);  // nearly every round lost power somewhere, not only after the work
    std::filesystem::remove_all(dir);
}
