// ktr52300-server: the commission tables' application server (JSON-RPC over TCP, SQLite or PostgreSQL storage).
#include <sys/resource.h>

#include <csignal>
#include <iostream>
#include <optional>

#include "store/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/log.h"
#include "appserver/options.h"
#include "appserver/request_handler.h"
#include "appserver/server.h"
#include "appserver/sign_in.h"
#include "store/open_store.h"
#include "store/pg_db.h"
#include "store/store_file.h"
#include "appserver/write_queue.h"

namespace {

// Room for every connection allowed, plus the store's files and the log: raises the soft limit
// of descriptors as far as the hard one allows, and says so when that is not enough.
void makeRoomForConnections(std::size_t connections, spdlog::logger& log) {
    const rlim_t wanted = connections + 64;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= wanted) return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min<rlim_t>(wanted, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < wanted)
        log.warn("only {} file descriptors for {} connections: beyond them new clients wait", limit.rlim_cur, connections);
}

// Beyond this machine, a client's password and the tables travel the network: refuses to serve
// there without TLS or without users, unless the operator says so.
void requireSafeListening(asio::ip::address address, bool users, bool tls, bool insecure) {
    if (address.is_v6() && address.to_v6().is_v4_mapped())  // [::ffff:127.0.0.1] is 127.0.0.1
        address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
    if (address.is_loopback() || insecure) return;
    if (!tls) throw std::runtime_error("refusing to listen on " + address.to_string() +
                                       " without TLS (--tls-cert, --tls-key); --insecure allows it");
    if (!users) throw std::runtime_error("refusing to listen on " + address.to_string() +
                                         " with no users in the store (see user add); --insecure allows it");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace appserver;
    CommandLine cl;
    try {
        cl = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "ktr52300-server: " << e.what() << "\nRun ktr52300-server --help to see the options.\n";
        return 2;
    }
    if (!cl.help.empty()) {
        std::cout << cl.help;
        return 0;
    }
    if (cl.copy.given) return runCopyCommand(cl.copy, std::cout, std::cerr);
    if (cl.backup.given) return runBackupCommand(cl.backup, cl.dbPath, std::cout, std::cerr);
    if (!cl.user.verb.empty()) return runUserCommand(cl.user, cl.dbPath, !cl.dbPathGiven, std::cin, std::cout, std::cerr);
    const auto log = makeLogger(cl.logLevel);
    try {
        // An SQLite file is this server's alone (its checks trust it); PostgreSQL is shared.
        const bool shared = pg::isUri(cl.dbPath);
        std::optional<StoreFile> file;
        if (!shared) file.emplace(cl.dbPath, !cl.dbPathGiven);
        if (!cl.configFile.empty()) log->info("options not on the command line from {}", cl.configFile);
        log->info("starting on the database {}{}{}", shownStore(cl.dbPath), file && file->created() ? " (new)" : "",
                  file && file->createdFolder() ? ", in a folder made for it" : "");
        const auto storePtr = openStore(cl.dbPath);
        Store& store = *storePtr;
        const int demoYear = cl.demoYear != 0 ? cl.demoYear : currentYear();
        if (cl.demo && seedDemo(store, demoYear))
            log->info("demonstration data stored: the tables of {} to {}", demoYear - 1, demoYear + 1);
        makeRoomForConnections(cl.server.maxConnections, *log);
        Users users(cl.dbPath);
        SignIn signIn(users, cl.signIn, *log);
        WriteQueue writes(store, *log);
        const Dispatcher dispatcher(store, cl.limits.maxChanges, cl.limits.keptResultBytes, cl.limits.maxBatch);
        const RequestHandler handler(dispatcher, writes, cl.limits, *log, &signIn);
        {
            Server server(handler, cl.server, *log, [&](const asio::ip::address& address, bool tls) {
                requireSafeListening(address, users.any(), tls, cl.insecure);
            });
            if (cl.server.port == 0) std::cout << server.port() << std::endl;  // callers wait for this line
            server.run();
        }
        // Stopping is under way: a repeated SIGTERM must not cut the last writes and the store's close short.
        std::signal(SIGINT, SIG_IGN);
        std::signal(SIGTERM, SIG_IGN);
    } catch (const std::exception& e) {
        std::cerr << "ktr52300-server: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
