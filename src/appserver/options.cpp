#include "appserver/options.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "wire/host_port.h"
#include "wire/version.h"

namespace appserver {

namespace {

// The texts the options are read into before they become CommandLine's typed values.
struct Raw {
    std::string listen = "127.0.0.1:52300";
    int idleSeconds = 600;
    int requestSeconds = 30;
    int graceSeconds = 5;
    std::uint64_t outputHighWater = 1u << 20;
    std::uint64_t maxPartialBytes = 64u << 20;
    std::uint64_t maxMessageBytes = wire::kMaxMessageBytes;
    std::uint64_t keptResultBytes = 16u << 20;
    int signInDelayMs = 1000;
    int lockoutSeconds = 300;
};

std::string checkHostPort(const std::string& text) {
    try {
        wire::parseHostPort(text, true);
        return {};
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
}

// Sizes take a unit: 65536, 64KiB, 64KB and 64K are all 65536 bytes.
CLI::Option* sizeOption(CLI::App& app, const char* name, std::uint64_t& value, const char* what, std::uint64_t lo,
                        std::uint64_t hi) {
    return app.add_option(name, value, what)
        ->capture_default_str()
        ->type_name("BYTES")
        ->transform(CLI::AsSizeValue(false).description(""))
        ->check(CLI::Range(lo, hi).description(""));
}

std::unique_ptr<CLI::App> makeApp(CommandLine& cl, Raw& raw) {
    auto app = std::make_unique<CLI::App>("The commission tables' application server: JSON-RPC over TCP, SQLite or PostgreSQL storage.",
                                          "ktr52300-server");
    app->get_formatter()->column_width(38);
    app->set_version_flag("--version", std::string("ktr52300-server ") + wire::version(), "print the version and exit");
    // Every option below may come from the file instead; a key it does not know is a mistake
    // worth stopping for, not one to pass over.
    app->set_config("--config", kDefaultConfigFile,
                    "read the options not given here from this file, when it exists: a line KEY = VALUE for each, "
                    "the option's name without its dashes (\"\" reads none)")
        ->capture_default_str()
        ->type_name("FILE");
    app->allow_config_extras(CLI::config_extras_mode::error);
    app->add_option("--listen", raw.listen,
                    "address to listen on, HOST:PORT (a name, an IPv4 address or [IPv6]); port 0 picks a free port "
                    "and prints it as the first line of standard output")
        ->capture_default_str()
        ->type_name("HOST:PORT")
        ->check(checkHostPort);
    app->add_option("--db", cl.dbPath, "the store: an SQLite database file (a new file is readable by its owner only) or a PostgreSQL URI, "
                    "postgresql://USER@HOST:PORT/DB")
        ->capture_default_str()
        ->type_name("FILE|URI");
    app->add_flag("--demo,--seed-demo", cl.demo, "store a small demonstration data set when the database is empty");
    app->add_option("--demo-year", cl.demoYear,
                    "the present of the demonstration data: its tables are of the year before, this year and the year "
                    "after (default: the current year)")
        ->type_name("YEAR")
        ->check(CLI::Range(1901, 9998).description(""));
    app->add_option("--threads", cl.server.threads, "threads serving requests, 1 to 64")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Range(1, 64).description(""));
    app->add_option("--log-level", cl.logLevel,
                    "log on standard error from this level up: trace, debug, info, warn, error, critical or off")
        ->capture_default_str()
        ->type_name("LEVEL")
        ->check(CLI::IsMember({"trace", "debug", "info", "warn", "error", "critical", "off"}).description(""));
    app->add_option("--idle-timeout", raw.idleSeconds, "seconds before a silent connection is closed")
        ->capture_default_str()
        ->type_name("SECONDS")
        ->check(CLI::Range(1, 86400 * 7).description(""));
    app->add_option("--request-timeout", raw.requestSeconds, "seconds within which a request begun must be complete")
        ->capture_default_str()
        ->type_name("SECONDS")
        ->check(CLI::Range(1, 3600).description(""));
    app->add_option("--shutdown-grace", raw.graceSeconds,
                    "seconds a client's unsent replies get to go out once its connection is ending (the server stops, or it "
                    "sent what ends it)")
        ->capture_default_str()
        ->type_name("SECONDS")
        ->check(CLI::Range(0, 600).description(""));
    app->add_option("--max-connections", cl.server.maxConnections, "connections at once, in all")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1'000'000}).description(""));
    app->add_option("--max-connections-per-address", cl.server.maxConnectionsPerAddress,
                    "connections at once from one client address")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1'000'000}).description(""));
    sizeOption(*app, "--output-high-water", raw.outputHighWater,
               "unsent reply bytes above which a connection stops reading requests (64KiB, 1MiB...)", 1024,
               std::uint64_t{1} << 30);
    sizeOption(*app, "--max-partial-bytes", raw.maxPartialBytes,
               "bytes of incomplete requests held for all connections together", 1024, std::uint64_t{1} << 40);
    sizeOption(*app, "--max-message-bytes", raw.maxMessageBytes, "longest request or reply line, at most 16MiB", 1024,
               wire::kMaxMessageBytes);
    sizeOption(*app, "--keep-results", raw.keptResultBytes,
               "bytes of read results kept until the store next changes; 0 keeps none", 0, std::uint64_t{1} << 32);
    app->add_option("--max-batch", cl.limits.maxBatch, "requests in one batch, and sales in one ApuraComissao, 1 to 1000")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1000}).description(""));
    app->add_option("--max-changes", cl.limits.maxChanges, "changes in one change log, 1 to 100000")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Range(std::size_t{1}, std::size_t{100'000}).description(""));
    app->add_option("--sign-in-delay", raw.signInDelayMs, "milliseconds before a wrong name or password is answered")
        ->capture_default_str()
        ->type_name("MS")
        ->check(CLI::Range(0, 60'000).description(""));
    app->add_option("--sign-in-failures", cl.signIn.maxFailures,
                    "failed sign-ins in a row from one address before it is shut out")
        ->capture_default_str()
        ->type_name("N")
        ->check(CLI::Range(1u, 1000u).description(""));
    app->add_option("--lockout", raw.lockoutSeconds, "seconds an address is shut out after those failures")
        ->capture_default_str()
        ->type_name("SECONDS")
        ->check(CLI::Range(1, 86400).description(""));
    auto* cert = app->add_option("--tls-cert", cl.server.tlsCert, "serve over TLS with this certificate chain (PEM)")
                     ->type_name("FILE")
                     ->check(CLI::ExistingFile);
    auto* key = app->add_option("--tls-key", cl.server.tlsKey, "the private key of --tls-cert (PEM)")
                    ->type_name("FILE")
                    ->check(CLI::ExistingFile);
    cert->needs(key);
    key->needs(cert);
    app->add_flag("--insecure", cl.insecure,
                  "listen on an address beyond this machine even without TLS or without users (they are required otherwise)");
    addUserCommand(*app, cl.user);
    addCopyCommand(*app, cl.copy);
    addBackupCommand(*app, cl.backup);
    return app;
}

}  // namespace

std::string defaultDbPath() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/ktr52300/comissao.db";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share/ktr52300/comissao.db";
    return "comissao.db";
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    cl.dbPath = defaultDbPath();
    Raw raw;
    auto app = makeApp(cl, raw);
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        cl.help = app->help();  // the help of the subcommand named, if any
        return cl;
    } catch (const CLI::CallForVersion& e) {
        cl.help = std::string(e.what()) + "\n";
        return cl;
    } catch (const CLI::ConfigError& e) {
        throw UsageError(app->get_config_ptr()->as<std::string>() + ": " + e.what());
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }
    if (app->get_config_ptr()->count() > 0) cl.configFile = app->get_config_ptr()->as<std::string>();
    const wire::HostPort listen = wire::parseHostPort(raw.listen, true);
    cl.server.host = listen.host;
    cl.server.port = listen.port;
    cl.dbPathGiven = app->count("--db") > 0;
    cl.server.idleTimeout = std::chrono::seconds(raw.idleSeconds);
    cl.server.requestTimeout = std::chrono::seconds(raw.requestSeconds);
    cl.server.shutdownGrace = std::chrono::seconds(raw.graceSeconds);
    cl.server.outputHighWater = static_cast<std::size_t>(raw.outputHighWater);
    cl.server.maxPartialBytes = static_cast<std::size_t>(raw.maxPartialBytes);
    cl.server.maxMessageBytes = static_cast<std::size_t>(raw.maxMessageBytes);
    cl.limits.keptResultBytes = static_cast<std::size_t>(raw.keptResultBytes);
    cl.limits.maxMessageBytes = cl.server.maxMessageBytes;
    cl.signIn.failureDelay = std::chrono::milliseconds(raw.signInDelayMs);
    cl.signIn.lockout = std::chrono::seconds(raw.lockoutSeconds);
    return cl;
}

}  // namespace appserver
