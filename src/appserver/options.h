// The server's command line.
#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "appserver/backup_command.h"
#include "appserver/copy_command.h"
#include "appserver/request_handler.h"
#include "appserver/server_options.h"
#include "appserver/sign_in.h"
#include "appserver/user_command.h"

namespace appserver {

struct CommandLine {
    ServerOptions server;
    RequestLimits limits;
    std::string dbPath;        // default: under the user's data directory
    bool dbPathGiven = false;  // false: the default, whose folder the server may create
    bool demo = false;         // store the demonstration data when the database is empty
    int demoYear = 0;          // its present year; 0: the current one
    std::string logLevel = "info";
    SignInOptions signIn;
    bool insecure = false;  // listen beyond this machine without TLS or without users
    UserCommand user;             // a user command to run instead of serving
    CopyCommand copy;             // a copy to make instead of serving
    BackupCommand backup;         // a backup to take instead of serving
    std::string configFile;       // the configuration file read; empty: none
    std::string help;             // --help or --version was given: the text to print
};

// Read for the options not on the command line, when it exists.
inline constexpr const char* kDefaultConfigFile = "/etc/ktr52300/server.conf";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws UsageError naming the offending argument.
CommandLine parseCommandLine(const std::vector<std::string>& args);
// $XDG_DATA_HOME/ktr52300/comissao.db, else ~/.local/share/ktr52300/comissao.db.
std::string defaultDbPath();

}  // namespace appserver
