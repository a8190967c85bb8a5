// Command line of backoffice-import.
#pragma once
#include <string>
#include <vector>

namespace batch {

struct ImportOptions {
    std::string serverHost;
    int serverPort = 0;
    std::string branch;
    std::string user;          // sign in as this user
    std::string passwordFile;  // its first line is the password; empty: $KTR52300_PASSWORD
    std::string tlsCa;         // empty: plain TCP
    std::string file;
    double table = 0;                     // 0: a new table, as below
    std::string description, start, end;  // start and end YYYY-MM-DD
    bool help = false;
    bool version = false;  // --version: print host::versionLine() and do nothing else
};

// Reads `--server HOST:PORT (--branch CODE | --user NAME [--password-file F]) [--tls-ca CA]
// --file FILE (--table N | --new DESCRIPTION START END)`, the dates dd/mm/aaaa (also
// `--name=value`). Throws std::invalid_argument with a Portuguese reason.
ImportOptions parseImportOptions(const std::vector<std::string>& args);

// The options and what they mean.
std::string importUsage();

}  // namespace batch
