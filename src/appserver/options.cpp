#include "appserver/options.h"

#include <charconv>
#include <cstdlib>

namespace appserver {

namespace {

long parseNumber(const std::string& text, const std::string& what, long lo, long hi) {
    long v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || v < lo || v > hi)
        throw UsageError("invalid " + what + ": \"" + text + "\"");
    return v;
}

}  // namespace

std::string defaultDbPath() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/ktr52300/comissao.db";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share/ktr52300/comissao.db";
    return "comissao.db";
}

std::string usage() {
    return "usage: ktr52300-server [--listen HOST:PORT] [--db FILE] [--demo] [--threads N] [--idle-timeout SECONDS]\n"
           "  --listen        address to listen on (default 127.0.0.1:52300; port 0 picks a free port and\n"
           "                  prints it as the first line of standard output)\n"
           "  --db            SQLite database file (default " + defaultDbPath() + ")\n"
           "  --demo          store a small demonstration data set when the database is empty\n"
           "  --threads       worker threads (default 2)\n"
           "  --idle-timeout  seconds before a silent connection is closed (default 600)\n";
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    cl.dbPath = defaultDbPath();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--listen") {
            const std::string& v = value();
            const auto colon = v.rfind(':');
            if (colon == std::string::npos) throw UsageError("--listen wants HOST:PORT, got \"" + v + "\"");
            std::string host = v.substr(0, colon);
            if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
            if (host.empty()) throw UsageError("--listen wants HOST:PORT, got \"" + v + "\"");
            cl.server.host = host;
            cl.server.port = static_cast<unsigned short>(parseNumber(v.substr(colon + 1), "port", 0, 65535));
        } else if (a == "--db") {
            cl.dbPath = value();
        } else if (a == "--demo" || a == "--seed-demo") {
            cl.demo = true;
        } else if (a == "--threads") {
            cl.server.threads = static_cast<int>(parseNumber(value(), "thread count", 1, 64));
        } else if (a == "--idle-timeout") {
            cl.server.idleTimeout = std::chrono::seconds(parseNumber(value(), "idle timeout", 1, 86400 * 7));
        } else if (a == "--help" || a == "-h") {
            cl.help = true;
        } else {
            throw UsageError("unknown argument \"" + a + "\"");
        }
    }
    return cl;
}

}  // namespace appserver
