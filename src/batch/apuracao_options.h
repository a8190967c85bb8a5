// Command line of backoffice-apuracao.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace batch {

struct ApuracaoOptions {
    std::string serverHost;
    int serverPort = 0;
    std::string branch;
    std::string user;          // sign in as this user
    std::string passwordFile;  // its first line is the password; empty: $KTR52300_PASSWORD
    std::string tlsCa;         // empty: plain TCP
    std::string sales, out;
    int threads = 0;  // 0: one a core
    std::optional<long long> compareTable;  // --compare-table N
    bool help = false;
    bool version = false;  // --version: print host::versionLine() and do nothing else
};

// Reads `--server HOST:PORT (--branch CODE | --user NAME [--password-file F]) [--tls-ca CA]
// --sales FILE --out PREFIX [--threads N] [--compare-table N]` (also `--name=value`). Throws std::invalid_argument
// with a Portuguese reason.
ApuracaoOptions parseApuracaoOptions(const std::vector<std::string>& args);

// The options and what they mean.
std::string apuracaoUsage();

}  // namespace batch
