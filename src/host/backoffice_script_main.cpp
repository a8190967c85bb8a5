// backoffice-script: loads the screen module and plays a script of user actions on it.
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "host/command_line.h"
#include "host/host_options.h"
#include "host/module_loader.h"
#include "host/script_error.h"
#include "host/script_player.h"
#include "host/script_ui.h"
#include "toolkit/tapplication.h"

namespace {

constexpr int kScriptError = 2;
constexpr int kHostFailure = 1;

int play(const host::HostOptions& options, const std::string& password, std::istream& script) {
    fw::HostServices services(
        fw::HostSettings{options.serverHost, options.serverPort, options.branch, options.localDb, options.user, password, options.tlsCa});
    fw::HostServices::SetInstance(&services);
    if (!options.user.empty()) {
        try {
            services.SetBranch(fw::SignInBranch(services));
        } catch (const std::exception& e) {
            std::cerr << "backoffice-script: " << e.what() << '\n';
            fw::HostServices::SetInstance(nullptr);
            return kHostFailure;
        }
    }

    const std::string path = options.modulePath.empty() ? host::defaultModulePath() : options.modulePath;
    std::unique_ptr<host::LoadedModule> module;
    try {
        module = std::make_unique<host::LoadedModule>(path);
    } catch (const std::exception& e) {
        std::cerr << "backoffice-script: " << e.what() << '\n';
        fw::HostServices::SetInstance(nullptr);
        return kHostFailure;
    }

    int status = 0;
    host::ScriptUserInterface ui(std::cout, options.verbose);
    {
        // The application and the forms it owns go before the module whose code they run.
        tk::TApplication app(ui);
        tk::TApplication::SetInstance(&app);
        host::ScriptPlayer player(app, ui, module->bindings(), std::cout);
        try {
            player.play(script);
        } catch (const host::ScriptError& e) {
            std::cout.flush();
            std::cerr << "backoffice-script: " << e.what() << '\n';
            status = kScriptError;
        }
        std::cout.flush();
    }
    tk::TApplication::SetInstance(nullptr);
    module.reset();
    fw::HostServices::SetInstance(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    host::HostOptions options;
    try {
        options = host::parseHostOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << "backoffice-script: " << e.what() << "\nRun backoffice-script --help to see the options.\n";
        return kScriptError;
    }
    if (options.help) {
        std::cout << host::hostUsage();
        return 0;
    }
    if (options.version) {
        std::cout << host::versionLine("backoffice-script");
        return 0;
    }
    std::string password;
    try {
        if (!options.user.empty()) password = host::readPassword(options);
    } catch (const std::invalid_argument& e) {
        std::cerr << "backoffice-script: " << e.what() << '\n';
        return kScriptError;
    }
    std::ifstream file;
    std::istream* script = &std::cin;
    if (!options.scriptPath.empty()) {
        file.open(options.scriptPath);
        if (!file) {
            std::cerr << "backoffice-script: cannot read " << options.scriptPath << '\n';
            return kScriptError;
        }
        script = &file;
    }
    try {
        return play(options, password, *script);
    } catch (const std::exception& e) {
        std::cerr << "backoffice-script: " << e.what() << '\n';
        return kHostFailure;
    }
}
