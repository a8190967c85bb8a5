// The store a --db value names.
#pragma once
#include <memory>
#include <string>

#include "store/store.h"

namespace appserver {

// A postgresql:// or postgres:// URI opens a PostgreSQL store, anything else an SQLite file.
// Throws what the store's constructor throws (sqlite::Error, pg::Error, schema::TooNew).
std::unique_ptr<Store> openStore(const std::string& db);

// The --db value fit for a log: a URI without its password.
std::string shownStore(const std::string& db);

}  // namespace appserver
