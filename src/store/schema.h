// The tables of a store, and the version of their layout that every store records.
#pragma once
#include <stdexcept>
#include <string>

namespace appserver {
namespace sqlite {
class Database;
}
namespace pg {
class Connection;
}
}  // namespace appserver

namespace appserver::schema {

// The layout this server writes; raise it with every change a running store must be upgraded to.
inline constexpr int kVersion = 1;

// The advisory lock the servers sharing a PostgreSQL database take turns with, to prepare its
// tables and to write.
inline constexpr int kWritersLock = 52300;

// A store written by a newer server: this one would misread it, so it does not open it.
class TooNew : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the tables of a new store and brings an older one up to kVersion, in one transaction;
// throws TooNew for a newer one. Several servers may prepare the same store at once.
void prepare(sqlite::Database& db);
void prepare(pg::Connection& db);

// The version a store records (0: written before stores recorded one).
int versionOf(sqlite::Database& db);
int versionOf(pg::Connection& db);

}  // namespace appserver::schema
