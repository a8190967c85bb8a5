#include "appserver/backup_command.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "store/open_store.h"
#include "store/pg_db.h"
#include "store/sqlite_backup.h"

namespace appserver {

void addBackupCommand(CLI::App& app, BackupCommand& command) {
    auto* backup = app.add_subcommand("backup", "write a copy of an SQLite store while its server runs and writes, check "
                                                "it, then exit (restore it with copy)");
    backup->add_option("--to", command.to, "the copy; an existing file is replaced only once the new copy is checked")
        ->required()
        ->type_name("FILE");
    backup->fallthrough();  // --db may come after the verb
    backup->callback([&command] { command.given = true; });
}

int runBackupCommand(const BackupCommand& command, const std::string& db, std::ostream& out, std::ostream& err) {
    if (pg::isUri(db)) {
        std::string uri = shownStore(db);  // for a command to copy: no password, not even hidden
        if (const auto hidden = uri.find(":***@"); hidden != std::string::npos) uri.erase(hidden, 4);
        err << "ktr52300-server: backup: " << uri << " is a PostgreSQL database: back it up with PostgreSQL's own tool, "
            << "which copies one moment of it while the servers run:\n"
            << "  pg_dump --format=custom --file=" << command.to << " '" << uri << "'\n"
            << "and restore it into a new, empty database with\n"
            << "  pg_restore --no-owner --dbname='postgresql://USER@HOST:PORT/NEWDB' " << command.to << "\n"
            << "(the password from ~/.pgpass or PGPASSFILE, not the command line).\n";
        return 1;
    }
    try {
        const auto tables = backupSqliteStore(db, command.to);
        out << "backed up " << db << " into " << command.to << " (integrity ok)\n";
        for (const auto& t : tables) {
            if (t.table.starts_with("sqlite_")) continue;  // SQLite's own counters
            out << "  " << t.table << ": " << t.rows << (t.rows == 1 ? " row" : " rows") << '\n';
        }
        return 0;
    } catch (const std::exception& e) {
        err << "ktr52300-server: backup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace appserver
