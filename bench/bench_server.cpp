// Throughput and latency of the application server over loopback, against a bare TCP echo.
//
// Runs the real server (store, dispatcher, Asio listener) in this process on a temporary
// database and drives it with 1, 8 and 32 blocking client connections, one thread each.
// With --tls the server and its clients speak TLS (the test certificates), for its cost. With
// --db and --servers it drives servers started as processes on one store (PostgreSQL) instead.
// Then the questions about the rules: SimulaComissao beside GetPercentual at one connection,
// and VerificaComissao over a table of 1,000 rules of 20 bands each, and CopiaComissao of it.
#include <algorithm>
#include <asio.hpp>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <openssl/ssl.h>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "appserver/embedded_server.h"
#include "appserver/messages.h"
#include "store/open_store.h"
#include "store/pg_db.h"
#include "support/bench_support.h"
#include "wire/jsonrpc.h"
#include "wire/packet_json.h"

namespace {

using appserver::ListKind;
using bench::Clock;
using bench::Result;
using bench::Socket;
using bench::measure;
using bench::median;
using bench::report;
using nlohmann::json;


wire::Row band(double nr, double rule, double ini, double fin, double perc) {
    return {wire::Null{}, nr, std::string("CARGO"), rule, wire::Null{}, wire::Null{}, ini, fin, perc};
}

void insert(appserver::Store& store, ListKind list, wire::Row row) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    log.changes.push_back({wire::ChangeOp::Insert, {}, std::move(row)});
    store.apply(list, log);
}

// A commission table for `year` with a seller rule holding 20 bands: the table's number (the
// store's next) and the rule's.
std::pair<double, double> addTableWithBands(appserver::Store& store, int year) {
    insert(store, ListKind::Comissao,
           {wire::Null{}, "Bench " + std::to_string(year), wire::DateTime::fromYmd(year, 1, 1),
            wire::DateTime::fromYmd(year, 12, 31), std::string("0001")});
    double nr = 0;
    for (const auto& row : store.comissoes().rows)
        if (row[1] == wire::Value("Bench " + std::to_string(year))) nr = std::get<double>(row[0]);
    insert(store, ListKind::Cargo, {wire::Null{}, std::string("V"), nr});
    const double rule = std::get<double>(store.cargos(nr).rows.back()[0]);
    for (int i = 0; i < 20; ++i)
        insert(store, ListKind::PercCargo, band(nr, rule, i * 100.0, (i * 10000 + 9999) / 100.0, (10 + i) / 10.0));
    return {nr, rule};
}

void insertAll(appserver::Store& store, ListKind list, std::vector<wire::Row> rows) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    for (auto& row : rows) log.changes.push_back({wire::ChangeOp::Insert, {}, std::move(row)});
    store.apply(list, log);
}

// A table of `year` (table 2, the year 2026, for the questions): 3 position rules, 597
// event-type rules and 400 promotions, each with 20 bands, one rule in ten with a hole between
// two of its bands. Returns its number.
double seedLargeTable(appserver::Store& store, int year = 2026) {
    using wire::DateTime;
    using wire::Null;
    const std::string name = "Grande " + std::to_string(year);
    insert(store, ListKind::Comissao,
           {Null{}, name, DateTime::fromYmd(year, 1, 1), DateTime::fromYmd(year, 12, 31), std::string("0001")});
    double nr = 0;
    for (const auto& row : store.comissoes().rows)
        if (row[1] == wire::Value(name)) nr = std::get<double>(row[0]);
    auto code = [](int i) {
        char c[4];
        std::snprintf(c, sizeof c, "%03d", i);
        return std::string(c);
    };
    std::vector<wire::Row> cargos, eventos, promos;
    for (const char* c : {"V", "S", "G"}) cargos.push_back({Null{}, std::string(c), nr});
    for (int t = 1; t <= 199; ++t)
        for (const char* c : {"V", "S", "G"}) eventos.push_back({Null{}, nr, code(t), std::string("Tipo"), std::string(c)});
    for (int t = 1; t <= 400; ++t)
        promos.push_back({Null{}, nr, DateTime::fromYmd(year, 1 + t % 12, 1), DateTime::fromYmd(year, 1 + t % 12, 28),
                          std::string("DATAEVENTO"), code(t), std::string("Tipo"), std::string("V"), Null{}});
    insertAll(store, ListKind::Cargo, std::move(cargos));
    insertAll(store, ListKind::Evento, std::move(eventos));
    insertAll(store, ListKind::Promocao, std::move(promos));
    struct Kind {
        ListKind list;
        appserver::Scope scope;
        wire::DataPacket rules;
    };
    const Kind kinds[] = {{ListKind::PercCargo, appserver::Scope::Cargo, store.cargos(nr)},
                          {ListKind::PercEvento, appserver::Scope::TipoEvento, store.eventos(nr)},
                          {ListKind::PercPromocao, appserver::Scope::Promocao, store.promocoes(nr)}};
    int n = 0;
    for (const Kind& k : kinds) {
        std::vector<wire::Row> bands;
        for (const auto& rule : k.rules.rows) {
            const bool hole = ++n % 10 == 0;
            for (int b = 0; b < 20; ++b) {
                wire::Row row = {Null{}, nr, std::string(appserver::scopeWord(k.scope)), Null{}, Null{}, Null{},
                                 b * 100.0 + (hole && b == 10 ? 0.5 : 0), (b * 10000 + 9999) / 100.0, (10 + b) / 10.0};
                row[k.scope == appserver::Scope::Cargo ? 3 : k.scope == appserver::Scope::TipoEvento ? 4 : 5] = rule[0];
                bands.push_back(std::move(row));
            }
        }
        insertAll(store, k.list, std::move(bands));
    }
    return nr;
}


std::string setLine(const char* method, ListKind list, wire::ChangeOp op, const wire::Row& row) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    if (op == wire::ChangeOp::Insert) log.changes.push_back({op, {}, row});
    else log.changes.push_back({op, row, {}});
    return wire::rpc::toLine(wire::rpc::makeRequest(2, method, json::array({wire::toJson(log)}))) + "\n";
}

constexpr int kWriters = 32;  // the most connections a run uses; each writes to a table of its own

struct Options {
    bool readsOnly = false, writesOnly = false, inProcessOnly = false, questionsOnly = false, tls = false;
    int threads = appserver::ServerOptions{}.threads;
    std::string db;                     // empty: a new SQLite file
    // Servers already running on `db`, as started by default and with --keep-results 0; both
    // empty: one of each in this process.
    std::vector<unsigned short> ports, storePorts;
    std::vector<int> connections{1, 8, 32};
};

std::vector<int> numbers(const std::string& commaSeparated) {
    std::vector<int> out;
    std::stringstream list(commaSeparated);
    for (std::string n; std::getline(list, n, ',');) out.push_back(std::stoi(n));
    return out;
}

constexpr const char* kUsage =
    "usage: bench_server [--reads-only | --writes-only | --in-process | --questions-only] [--tls] [--threads N]\n"
    "                    [--connections N,N,...]\n"
    "                    [--db URI_OR_FILE [--servers PORT,PORT,...] [--store-servers PORT,PORT,...]]\n";

// Throws std::invalid_argument (or what std::stoi throws) for a command line it cannot read.
Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--reads-only") o.readsOnly = true;
        else if (a == "--writes-only") o.writesOnly = true;
        else if (a == "--in-process") o.inProcessOnly = true;
        else if (a == "--questions-only") o.questionsOnly = true;
        else if (a == "--tls") o.tls = true;
        else if (a == "--threads" && hasValue) o.threads = std::stoi(argv[++i]);
        else if (a == "--db" && hasValue) o.db = argv[++i];
        else if ((a == "--servers" || a == "--store-servers") && hasValue) {
            for (int port : numbers(argv[++i])) (a == "--servers" ? o.ports : o.storePorts).push_back(static_cast<unsigned short>(port));
        } else if (a == "--connections" && hasValue) {
            o.connections = numbers(argv[++i]);
            for (int c : o.connections)
                if (c < 1 || c > kWriters) throw std::invalid_argument("--connections: from 1 to 32");
        } else throw std::invalid_argument(a);
    }
    if ((!o.ports.empty() || !o.storePorts.empty()) && (o.db.empty() || o.tls || o.inProcessOnly))
        throw std::invalid_argument("--servers and --store-servers need --db (the servers' store) and run neither --tls nor --in-process");
    return o;
}

// Runs what the options ask for; throws what fails.
int run(const Options& o) {
    const bool external = !o.ports.empty() || !o.storePorts.empty();
    const bool questions = !o.readsOnly && !o.writesOnly;
    const bench::TempDir dir;
    const auto storePtr = appserver::openStore(o.db.empty() ? (dir.path / "bench.db").string() : o.db);
    if (!storePtr->isEmpty())
        throw std::runtime_error(appserver::shownStore(o.db) + " is not empty: the benchmark stores tables of its own there");
    appserver::Store& store = *storePtr;
    // Table 1 (2025) and its rule are only read, as is the large table 2 (2026); the tables
    // after them are written, one by each connection.
    std::vector<std::pair<double, double>> written;
    store.inOneTransaction([&] {
        addTableWithBands(store, 2025);
        if (questions) seedLargeTable(store);
        for (int c = 0; c < kWriters; ++c) written.push_back(addTableWithBands(store, 2100 + c));
    });

    appserver::ServerOptions options;
    options.port = 0;
    options.threads = o.threads;
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> clientTls(nullptr, &SSL_CTX_free);
    if (o.tls) {
        const std::string certs = std::string(KTR_SOURCE_DIR) + "/tests/support/tls/";
        options.tlsCert = certs + "server.pem";
        options.tlsKey = certs + "server.key";
        clientTls.reset(SSL_CTX_new(TLS_client_method()));
        SSL_CTX_load_verify_locations(clientTls.get(), (certs + "ca.pem").c_str(), nullptr);
        SSL_CTX_set_verify(clientTls.get(), SSL_VERIFY_PEER, nullptr);
    }
    // The same methods keeping no results: every read goes to the store.
    appserver::RequestLimits keepNothing;
    keepNothing.keptResultBytes = 0;
    std::unique_ptr<appserver::EmbeddedServer> server, storeOnly;
    // Where the connections go, in turn: servers keeping read results, and servers keeping none.
    std::vector<bench::Endpoint> keeping, keepingNothing;
    if (external) {
        for (unsigned short port : o.ports) keeping.emplace_back(port);
        for (unsigned short port : o.storePorts) keepingNothing.emplace_back(port);
    } else {
        server = std::make_unique<appserver::EmbeddedServer>(store, options);
        storeOnly = std::make_unique<appserver::EmbeddedServer>(store, options, keepNothing);
        keeping.emplace_back(server->port(), clientTls.get());
        keepingNothing.emplace_back(storeOnly->port(), clientTls.get());
    }
    // The writes and the questions go to the servers as they start by default.
    const std::vector<bench::Endpoint>& servers = keeping.empty() ? keepingNothing : keeping;
    const bench::Endpoint target = servers.front();

    const std::string readLine =
        wire::rpc::toLine(wire::rpc::makeRequest(1, "GetPercentual", {1, 1, "CARGO"})) + "\n";
    if (server) {
        // The server's own work per read, without sockets: what is left to trim on the server
        // side. Medians, so that time the machine gives to others does not count. A read
        // repeated with no change since is answered from the results kept; the first read
        // after a change (an empty transaction here) goes to the store.
        const appserver::RequestHandler& handler = server->handler();
        const std::string line = readLine.substr(0, readLine.size() - 1);
        const int calls = o.inProcessOnly ? 200000 : 20000;
        asio::io_context unused;  // a read is answered at once, never on this executor
        appserver::Session session;  // open, as a local client of a store without users
        std::size_t bytes = 0;
        auto timeOne = [&] {
            const auto t0 = Clock::now();
            handler.handleLine(line, session, unused.get_executor(),
                               [&](std::optional<std::string> reply) { bytes = reply ? reply->size() : 0; });
            return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        };
        std::vector<double> repeated, fresh;
        for (int i = 0; i < calls; ++i) repeated.push_back(timeOne());
        for (int i = 0; i < calls / 4; ++i) {
            store.inOneTransaction([] {});
            fresh.push_back(timeOne());
        }
        std::printf("GetPercentual handled in process (no socket, %zu bytes): p50 %.2f us repeated, %.2f us after a change\n",
                    bytes, median(repeated), median(fresh));
    }
    if (o.inProcessOnly) return 0;

    bench::EchoServer echo;
    const std::size_t replySize = [&] {
        Socket s(target);
        return s.roundTrip(readLine).size();
    }();
    std::string echoLine(replySize, 'x');
    echoLine += "\n";
    std::printf("GetPercentual: request %zu bytes, reply %zu bytes (20 bands); echo message %zu bytes\n",
                readLine.size(), replySize, echoLine.size());

    if (questions) {
        // A sale under the small table's seller rule: the walk past no promotion and no
        // event-type rule down to the position rule's 20 bands.
        const std::string simulate =
            wire::rpc::toLine(wire::rpc::makeRequest(4, "SimulaComissao", {"2025-06-15", "2025-06-20", "001", "V", 1234.56})) + "\n";
        // The same in the large table: past a promotion whose window misses, to an event-type rule.
        const std::string simulateLarge =
            wire::rpc::toLine(wire::rpc::makeRequest(5, "SimulaComissao", {"2026-06-29", "2026-06-30", "005", "V", 1234.56})) + "\n";
        auto roundTrip = [](const std::string& line) {
            return [&line](Socket& s, int, long) {
                const std::string r = s.roundTrip(line);
                if (r.find("\"result\"") == std::string::npos) throw std::runtime_error(r);
            };
        };
        // Each asked after a change (an empty transaction), so that the store answers, not the
        // results kept from the last call.
        const auto change = [&store] { store.inOneTransaction([] {}); };
        const Result get = measure(1, target, roundTrip(readLine), change);
        const Result sim = measure(1, target, roundTrip(simulate), change);
        const Result simLarge = measure(1, target, roundTrip(simulateLarge), change);
        report("GetPercentual (20 bands), after a change", 1, get);
        report("SimulaComissao (small table)", 1, sim);
        report("SimulaComissao (1,000-rule table)", 1, simLarge);
        std::printf("SimulaComissao p50 / GetPercentual p50: %.2f (small table), %.2f (1,000-rule table)\n",
                    sim.p50us / get.p50us, simLarge.p50us / get.p50us);

        const std::string verify = wire::rpc::toLine(wire::rpc::makeRequest(6, "VerificaComissao", {2})) + "\n";
        Socket s(target);
        const std::string first = s.roundTrip(verify);
        std::vector<double> ms;
        for (int i = 0; i < 30; ++i) {
            change();
            const auto t0 = Clock::now();
            s.roundTrip(verify);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("VerificaComissao (1,000 rules of 20 bands, %zu-byte reply): p50 %.1f ms, max %.1f ms over %zu calls\n",
                    first.size(), ms[ms.size() / 2], ms.back(), ms.size());
    }
    if (questions) {
        // A copy of the large table (1,000 rules, 20,000 bands) to another year, over one
        // connection, beside its floor: the same rows stored through the same checks in one
        // transaction in this process, with no socket and no reading of the old table.
        std::vector<double> copyMs, floorMs;
        Socket s(target);
        for (int year = 2030; year < 2033; ++year) {
            const std::string copy =
                wire::rpc::toLine(wire::rpc::makeRequest(7, "CopiaComissao", {2, "Cópia " + std::to_string(year),
                                                                               std::to_string(year) + "-01-01",
                                                                               std::to_string(year) + "-12-31"})) + "\n";
            auto t0 = Clock::now();
            const std::string reply = s.roundTrip(copy);
            copyMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            if (reply.find("\"left\":[]") == std::string::npos) throw std::runtime_error(reply);
            t0 = Clock::now();
            store.inOneTransaction([&store, year] { seedLargeTable(store, year + 10); });
            floorMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
        std::sort(copyMs.begin(), copyMs.end());
        std::sort(floorMs.begin(), floorMs.end());
        std::printf("CopiaComissao (1,000 rules of 20 bands): p50 %.0f ms, max %.0f ms over %zu copies; floor (the same "
                    "rows stored in process) p50 %.0f ms; ratio %.2f\n",
                    copyMs[1], copyMs.back(), copyMs.size(), floorMs[1], copyMs[1] / floorMs[1]);
    }
    if (o.questionsOnly) return 0;

    // Each write connection posts a band to its own rule and reloads the rule, then takes the
    // band away again and reloads: every reload reads 20 or 21 bands, however long the run.
    struct WriterLines {
        wire::Row band;
        std::string insert, reload;
    };
    std::vector<WriterLines> writers;
    for (const auto& [nr, rule] : written) {
        const wire::Row row = band(nr, rule, 5000, 5099.99, 1);
        writers.push_back({row, setLine("SetPercCargo", ListKind::PercCargo, wire::ChangeOp::Insert, row),
                           wire::rpc::toLine(wire::rpc::makeRequest(3, "GetPercentual", {nr, rule, "CARGO"})) + "\n"});
    }
    std::vector<std::optional<wire::Row>> posted(kWriters);
    // Servers sharing PostgreSQL may refuse a change log that kept meeting other servers'
    // transactions; the user sends it again, as the text asks, and so does the benchmark.
    std::atomic<long> sentAgain{0};
    const auto writeOnce = [&](Socket& s, int c, long) {
        const auto& lines = writers[static_cast<std::size_t>(c)];
        auto& mine = posted[static_cast<std::size_t>(c)];
        const std::string set = mine ? setLine("SetPercCargo", ListKind::PercCargo, wire::ChangeOp::Delete, *mine) : lines.insert;
        for (;;) {
            const std::string r = s.roundTrip(set);
            if (r.find("\"result\"") != std::string::npos) break;
            if (r.find(appserver::msg::kConcorrenciaDemais) == std::string::npos) throw std::runtime_error(r);
            ++sentAgain;
        }
        const std::string reload = s.roundTrip(lines.reload);
        if (mine) {
            mine.reset();
            return;
        }
        // The band just posted has the highest values, so it comes last: its number opens the
        // last row (read without parsing the reply, which is the client's cost).
        mine = lines.band;
        (*mine)[0] = std::strtod(reload.c_str() + reload.rfind('[') + 1, nullptr);
    };
    const auto readOnce = [&](Socket& s, int, long) {
        const std::string r = s.roundTrip(readLine);
        if (r.find("\"result\"") == std::string::npos) throw std::runtime_error(r);
    };
    // Against several servers, each run once against the first alone and once against all.
    const auto acrossServers = [&](int conns, const std::string& what, const std::vector<bench::Endpoint>& to,
                                   const std::function<void(const std::string&, const std::vector<bench::Endpoint>&)>& run) {
        if (to.empty()) return;
        run(what + (external ? ", 1 server" : ""), {to.front()});
        if (to.size() > 1 && conns > 1) run(what + ", " + std::to_string(to.size()) + " servers", to);
    };
    for (int conns : o.connections) {
        if (!o.writesOnly) {
            report("TCP echo (same size as reply)", conns,
                   measure(conns, echo.port(), [&](Socket& s, int, long) { s.roundTrip(echoLine); }));
            const auto reads = [&](const std::string& what, const std::vector<bench::Endpoint>& to) {
                report(what.c_str(), conns, measure(conns, to, readOnce));
            };
            acrossServers(conns, "GetPercentual (20 bands)", keeping, reads);
            acrossServers(conns, "GetPercentual (20 bands), store answering", keepingNothing, reads);
        }
        if (o.readsOnly) continue;
        // Measured next to the single writer: this machine syncs far faster while it is busy
        // than when it is idle, so the floor is only comparable when taken at the same time.
        if (conns == o.connections.front()) {
            report("fdatasync (8 KiB in place)", 1, bench::measureSync((dir.path / "sync").string(), false));
            report("fdatasync, a processor kept busy", 1, bench::measureSync((dir.path / "sync").string(), true));
            if (!appserver::pg::isUri(o.db)) report("SQLite commit (WAL, synchronous=FULL)", 1, bench::measureCommit((dir.path / "commit.db").string()));
        }
        const auto writes = [&](const std::string& what, const std::vector<bench::Endpoint>& to) {
            sentAgain = 0;
            report(what.c_str(), conns, measure(conns, to, writeOnce));
            if (sentAgain > 0) std::printf("  (%ld change logs refused as too concurrent and sent again)\n", sentAgain.load());
        };
        acrossServers(conns, "SetPercCargo + GetPercentual", servers, writes);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // --reads-only runs only the read runs, --writes-only only the write runs, --questions-only
    // only the questions about the rules; --in-process runs only the socketless read loop (to
    // profile); --threads N sets the server's thread count; --tls runs the server and its clients
    // over TLS (the test certificates), for its cost; --connections sets the connection counts
    // of the runs (1,8,32).
    // --db stores the benchmark's tables in that store (it must be empty; a postgresql:// URI is a
    // PostgreSQL database) instead of a new SQLite file; --servers drives servers already running
    // on it (127.0.0.1:PORT) instead of one in this process, a connection to each in turn, and
    // reports the runs against the first server alone and against all of them; --store-servers
    // names servers on it started with --keep-results 0, for the reads the store answers.
    Options o;
    try {
        o = parseOptions(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_server: %s\n%s", e.what(), kUsage);
        return 2;
    }
    try {
        return run(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_server: %s\n", e.what());
        return 1;
    }
}
