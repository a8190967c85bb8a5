// The server's command line.
#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "appserver/server.h"

namespace appserver {

struct CommandLine {
    ServerOptions server;
    std::string dbPath;  // default: under the user's data directory
    bool demo = false;   // store the demonstration data when the database is empty
    bool help = false;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws UsageError naming the offending argument.
CommandLine parseCommandLine(const std::vector<std::string>& args);
std::string usage();
// $XDG_DATA_HOME/ktr52300/comissao.db, else ~/.local/share/ktr52300/comissao.db.
std::string defaultDbPath();

}  // namespace appserver
