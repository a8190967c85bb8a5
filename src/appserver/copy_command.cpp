#include "appserver/copy_command.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "store/open_store.h"
#include "store/store_copy.h"

namespace appserver {

void addCopyCommand(CLI::App& app, CopyCommand& command) {
    auto* copy = app.add_subcommand("copy", "copy every table, the history and the users of a store into an empty one "
                                            "(SQLite or PostgreSQL, either way), numbers kept, then exit");
    copy->add_option("FROM", command.from, "the store copied: an SQLite file or a postgresql:// URI")
        ->required()
        ->type_name("FILE|URI");
    copy->add_option("TO", command.to, "the empty store it goes into: an SQLite file (made when missing) or a "
                                       "postgresql:// URI of an existing database")
        ->required()
        ->type_name("FILE|URI");
    copy->callback([&command] { command.given = true; });
}

int runCopyCommand(const CopyCommand& command, std::ostream& out, std::ostream& err) {
    try {
        const auto copied = copyStore(command.from, command.to);
        out << "copied " << shownStore(command.from) << " into " << shownStore(command.to) << '\n';
        for (const auto& t : copied) {
            out << "  " << t.table << ": " << t.rows << (t.rows == 1 ? " row" : " rows");
            if (t.lastNumber > 0) out << ", numbers up to " << t.lastNumber << " used";
            out << '\n';
        }
        return 0;
    } catch (const std::exception& e) {
        err << "ktr52300-server: copy: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace appserver
