// `ktr52300-server backup --db STORE --to FILE`: a checked copy of a store while its server runs, then exits.
#pragma once
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace appserver {

struct BackupCommand {
    bool given = false;
    std::string to;  // the file the copy goes to
};

// Adds the `backup` subcommand to the server's command line, filling `command`; --db (from the
// command line, before or after the verb, or from the configuration file) names the store.
void addBackupCommand(CLI::App& app, BackupCommand& command);

// Backs up the SQLite store at `db` and prints the rows of each table on `out`. A PostgreSQL
// store is refused with how to back it up with PostgreSQL's tools. Returns the exit status:
// 0 copied and checked, 1 refused or failed (the reason on `err`; the file is left as it was).
int runBackupCommand(const BackupCommand& command, const std::string& db, std::ostream& out, std::ostream& err);

}  // namespace appserver
