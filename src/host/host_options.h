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
    std::string localDb;
    std::string modulePath;  // empty: libktr52300.so beside the executable
    std::string scriptPath;  // empty: standard input
    bool verbose = false;
    bool open = false;  // the desktop opens the screen at once
    bool help = false;  // --help: print hostUsage() and do nothing else
};

// backoffice-script reads `--server HOST:PORT --branch CODE --local-db FILE [--module PATH]
// [--verbose] [SCRIPT]`; backoffice the same without --verbose and SCRIPT, with [--open].
// Also `--name=value`. Throws std::invalid_argument with the reason for a missing, unknown or
// malformed option.
HostOptions parseHostOptions(const std::vector<std::string>& args, HostProgram program = HostProgram::Script);

// The options and what they mean.
std::string hostUsage(HostProgram program = HostProgram::Script);

}  // namespace host
