// `ktr52300-server --db STORE user add|list|remove|passwd`: manages who may sign in, then exits.
#pragma once
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace appserver {

struct UserCommand {
    std::string verb;  // "add", "list", "remove", "passwd"; empty: no user command was given
    std::string name;
    std::string role;
    std::string branch;
};

// Adds the `user` subcommand and its verbs to the server's command line, filling `command`.
void addUserCommand(CLI::App& app, UserCommand& command);

// Runs the command on the store at `dbPath`; passwords come from `in`, one line (never from the
// command line, where every user of the machine could read them). Returns the exit status:
// 0 done, 1 refused (the reason on `err`).
int runUserCommand(const UserCommand& command, const std::string& dbPath, bool createFolder, std::istream& in,
                   std::ostream& out, std::ostream& err);

}  // namespace appserver
