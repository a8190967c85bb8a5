// What every batch program does before its work: the command line read, --help and --version
// answered, the password read, and the connection to the server opened with that account.
#pragma once
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/host_services.h"
#include "framework/tnetconnection.h"
#include "host/command_line.h"
#include "host/host_options.h"

namespace batch {

constexpr int kUsageError = 2;  // the exit status of a bad option, for every batch program

template <class Options>
struct ProgramStart {
    Options options;
    std::string password;
    std::optional<int> exitNow;  // the status to end with at once (help, version, a bad option)
};

// `parse` reads the arguments into Options (throwing std::invalid_argument in Portuguese);
// Options has help, version, user and passwordFile.
template <class Options, class Parse, class Usage>
ProgramStart<Options> startProgram(const std::string& program, int argc, char** argv, Parse parse, Usage usage) {
    ProgramStart<Options> start;
    try {
        start.options = parse(std::vector<std::string>(argv + 1, argv + argc));
        if (start.options.help || start.options.version) {
            std::cout << (start.options.help ? usage() : host::versionLine(program));
            start.exitNow = 0;
            return start;
        }
        if (!start.options.user.empty()) {
            host::HostOptions account;
            account.user = start.options.user;
            account.passwordFile = start.options.passwordFile;
            start.password = host::readPassword(account);
        }
    } catch (const std::invalid_argument& e) {
        std::cerr << program << ": " << e.what() << "\nVeja as opções com " << program << " --help.\n";
        start.exitNow = kUsageError;
    }
    return start;
}

// The account of the command line, given to the framework for as long as it lives.
class ServerAccount {
public:
    template <class Options>
    ServerAccount(const Options& o, const std::string& password)
        : services_(fw::HostSettings{o.serverHost, o.serverPort, o.branch, "", o.user, password, o.tlsCa}),
          host_(o.serverHost),
          port_(o.serverPort) {
        fw::HostServices::SetInstance(&services_);
    }
    ~ServerAccount() { fw::HostServices::SetInstance(nullptr); }
    ServerAccount(const ServerAccount&) = delete;
    ServerAccount& operator=(const ServerAccount&) = delete;

    // A connection to the server, signed in with the account; `name` names it in the logs.
    std::unique_ptr<fw::TNetConnection> connect(const std::string& name) const {
        auto server = std::make_unique<fw::TNetConnection>(nullptr, name);
        server->SetHost(host_);
        server->SetPort(port_);
        server->SetConnected(true);
        return server;
    }

private:
    fw::HostServices services_;
    std::string host_;
    int port_;
};

}  // namespace batch
