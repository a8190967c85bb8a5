#include "host/host_options.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <fstream>
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
    addVersionFlag(*app, "print the version and exit");
    addServerOption(*app, server, "the application server, HOST:PORT (a name, an IPv4 address or [IPv6])",
                    [](const std::string& text, const std::string& why) {
        return "wants HOST:PORT, not '" + text + "' (" + why + ")";
    })->required();
    auto* branch = app->add_option("--branch", o.branch, "the user's branch code (a server whose store has no users)")
                       ->type_name("CODE");
    auto* user = app->add_option("--user", o.user, "sign in as this user; the branch is then the account's")
                     ->type_name("NAME")
                     ->excludes(branch);
    app->add_option("--password-file", o.passwordFile,
                    "the password of --user is this file's first line (default: $KTR52300_PASSWORD)")
        ->type_name("FILE")
        ->needs(user);
    app->add_option("--tls-ca", o.tlsCa,
                    "speak TLS and take only a certificate this authority (PEM) signed for the --server name")
        ->type_name("FILE");
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
        // Started from the desktop's menu it has no command line: the machine's file gives the options.
        app->set_config("--config", kDesktopConfigFile,
                        "read the options not given here from this file, when it exists (KEY = VALUE, the option's name "
                        "without its dashes)")
            ->capture_default_str()
            ->type_name("FILE");
        app->allow_config_extras(CLI::config_extras_mode::error);
    }
    return app;
}

}  // namespace

HostOptions parseHostOptions(const std::vector<std::string>& args, HostProgram program) {
    HostOptions o;
    ServerAddress server;
    const auto app = makeApp(program, o, server);
    try {
        const Asked asked = parseArguments(*app, args);
        o.help = asked == Asked::Help;
        o.version = asked == Asked::Version;
    } catch (const CLI::ParseError& e) {
        throw std::invalid_argument(e.what());
    }
    if (!o.help && !o.version && o.user.empty() && o.branch.empty())
        throw std::invalid_argument("--branch CODE or --user NAME is required");
    o.serverHost = server.host;
    o.serverPort = server.port;
    return o;
}

std::string hostUsage(HostProgram program) {
    HostOptions o;
    ServerAddress server;
    return makeApp(program, o, server)->help();
}

std::string readPassword(const HostOptions& options) {
    if (options.passwordFile.empty()) {
        const char* env = std::getenv("KTR52300_PASSWORD");
        if (!env) throw std::invalid_argument("--user needs --password-file FILE or KTR52300_PASSWORD");
        return env;
    }
    std::ifstream file(options.passwordFile);
    std::string line;
    if (!file || !std::getline(file, line)) throw std::invalid_argument("cannot read the password file " + options.passwordFile);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace host
