#include "host/host_options.h"

#include <charconv>
#include <stdexcept>

namespace host {
namespace {

void setServer(HostOptions& o, const std::string& value) {
    auto colon = value.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == value.size())
        throw std::invalid_argument("--server wants HOST:PORT, not '" + value + "'");
    int port = 0;
    const char* first = value.data() + colon + 1;
    const char* last = value.data() + value.size();
    auto [end, ec] = std::from_chars(first, last, port);
    if (ec != std::errc() || end != last || port < 1 || port > 65535)
        throw std::invalid_argument("--server: bad port in '" + value + "'");
    o.serverHost = value.substr(0, colon);
    o.serverPort = port;
}

}  // namespace

HostOptions parseHostOptions(const std::vector<std::string>& args) {
    HostOptions o;
    bool haveServer = false, haveBranch = false, haveDb = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            if (!o.scriptPath.empty()) throw std::invalid_argument("more than one script: '" + arg + "'");
            o.scriptPath = arg;
            continue;
        }
        std::string name = arg, value;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else {
            if (i + 1 >= args.size()) throw std::invalid_argument(arg + " needs a value");
            value = args[++i];
        }
        if (name == "--server") {
            setServer(o, value);
            haveServer = true;
        } else if (name == "--branch") {
            o.branch = value;
            haveBranch = true;
        } else if (name == "--local-db") {
            o.localDb = value;
            haveDb = true;
        } else if (name == "--module") {
            o.modulePath = value;
        } else {
            throw std::invalid_argument("unknown option " + name);
        }
    }
    if (!haveServer) throw std::invalid_argument("--server HOST:PORT is required");
    if (!haveBranch) throw std::invalid_argument("--branch CODE is required");
    if (!haveDb) throw std::invalid_argument("--local-db FILE is required");
    return o;
}

std::string hostUsage() {
    return "usage: backoffice-script --server HOST:PORT --branch CODE --local-db FILE "
           "[--module PATH] [--verbose] [SCRIPT]";
}

}  // namespace host
