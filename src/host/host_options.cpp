#include "host/host_options.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <stdexcept>

#include "host/command_line.h"

namespace host {
namespace {

std::unique_ptr<CLI::App> makeApp(HostProgram program, HostOptions& o, ServerAddress& server) {
    const bool script = program == HostProgram::Script;
    auto app = script ? std::make_unique<CLI::App>("Plays a script of user actions on the commission screen.",
                                                   "backoffice-script")
                      : std::make_unique<CLI::App>("The desktop host of the commission screen.", "backoffice");
    addServerOption(*app, server, "the application server, HOST:PORT (a name, an IPv4 address or [IPv6])",
                    [](const std::string& text, const std::string& why) {
        return "wants HOST:PORT, not '" + text + "' (" + why + ")";
    })->required();
    app->add_option("--branch", o.branch, "the user's branch code")->type_name("CODE")->required();
    app->add_option("--local-db", o.localDb, "the local SQLite database with the event-type catalogue")
        ->type_name("FILE")
        ->required();
    app->add_option("--module", o.modulePath, "the screen module (default: libktr52300.so beside the host)")
        ->type_name("PATH");
    if (script) {
        app->add_flag("--verbose", o.verbose, "also print the wait animation and the windows shown and closed");
        app->add_option("SCRIPT", o.scriptPath, "the script file (default: standard input)");
    } else {
        app->add_flag("--open", o.open, "open the screen at once");
    }
    return app;
}

}  // namespace

HostOptions parseHostOptions(const std::vector<std::string>& args, HostProgram program) {
    HostOptions o;
    ServerAddress server;
    const auto app = makeApp(program, o, server);
    try {
        o.help = !parseArguments(*app, args);
    } catch (const CLI::ParseError& e) {
        throw std::invalid_argument(e.what());
    }
    o.serverHost = server.host;
    o.serverPort = server.port;
    return o;
}

std::string hostUsage(HostProgram program) {
    HostOptions o;
    ServerAddress server;
    return makeApp(program, o, server)->help();
}

}  // namespace host
