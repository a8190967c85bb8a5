// A consistent copy of an SQLite store taken while its server runs and writes, checked before it is kept.
#pragma once
#include <string>
#include <vector>

namespace appserver {

struct BackedUpTable {
    std::string table;
    long long rows = 0;
};

// Copies the store at `source` (an existing SQLite file) into `target` with SQLite's online
// backup, inside one read transaction of the source: the copy holds every transaction committed
// before that transaction began and nothing of one committed after. Then checks the copy
// (integrity_check answers "ok"; the same tables, each with the rows the source held in that
// transaction) and only then puts it in place of `target`: it is written beside it, readable by
// its owner only, made durable and renamed. On any failure `target` is left as it was.
// Returns the rows of each table, by name. Throws std::runtime_error with the reason.
std::vector<BackedUpTable> backupSqliteStore(const std::string& source, const std::string& target);

}  // namespace appserver
