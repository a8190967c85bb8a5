#include "store/sqlite_db.h"

#include <sqlite3.h>

#include <cerrno>
#include <cmath>

#include "store/out_of_descriptors.h"

namespace appserver::sqlite {

void Database::CloseDb::operator()(sqlite3* db) const { sqlite3_close_v2(db); }
void Database::Finalize::operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }

Database::Database(const std::string& path, Access access) {
    sqlite3* raw = nullptr;
    // Read connections still open the file read-write: a read-only handle on a WAL database fails
    // in corner cases (no -shm yet), while query_only gives the same guarantee without them.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (access == Access::ReadWrite ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    db_.reset(raw);  // a handle comes back even on failure and must be closed
    if (rc != SQLITE_OK) {
        const std::string what = "cannot open database " + path + ": " + (raw ? sqlite3_errmsg(raw) : "out of memory");
        const int system = raw ? sqlite3_system_errno(raw) : 0;
        if (system == EMFILE || system == ENFILE) throw OutOfDescriptors(what);
        throw Error(what);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 5000);
    if (access == Access::ReadOnly) exec("PRAGMA query_only=ON");
}

void Database::fail(const std::string& what) const { throw Error(what + ": " + sqlite3_errmsg(db_.get())); }

void Database::exec(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string text = err ? err : "unknown error";
        sqlite3_free(err);
        throw Error(text + " in: " + sql);
    }
}

Query Database::query(const std::string& sql) {
    auto it = cache_.find(sql);
    if (it == cache_.end()) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v3(db_.get(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
            fail("cannot prepare \"" + sql + "\"");
        it = cache_.emplace(sql, std::unique_ptr<sqlite3_stmt, Finalize>(stmt)).first;
    }
    return Query(*this, it->second.get());
}

void Database::run(const char* sql) { query(sql).step(); }

bool Database::inTransaction() const { return sqlite3_get_autocommit(db_.get()) == 0; }

void Query::fail(const std::string& what) const { db_.fail(what + " \"" + sqlite3_sql(stmt_) + "\""); }

Query::~Query() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

Query& Query::bind(int index, const wire::Value& v) {
    int rc = SQLITE_OK;
    if (const auto* d = std::get_if<double>(&v)) {
        if (std::trunc(*d) == *d && std::fabs(*d) < 9e15)
            rc = sqlite3_bind_int64(stmt_, index, static_cast<sqlite3_int64>(*d));
        else
            rc = sqlite3_bind_double(stmt_, index, *d);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
        rc = sqlite3_bind_text(stmt_, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    } else if (const auto* t = std::get_if<wire::DateTime>(&v)) {
        rc = sqlite3_bind_int64(stmt_, index, t->seconds());
    } else {
        rc = sqlite3_bind_null(stmt_, index);
    }
    if (rc != SQLITE_OK) fail("cannot bind parameter " + std::to_string(index) + " of");
    return *this;
}

Query& Query::bindInt(int index, long long v) {
    if (sqlite3_bind_int64(stmt_, index, v) != SQLITE_OK) fail("cannot bind parameter " + std::to_string(index) + " of");
    return *this;
}

Query& Query::bindText(int index, const std::string& v) { return bind(index, wire::Value(v)); }

bool Query::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail("cannot run");
}

wire::Value Query::column(int index, wire::FieldType type) const {
    if (sqlite3_column_type(stmt_, index) == SQLITE_NULL) return wire::Null{};
    switch (type) {
        case wire::FieldType::Float: return sqlite3_column_double(stmt_, index);
        case wire::FieldType::DateTime: return wire::DateTime::fromSeconds(sqlite3_column_int64(stmt_, index));
        case wire::FieldType::String: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
            return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index)));
        }
    }
    return wire::Null{};
}

long long Query::columnInt(int index) const { return sqlite3_column_int64(stmt_, index); }

void Database::rollbackQuietly() {
    try {
        run("ROLLBACK");
    } catch (...) {
        // SQLite rolls back on its own when it cannot here.
    }
}

}  // namespace appserver::sqlite
