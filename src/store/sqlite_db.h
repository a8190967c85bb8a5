// A thin RAII layer over one SQLite connection: cached prepared statements and transactions.
#pragma once
#include <unordered_map>
#include <memory>
#include <stdexcept>
#include <string>

#include "store/sql_transaction.h"
#include "wire/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace appserver::sqlite {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Database;

// A prepared statement in use; reset and unbound when it goes out of scope.
class Query {
public:
    Query(Database& db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
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
    // Throws Error with `what`, the statement and SQLite's message: the log needs all three.
    [[noreturn]] void fail(const std::string& what) const;
    Database& db_;
    sqlite3_stmt* stmt_;
};

class Database {
public:
    enum class Access { ReadWrite, ReadOnly };
    // ReadWrite opens the file, creating it when needed. ReadOnly opens an existing file and
    // refuses every write (query_only), for connections that only read. Throws Error.
    explicit Database(const std::string& path, Access access = Access::ReadWrite);
    ~Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const std::string& sql);
    // Runs one statement that returns no rows, compiled once for the connection (the
    // statements of every transaction: no text to parse each time).
    void run(const char* sql);
    // The statement is compiled once and kept for the life of the connection.
    Query query(const std::string& sql);
    // False once SQLite has ended the open transaction on its own (a full disk, an I/O error).
    bool inTransaction() const;
    // BEGIN IMMEDIATE: the write lock from the start, so a transaction never fails halfway for it.
    void begin() { run("BEGIN IMMEDIATE"); }
    void commit() { run("COMMIT"); }
    // ROLLBACK; a failure leaves SQLite to roll back on its own.
    void rollbackQuietly();
    [[noreturn]] void fail(const std::string& what) const;

private:
    struct CloseDb {
        void operator()(sqlite3* db) const;
    };
    struct Finalize {
        void operator()(sqlite3_stmt* s) const;
    };
    std::unique_ptr<sqlite3, CloseDb> db_;
    std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, Finalize>> cache_;  // finalized before db_ closes
    friend class Query;
};

using Transaction = sql::Transaction<Database>;
using Savepoint = sql::Savepoint<Database>;

}  // namespace appserver::sqlite
