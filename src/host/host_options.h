// Command line of backoffice-script.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace host {

struct HostOptions {
    std::string serverHost;
    int serverPort = 0;
    std::string branch;
    std::string localDb;
    std::string modulePath;  // empty: libktr52300.so beside the executable
    std::string scriptPath;  // empty: standard input
    bool verbose = false;
};

// Reads `--server HOST:PORT --branch CODE --local-db FILE [--module PATH] [--verbose]
// [SCRIPT]` (also `--name=value`). Throws std::invalid_argument with the reason for a
// missing or malformed option.
HostOptions parseHostOptions(const std::vector<std::string>& args);

std::string hostUsage();

}  // namespace host
