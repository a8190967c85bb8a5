#include "store/pg_db.h"

#include <libpq-fe.h>

#include <charconv>
#include <cmath>

namespace appserver::pg {

namespace {

// `?` marks become $1, $2, ...: the statements are written once for both stores. None of ours
// holds a `?` inside a quoted text.
std::string numbered(const std::string& sql) {
    std::string out;
    int n = 0;
    for (char c : sql) {
        if (c == '?') out += "$" + std::to_string(++n);
        else out += c;
    }
    return out;
}

// PostgreSQL's type numbers (pg_type) of the whole-number types.
constexpr Oid kInt8 = 20, kInt2 = 21, kInt4 = 23;

std::string sqlstateOf(const PGresult* r) {
    const char* s = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    return s ? s : "";
}

struct ClearResult {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ClearResult>;

}  // namespace

bool isUri(const std::string& dbPath) {
    return dbPath.starts_with("postgresql://") || dbPath.starts_with("postgres://");
}

void Connection::Finish::operator()(pg_conn* c) const { PQfinish(c); }

Connection::Connection(const std::string& uri) : conn_(PQconnectdb(uri.c_str())) {
    if (!conn_) throw Error("cannot connect to PostgreSQL: out of memory", "");
    if (PQstatus(conn_.get()) != CONNECTION_OK) {
        std::string why = PQerrorMessage(conn_.get());
        while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
        throw Error("cannot connect to PostgreSQL: " + why, "08001");
    }
    // Notices ("relation already exists, skipping") are not ours to print.
    PQsetNoticeProcessor(conn_.get(), [](void*, const char*) {}, nullptr);
    exec("SET client_encoding = 'UTF8'");
}

Connection::~Connection() = default;

pg_result* Connection::check(pg_result* result, const std::string& what) {
    const auto status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    std::string why = result ? PQresultErrorMessage(result) : "";
    if (why.empty()) why = PQerrorMessage(conn_.get());
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
    std::string state = sqlstateOf(result);
    if (state.empty() && PQstatus(conn_.get()) != CONNECTION_OK) state = "08006";
    PQclear(result);
    throw Error(what + ": " + why, state);
}

void Connection::exec(const std::string& sql) { PQclear(check(PQexec(conn_.get(), sql.c_str()), "cannot run \"" + sql + "\"")); }

Query Connection::query(const std::string& sql) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        const std::string text = numbered(sql);
        Query::Prepared prepared{"s" + std::to_string(prepared_.size() + 1), sql, {}};
        PQclear(check(PQprepare(conn_.get(), prepared.name.c_str(), text.c_str(), 0, nullptr), "cannot prepare \"" + sql + "\""));
        Result described(check(PQdescribePrepared(conn_.get(), prepared.name.c_str()), "cannot describe \"" + sql + "\""));
        for (int i = 0; i < PQnparams(described.get()); ++i) {
            const Oid type = PQparamtype(described.get(), i);
            prepared.wholeOnly.push_back(type == kInt8 || type == kInt4 || type == kInt2);
        }
        it = prepared_.emplace(sql, std::move(prepared)).first;
    }
    return Query(*this, it->second);
}

void Connection::begin() { exec("BEGIN ISOLATION LEVEL READ COMMITTED"); }

void Connection::rollbackQuietly() {
    if (!usable()) return;
    try {
        exec("ROLLBACK");
    } catch (...) {
        // A connection that cannot roll back is broken and will be thrown away.
    }
}

void Connection::commit() {
    // COMMIT of a failed transaction answers "ROLLBACK" without an error: that is no success.
    Result r(check(PQexec(conn_.get(), "COMMIT"), "cannot commit"));
    if (std::string(PQcmdStatus(r.get())) != "COMMIT") throw Error("the transaction was rolled back", "25P02");
}

int Connection::socket() const { return PQsocket(conn_.get()); }

int Connection::takeNotifications() {
    if (!PQconsumeInput(conn_.get()) || PQstatus(conn_.get()) != CONNECTION_OK)
        throw Error(std::string("lost the connection: ") + PQerrorMessage(conn_.get()), "08006");
    int heard = 0;
    while (PGnotify* n = PQnotifies(conn_.get())) {
        PQfreemem(n);
        ++heard;
    }
    return heard;
}

bool Connection::usable() const { return PQstatus(conn_.get()) == CONNECTION_OK; }

Query::Query(Connection& db, const Prepared& prepared)
    : db_(db), prepared_(prepared), values_(prepared.wholeOnly.size()), isNull_(prepared.wholeOnly.size(), true) {}

Query::~Query() { PQclear(result_); }

Query& Query::bind(int index, const wire::Value& v) {
    const auto i = static_cast<std::size_t>(index - 1);
    if (i >= values_.size()) throw Error("no parameter " + std::to_string(index), "42P02");
    isNull_[i] = false;
    if (const auto* d = std::get_if<double>(&v)) {
        if (std::trunc(*d) == *d && std::fabs(*d) < 9e15) return bindInt(index, static_cast<long long>(*d));
        if (prepared_.wholeOnly[i]) matchesNothing_ = true;  // our whole-number filters are all equalities
        char buf[32];
        values_[i].assign(buf, std::to_chars(buf, buf + sizeof buf, *d).ptr);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
        values_[i] = *s;
    } else if (const auto* t = std::get_if<wire::DateTime>(&v)) {
        return bindInt(index, t->seconds());
    } else {
        isNull_[i] = true;
    }
    return *this;
}

Query& Query::bindInt(int index, long long v) {
    const auto i = static_cast<std::size_t>(index - 1);
    if (i >= values_.size()) throw Error("no parameter " + std::to_string(index), "42P02");
    values_[i] = std::to_string(v);
    isNull_[i] = false;
    return *this;
}

Query& Query::bindText(int index, const std::string& v) { return bind(index, wire::Value(v)); }

bool Query::step() {
    if (matchesNothing_) return false;
    if (!result_) {
        std::vector<const char*> params(values_.size());
        for (std::size_t i = 0; i < values_.size(); ++i) params[i] = isNull_[i] ? nullptr : values_[i].c_str();
        result_ = db_.check(PQexecPrepared(db_.conn_.get(), prepared_.name.c_str(), static_cast<int>(params.size()),
                                           params.data(), nullptr, nullptr, 0),
                            "cannot run \"" + prepared_.sql + "\"");
    }
    return ++row_ < PQntuples(result_);
}

wire::Value Query::column(int index, wire::FieldType type) const {
    if (PQgetisnull(result_, row_, index)) return wire::Null{};
    const char* text = PQgetvalue(result_, row_, index);
    const int size = PQgetlength(result_, row_, index);
    switch (type) {
        case wire::FieldType::Float: {
            double d = 0;
            std::from_chars(text, text + size, d);
            return d;
        }
        case wire::FieldType::DateTime: return wire::DateTime::fromSeconds(columnInt(index));
        case wire::FieldType::String: return std::string(text, static_cast<std::size_t>(size));
    }
    return wire::Null{};
}

long long Query::columnInt(int index) const {
    const char* text = PQgetvalue(result_, row_, index);
    if (text[0] == 't') return 1;  // a boolean
    long long v = 0;
    std::from_chars(text, text + PQgetlength(result_, row_, index), v);
    return v;
}

}  // namespace appserver::pg
