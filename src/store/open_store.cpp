#include "store/open_store.h"

#include "store/pg_db.h"
#include "store/pg_store.h"
#include "store/sqlite_store.h"

namespace appserver {

std::unique_ptr<Store> openStore(const std::string& db) {
    if (pg::isUri(db)) return std::make_unique<PgStore>(db);
    return std::make_unique<SqliteStore>(db);
}

std::string shownStore(const std::string& db) {
    if (!pg::isUri(db)) return db;
    const auto scheme = db.find("://") + 3;
    const auto at = db.find('@', scheme);
    if (at == std::string::npos) return db;
    const auto colon = db.find(':', scheme);
    if (colon == std::string::npos || colon > at) return db;  // a user without a password
    return db.substr(0, colon) + ":***" + db.substr(at);
}

}  // namespace appserver
