#include "store/store_copy.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "store/changes.h"
#include "store/pg_db.h"
#include "store/schema.h"
#include "store/sqlite_db.h"
#include "store/store_file.h"
#include "wire/lists.h"

namespace appserver {

namespace {

using wire::Row;

// The users' table: kept by every store, never sent as a list.
constexpr wire::ListField kUsuario[] = {
    {"NMUSUARIO", wire::Stored::Text, 40, true},
    {"IDPAPEL", wire::Stored::Text, 6, true},
    {"CDFILIAL", wire::Stored::Text, 4, true},
    {"DSSENHA", wire::Stored::Text, 0, true},
};
constexpr wire::List usuario{"USUARIO", kUsuario};

// Every table of a store, each after the tables its rows refer to.
std::vector<const wire::List*> tables() {
    std::vector<const wire::List*> all(std::begin(wire::lists::kAll), std::end(wire::lists::kAll));
    all.push_back(&wire::lists::historico);
    all.push_back(&usuario);
    return all;
}

// Rows are moved this many at a time, so that a long history never has to fit in memory at once.
constexpr std::size_t kBatch = 2000;

// A table whose key the store numbers, with a counter to carry over.
bool numbered(const wire::List& t) { return t.key().stored == wire::Stored::Key; }

template <class Db>
using TransactionOf = std::conditional_t<std::is_same_v<Db, pg::Connection>, pg::Transaction, sqlite::Transaction>;

// A read of the source that sees one moment of it, whatever commits meanwhile.
void beginSnapshot(sqlite::Database& db) { db.exec("BEGIN"); }
void beginSnapshot(pg::Connection& db) { db.exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }

template <class Db>
class Snapshot {
public:
    explicit Snapshot(Db& db) : db_(db) { beginSnapshot(db_); }
    ~Snapshot() {
        try {
            db_.exec("ROLLBACK");
        } catch (...) {
            // Nothing was written; a broken connection ends the read on its own.
        }
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

private:
    Db& db_;
};

// Keeps other writers out of the target until the copy commits, so that it is still empty then:
// SQLite's BEGIN IMMEDIATE does so already; on PostgreSQL, servers may still read meanwhile.
void shutOutWriters(sqlite::Database&) {}
void shutOutWriters(pg::Connection& db) {
    std::string names;
    for (const wire::List* t : tables()) names += (names.empty() ? "" : ", ") + std::string(t->table);
    db.exec("LOCK TABLE " + names + " IN EXCLUSIVE MODE");
}

// The highest number the store has given in the table (0: none), kept by SQLite for
// AUTOINCREMENT whatever was deleted since.
long long counterOf(sqlite::Database& db, const wire::List& t) {
    auto q = db.query("SELECT seq FROM sqlite_sequence WHERE upper(name) = ?");
    q.bindText(1, t.table);
    return q.step() ? q.columnInt(0) : 0;
}

void setCounter(sqlite::Database& db, const wire::List& t, long long number) {
    auto old = db.query("DELETE FROM sqlite_sequence WHERE upper(name) = ?");
    old.bindText(1, t.table);
    old.step();
    auto q = db.query("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)");
    q.bindText(1, t.table).bindInt(2, number);
    q.step();
}

std::string lowerCase(std::string s) {
    std::ranges::transform(s, s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The identity sequence of the table's key (the schema's names are unquoted, so folded to lower case).
std::string sequenceOf(pg::Connection& db, const wire::List& t) {
    auto q = db.query("SELECT pg_get_serial_sequence(?, ?)");
    q.bindText(1, lowerCase(t.table)).bindText(2, lowerCase(t.key().name));
    const wire::Value name = q.step() ? q.column(0, wire::FieldType::String) : wire::Null{};
    if (wire::isNull(name)) throw CopyRefused(std::string("the key of ") + t.table + " has no sequence");
    return std::get<std::string>(name);
}

// The sequence's last number given; 0 while it has given none. Explicit keys pass it by.
long long counterOf(pg::Connection& db, const wire::List& t) {
    auto q = db.query("SELECT last_value, is_called FROM " + sequenceOf(db, t));
    return q.step() && q.columnInt(1) ? q.columnInt(0) : 0;
}

void setCounter(pg::Connection& db, const wire::List& t, long long number) {
    auto q = db.query("SELECT setval(?::regclass, ?)");
    q.bindText(1, sequenceOf(db, t)).bindInt(2, number);
    q.step();
}

template <class Db>
bool hasRows(Db& db, const wire::List& t) {
    auto q = db.query(std::string("SELECT 1 FROM ") + t.table + " LIMIT 1");
    return q.step();
}

std::string selectOf(const wire::List& t, const std::string& rest) {
    return "SELECT " + detail::columnList(t.defs()) + " FROM " + t.table + rest;
}

// Rows of the table by key range (`after` < key <= `upTo`), in key order, at most a batch of them.
template <class Db>
std::vector<Row> batchOf(Db& db, const wire::List& t, long long after, long long upTo) {
    const std::string key = t.key().name;
    auto q = db.query(selectOf(t, " WHERE " + key + " > ? AND " + key + " <= ? ORDER BY " + key + " LIMIT " +
                                      std::to_string(kBatch)));
    q.bindInt(1, after).bindInt(2, upTo);
    return detail::readPacket(q, t.defs()).rows;
}

// Every row of a table keyed by a text, ordered here: a text's order in SQL depends on the store.
template <class Db>
std::vector<Row> sortedRowsOf(Db& db, const wire::List& t) {
    auto q = db.query(selectOf(t, ""));
    auto rows = detail::readPacket(q, t.defs()).rows;
    std::ranges::sort(rows, {}, [](const Row& r) -> const wire::Value& { return r[0]; });
    return rows;
}

template <class Db>
long long rowCount(Db& db, const wire::List& t) {
    auto q = db.query(std::string("SELECT count(*) FROM ") + t.table);
    return q.step() ? q.columnInt(0) : 0;
}

template <class Db>
void insertRows(Db& db, const wire::List& t, const std::vector<Row>& rows) {
    const auto fields = t.defs();
    std::string marks;
    for (std::size_t i = 0; i < fields.size(); ++i) marks += i ? ", ?" : "?";
    const std::string sql =
        std::string("INSERT INTO ") + t.table + " (" + detail::columnList(fields) + ") VALUES (" + marks + ")";
    for (const Row& row : rows) {
        auto q = db.query(sql);
        for (std::size_t i = 0; i < row.size(); ++i) q.bind(static_cast<int>(i + 1), row[i]);
        q.step();
    }
}

long long keyOf(const Row& row) {
    const auto* key = std::get_if<double>(&row[0]);
    return key ? static_cast<long long>(*key) : 0;
}

// A value for a message: control characters written as \xNN, so that the message stays one line.
std::string shown(const wire::Value& v) {
    std::string out;
    for (const char c : wire::render(v)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            out += c;
        } else {
            constexpr char kHex[] = "0123456789abcdef";
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return out;
}

std::string counts(const wire::List& t, std::size_t source, std::size_t copy) {
    return std::string(t.table) + " has " + std::to_string(source) + " rows in the source and " + std::to_string(copy) +
           " in the copy";
}

// The first difference between the source's rows and the copy's, in words; "" when there is none.
std::string difference(const wire::List& t, const std::vector<Row>& source, const std::vector<Row>& copy) {
    if (source.size() != copy.size()) return counts(t, source.size(), copy.size());
    for (std::size_t r = 0; r < source.size(); ++r)
        for (std::size_t f = 0; f < t.fields.size(); ++f)
            if (source[r][f] != copy[r][f])
                return std::string("the row ") + t.key().name + "=" + shown(source[r][0]) + " of " + t.table + ": " +
                       t.fields[f].name + " is \"" + shown(source[r][f]) + "\" in the source and \"" + shown(copy[r][f]) +
                       "\" in the copy";
    return "";
}

[[noreturn]] void differs(const std::string& how) {
    throw CopyRefused("the copy differs from the source: " + how + "; nothing was copied");
}

void requireSame(const wire::List& t, const std::vector<Row>& source, const std::vector<Row>& copy) {
    if (const std::string d = difference(t, source, copy); !d.empty()) differs(d);
}

// Copies the table's rows, a batch at a time in key order, each batch read back and compared once
// it is in (nothing copied later writes to it). Returns the rows copied and the highest key.
template <class From, class To>
std::pair<std::size_t, long long> copyRows(From& from, To& to, const wire::List& t) {
    if (!numbered(t)) {  // the users: a few rows
        const std::vector<Row> rows = sortedRowsOf(from, t);
        insertRows(to, t, rows);
        requireSame(t, rows, sortedRowsOf(to, t));
        return {rows.size(), 0};
    }
    std::size_t copied = 0;
    long long last = std::numeric_limits<long long>::min();
    for (;;) {
        const std::vector<Row> rows = batchOf(from, t, last, std::numeric_limits<long long>::max());
        if (rows.empty()) break;
        insertRows(to, t, rows);
        requireSame(t, rows, batchOf(to, t, last, keyOf(rows.back())));
        copied += rows.size();
        last = keyOf(rows.back());
    }
    if (const auto inCopy = static_cast<std::size_t>(rowCount(to, t)); inCopy != copied) differs(counts(t, copied, inCopy));
    return {copied, copied ? last : 0};
}

template <class From, class To>
std::vector<CopiedTable> copyAll(From& from, To& to) {
    Snapshot<From> snapshot(from);
    TransactionOf<To> tx(to);
    shutOutWriters(to);
    const auto all = tables();
    for (const wire::List* t : all)
        if (hasRows(to, *t))
            throw CopyRefused(std::string("the target is not empty (") + t->table +
                              " has rows): a store is copied only into an empty one; the target was left as it was");
    std::vector<CopiedTable> copied;
    for (const wire::List* t : all) {
        const auto [rows, highest] = copyRows(from, to, *t);
        // A number the source gave and deleted since is never given again, nor one the target gave.
        const long long last = numbered(*t) ? std::max({counterOf(from, *t), highest, counterOf(to, *t)}) : 0;
        copied.push_back({t->table, rows, last});
    }
    // Last, just before the commit: PostgreSQL's sequences do not roll back.
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (copied[i].lastNumber == 0) continue;
        setCounter(to, *all[i], copied[i].lastNumber);
        if (counterOf(to, *all[i]) != copied[i].lastNumber)
            throw CopyRefused(std::string("the copy's counter of ") + all[i]->table + " did not take the number " +
                              std::to_string(copied[i].lastNumber) + "; nothing was copied");
    }
    tx.commit();
    return copied;
}

// A store opened for the copy and brought to the current tables; an SQLite file claimed first.
struct OpenedStore {
    OpenedStore(const std::string& store, bool mustExist) {
        if (pg::isUri(store)) {
            db = std::make_unique<pg::Connection>(store);
        } else {
            if (mustExist && !std::filesystem::exists(store)) throw CopyRefused("there is no store at " + store);
            file.emplace(store, false);
            auto connection = std::make_unique<sqlite::Database>(store);
            connection->exec("PRAGMA foreign_keys=ON");
            db = std::move(connection);
        }
        std::visit([](auto& d) { schema::prepare(*d); }, db);
    }
    std::optional<StoreFile> file;  // declared before the connection, which it must outlive
    std::variant<std::unique_ptr<sqlite::Database>, std::unique_ptr<pg::Connection>> db;
};

}  // namespace

std::vector<CopiedTable> copyStore(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (from == to || (!pg::isUri(from) && !pg::isUri(to) && std::filesystem::equivalent(from, to, ec)))
        throw CopyRefused("the source and the target are the same store");
    OpenedStore source(from, true);
    OpenedStore target(to, false);
    return std::visit([](auto& f, auto& t) { return copyAll(*f, *t); }, source.db, target.db);
}

}  // namespace appserver
