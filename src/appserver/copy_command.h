// `ktr52300-server copy FROM TO`: copies a store into an empty one, then exits.
#pragma once
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace appserver {

struct CopyCommand {
    bool given = false;
    std::string from;  // a file path or a postgresql:// URI
    std::string to;
};

// Adds the `copy` subcommand to the server's command line, filling `command`.
void addCopyCommand(CLI::App& app, CopyCommand& command);

// Runs the copy and prints the rows copied of each table on `out`. Returns the exit status:
// 0 copied, 1 refused or failed (the reason on `err`; the target holds none of the rows).
int runCopyCommand(const CopyCommand& command, std::ostream& out, std::ostream& err);

}  // namespace appserver
