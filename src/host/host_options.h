// Command lines of backoffice-script and backoffice.
#pragma once
#include <string>
#include <vector>

namespace host {

enum class HostProgram { Script, Desktop };

struct HostOptions {
    std::string serverHost;
    int serverPort = 0;
    std::string branch;
    std::string user;          // sign in as this user; the branch is then the account's
    std::string passwordFile;  // its first line is the password; empty: $KTR52300_PASSWORD
    std::string tlsCa;         // empty: plain TCP; else TLS, the server checked against this authority
    std::string localDb;
    std::string modulePath;  // empty: libktr52300.so beside the executable
    std::string scriptPath;  // empty: standard input
    bool verbose = false;
    bool open = false;  // the desktop opens the screen at once
    bool help = false;     // --help: print hostUsage() and do nothing else
    bool version = false;  // --version: print versionLine() and do nothing else
};

// backoffice reads the options not on its command line from this file, when it exists.
inline constexpr const char* kDesktopConfigFile = "/etc/backoffice/backoffice.conf";

// backoffice-script reads `--server HOST:PORT (--branch CODE | --user NAME [--password-file FILE])
// [--tls-ca FILE] --local-db FILE [--module PATH] [--verbose] [SCRIPT]`; backoffice the same without
// --verbose and SCRIPT, with [--open]. Also `--name=value`. Throws std::invalid_argument with the
// reason for a missing, unknown or malformed option.
HostOptions parseHostOptions(const std::vector<std::string>& args, HostProgram program = HostProgram::Script);

// The options and what they mean.
std::string hostUsage(HostProgram program = HostProgram::Script);

// The password of `--user`: the first line of the password file, else $KTR52300_PASSWORD (never
// the command line, which every user of the machine can read). Throws std::invalid_argument.
std::string readPassword(const HostOptions& options);

}  // namespace host
