// A thin RAII layer over one PostgreSQL connection (libpq), with the same shape as the SQLite
// one so that the checks and the history are written once for both stores.
#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/sql_transaction.h"
#include "wire/value.h"

struct pg_conn;
struct pg_result;

namespace appserver::pg {

class Error : public std::runtime_error {
public:
    Error(const std::string& what, std::string sqlstate) : std::runtime_error(what), sqlstate_(std::move(sqlstate)) {}
    const std::string& sqlstate() const { return sqlstate_; }
    // The transaction was rolled back because of another one: running it again is safe.
    bool mustRetry() const { return sqlstate_ == "40001" || sqlstate_ == "40P01"; }
    // The connection is gone (server restarted, connection cut): the next use opens a new one.
    bool connectionLost() const { return sqlstate_.empty() || sqlstate_.starts_with("08") || sqlstate_.starts_with("57P"); }

private:
    std::string sqlstate_;
};

class Connection;

// A statement with its parameters; runs at the first step(). Parameters are written as `?` in
// the text (as for SQLite) and numbered for PostgreSQL when the statement is prepared.
class Query {
public:
    struct Prepared {
        std::string name, sql;
        std::vector<bool> wholeOnly;  // by parameter: compared with a whole-number column
    };
    Query(Connection& db, const Prepared& prepared);
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    ~Query();

    // Binds by 1-based position; floats that are whole numbers bind as integers.
    Query& bind(int index, const wire::Value& v);
    Query& bindInt(int index, long long v);
    Query& bindText(int index, const std::string& v);
    // True while a row is available.
    bool step();
    // Reads column `index` of the current row as a value of `type` (NULL gives Null).
    wire::Value column(int index, wire::FieldType type) const;
    long long columnInt(int index) const;

private:
    Connection& db_;
    const Prepared& prepared_;
    // A fraction compared with a whole-number column: as in SQLite, no row matches it.
    bool matchesNothing_ = false;
    std::vector<std::string> values_;
    std::vector<bool> isNull_;
    pg_result* result_ = nullptr;
    int row_ = -1;
};

class Connection {
public:
    // Connects with a libpq connection string or URI; throws Error when it cannot.
    explicit Connection(const std::string& uri);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void exec(const std::string& sql);
    void run(const char* sql) { exec(sql); }
    // The statement is prepared once and kept for the life of the connection.
    Query query(const std::string& sql);
    // BEGIN ISOLATION LEVEL READ COMMITTED: each statement sees all committed before it, so
    // statements after a lock see what the lock's last holder committed (a serializable
    // snapshot would be taken before the lock is granted).
    void begin();
    // Ends the open transaction; throws Error unless it was committed.
    void commit();
    // ROLLBACK, unless the connection is broken (PostgreSQL ended the transaction then).
    void rollbackQuietly();
    // False once the connection has broken; such a connection is thrown away, never reused.
    bool usable() const;
    // The connection's socket, to wait for notifications on.
    int socket() const;
    // Reads what arrived and counts the notifications among it; throws Error once the
    // connection is gone.
    int takeNotifications();
    // Takes the result of a command, throwing Error (with its SQLSTATE) unless it succeeded.
    pg_result* check(pg_result* result, const std::string& what);

private:
    struct Finish {
        void operator()(pg_conn* c) const;
    };
    std::unique_ptr<pg_conn, Finish> conn_;
    std::unordered_map<std::string, Query::Prepared> prepared_;  // by the statement's text
    friend class Query;
};

using Transaction = sql::Transaction<Connection>;
using Savepoint = sql::Savepoint<Connection>;

// True for a libpq connection string or URI rather than a file path.
bool isUri(const std::string& dbPath);

}  // namespace appserver::pg
