#include "host/command_line.h"

#include <CLI/CLI.hpp>
#include <stdexcept>

#include "wire/host_port.h"
#include "wire/version.h"

namespace host {

CLI::Option* addServerOption(CLI::App& app, ServerAddress& address, const std::string& description, BadServerText bad) {
    return app
        .add_option_function<std::string>(
            "--server",
            [&address](const std::string& text) {
                const wire::HostPort parsed = wire::parseHostPort(text, false);
                address = {parsed.host, parsed.port};
            },
            description)
        ->type_name("HOST:PORT")
        ->check([bad](const std::string& text) {
            try {
                wire::parseHostPort(text, false);
                return std::string();
            } catch (const std::invalid_argument& e) {
                return bad(text, e.what());
            }
        });
}

void addVersionFlag(CLI::App& app, const std::string& description) {
    app.set_version_flag("--version", versionLine(app.get_name()), description);
}

Asked parseArguments(CLI::App& app, const std::vector<std::string>& args) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return Asked::Help;
    } catch (const CLI::CallForVersion&) {
        return Asked::Version;
    }
    return Asked::Run;
}

void refuseRemaining(const CLI::App& app) {
    for (const std::string& extra : app.remaining())
        throw std::invalid_argument(extra.starts_with("-") ? "opção desconhecida " + extra
                                                            : "argumento inesperado '" + extra + "'");
}

std::string versionLine(const std::string& program) { return program + " " + wire::version() + "\n"; }

}  // namespace host
