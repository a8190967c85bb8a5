// Throughput and latency of the application server over loopback, against a bare TCP echo.
//
// Runs the real server (store, dispatcher, Asio listener) in this process on a temporary
// database and drives it with 1, 8 and 32 blocking client connections, one thread each.
// With --tls the server and its clients speak TLS (the test certificates), for its cost.
// Then the questions about the rules: SimulaComissao beside GetPercentual at one connection,
// and VerificaComissao over a table of 1,000 rules of 20 bands each.
#include <algorithm>
#include <asio.hpp>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <openssl/ssl.h>
#include <optional>
#include <string>
#include <vector>

#include "appserver/embedded_server.h"
#include "appserver/sqlite_store.h"
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

// Table 2 (the year 2026): 3 position rules, 597 event-type rules and 400 promotions, each
// with 20 bands, one rule in ten with a hole between two of its bands.
void seedLargeTable(appserver::Store& store) {
    using wire::DateTime;
    using wire::Null;
    const double nr = 2;
    insert(store, ListKind::Comissao,
           {Null{}, std::string("Grande"), DateTime::fromYmd(2026, 1, 1), DateTime::fromYmd(2026, 12, 31), std::string("0001")});
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
        promos.push_back({Null{}, nr, DateTime::fromYmd(2026, 1 + t % 12, 1), DateTime::fromYmd(2026, 1 + t % 12, 28),
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
}


std::string setLine(const char* method, ListKind list, wire::ChangeOp op, const wire::Row& row) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    if (op == wire::ChangeOp::Insert) log.changes.push_back({op, {}, row});
    else log.changes.push_back({op, row, {}});
    return wire::rpc::toLine(wire::rpc::makeRequest(2, method, json::array({wire::toJson(log)}))) + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    // --reads-only leaves out the write runs, --writes-only all but them; --in-process runs only
    // the socketless read loop (to profile); --questions-only runs only the questions about the
    // rules; --threads N sets the server's thread count.
    // --tls runs the server and its clients over TLS (the test certificates), for its cost.
    bool readsOnly = false, writesOnly = false, inProcessOnly = false, questionsOnly = false, tlsMode = false;
    int threads = appserver::ServerOptions{}.threads;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--reads-only") readsOnly = true;
        else if (a == "--writes-only") writesOnly = true;
        else if (a == "--in-process") inProcessOnly = true;
        else if (a == "--questions-only") questionsOnly = true;
        else if (a == "--tls") tlsMode = true;
        else if (a == "--threads" && i + 1 < argc) threads = std::stoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: bench_server [--reads-only | --writes-only | --in-process | --questions-only] [--tls] [--threads N]\n");
            return 2;
        }
    }
    constexpr int kWriters = 32;  // the most connections a run uses; each writes to a table of its own
    const bench::TempDir dir;
    {
        appserver::SqliteStore store((dir.path / "bench.db").string());
        // Table 1 (2025) and its rule are only read, as is the large table 2 (2026); the tables
        // after them are written, one by each connection.
        std::vector<std::pair<double, double>> written;
        store.inOneTransaction([&] {
            addTableWithBands(store, 2025);
            seedLargeTable(store);
            for (int c = 0; c < kWriters; ++c) written.push_back(addTableWithBands(store, 2100 + c));
        });

        appserver::ServerOptions options;
        options.port = 0;
        options.threads = threads;
        std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> clientTls(nullptr, &SSL_CTX_free);
        if (tlsMode) {
            const std::string certs = std::string(KTR_SOURCE_DIR) + "/tests/support/tls/";
            options.tlsCert = certs + "server.pem";
            options.tlsKey = certs + "server.key";
            clientTls.reset(SSL_CTX_new(TLS_client_method()));
            SSL_CTX_load_verify_locations(clientTls.get(), (certs + "ca.pem").c_str(), nullptr);
            SSL_CTX_set_verify(clientTls.get(), SSL_VERIFY_PEER, nullptr);
        }
        appserver::EmbeddedServer server(store, options);
        // The same methods keeping no results: every read goes to the store.
        appserver::RequestLimits keepNothing;
        keepNothing.keptResultBytes = 0;
        appserver::EmbeddedServer storeOnly(store, options, keepNothing);
        const bench::Endpoint target(server.port(), clientTls.get());
        const bench::Endpoint storeTarget(storeOnly.port(), clientTls.get());
        const appserver::RequestHandler& handler = server.handler();

        const std::string readLine =
            wire::rpc::toLine(wire::rpc::makeRequest(1, "GetPercentual", {1, 1, "CARGO"})) + "\n";
        {
            // The server's own work per read, without sockets: what is left to trim on the server
            // side. Medians, so that time the machine gives to others does not count. A read
            // repeated with no change since is answered from the results kept; the first read
            // after a change (an empty transaction here) goes to the store.
            const std::string line = readLine.substr(0, readLine.size() - 1);
            const int calls = inProcessOnly ? 200000 : 20000;
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
        if (inProcessOnly) return 0;

        bench::EchoServer echo;
        const std::size_t replySize = [&] {
            Socket s(target);
            return s.roundTrip(readLine).size();
        }();
        std::string echoLine(replySize, 'x');
        echoLine += "\n";
        std::printf("GetPercentual: request %zu bytes, reply %zu bytes (20 bands); echo message %zu bytes\n",
                    readLine.size(), replySize, echoLine.size());

        if (!writesOnly) {
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
        const auto readOnce = [&](Socket& s, int, long) {
            const std::string r = s.roundTrip(readLine);
            if (r.find("\"result\"") == std::string::npos) throw std::runtime_error(r);
        };
        for (int conns : questionsOnly ? std::vector<int>{} : std::vector<int>{1, 8, 32}) {
            if (!writesOnly) {
                report("TCP echo (same size as reply)", conns,
                       measure(conns, echo.port(), [&](Socket& s, int, long) { s.roundTrip(echoLine); }));
                report("GetPercentual (20 bands)", conns, measure(conns, target, readOnce));
                report("GetPercentual (20 bands), store answering", conns,
                       measure(conns, storeTarget, readOnce));
            }
            if (readsOnly) continue;
            // Measured next to the single writer: this machine syncs far faster while it is busy
            // than when it is idle, so the floor is only comparable when taken at the same time.
            if (conns == 1) report("SQLite commit (WAL, synchronous=FULL)", 1, bench::measureCommit((dir.path / "commit.db").string()));
            report("SetPercCargo + GetPercentual", conns,
                   measure(conns, target, [&](Socket& s, int c, long) {
                       const auto& lines = writers[static_cast<std::size_t>(c)];
                       auto& mine = posted[static_cast<std::size_t>(c)];
                       const std::string r = s.roundTrip(
                           mine ? setLine("SetPercCargo", ListKind::PercCargo, wire::ChangeOp::Delete, *mine) : lines.insert);
                       if (r.find("\"result\"") == std::string::npos) throw std::runtime_error(r);
                       const std::string reload = s.roundTrip(lines.reload);
                       if (mine) {
                           mine.reset();
                           return;
                       }
                       // The band just posted has the highest values, so it comes last: its number
                       // opens the last row (read without parsing the reply, which is the client's cost).
                       mine = lines.band;
                       (*mine)[0] = std::strtod(reload.c_str() + reload.rfind('[') + 1, nullptr);
                   }));
        }
    }
    return 0;
}
