#include "store/sqlite_backup.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace appserver {

namespace {

namespace fs = std::filesystem;

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, CloseDb>;

struct FinishBackup {
    void operator()(sqlite3_backup* b) const { sqlite3_backup_finish(b); }
};

struct Finalize {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

Connection open(const std::string& path, int flags, const std::string& what) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK) fail(db.get(), "cannot open " + what + " " + path);
    // A reader meets a brief lock now and then (the server restarting its log); it waits.
    sqlite3_busy_timeout(db.get(), 10'000);
    return db;
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(db, sql);
}

Statement prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) fail(db, sql);
    return Statement(raw);
}

// The first column of every row, as text.
std::vector<std::string> texts(sqlite3* db, const std::string& sql) {
    const Statement stmt = prepare(db, sql);
    std::vector<std::string> out;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(stmt.get(), 0);
        out.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    if (rc != SQLITE_DONE) fail(db, sql);
    return out;
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (const char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + '"';
}

// Every table of the store with its rows, by name.
std::vector<BackedUpTable> tableRows(sqlite3* db) {
    std::vector<BackedUpTable> out;
    for (const auto& table : texts(db, "SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name"))
        out.push_back({table, std::stoll(texts(db, "SELECT count(*) FROM " + quoted(table)).at(0))});
    return out;
}

void syncPath(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0) ::close(fd);
        throw std::runtime_error("cannot make " + path.string() + " durable");
    }
    ::close(fd);
}

// The copy in the making, removed unless it was put in place.
class PartialFile {
public:
    explicit PartialFile(fs::path path) : path_(std::move(path)) {
        std::error_code ignored;
        fs::remove(path_, ignored);  // what a failed run left behind
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);  // it holds password hashes
        if (fd < 0) throw std::runtime_error("cannot create " + path_.string());
        ::close(fd);
    }
    ~PartialFile() {
        if (kept_) return;
        std::error_code ignored;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(path_.string() + suffix, ignored);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    const fs::path& path() const { return path_; }
    void moveTo(const fs::path& target) {
        syncPath(path_, O_RDONLY);
        fs::rename(path_, target);
        kept_ = true;
        syncPath(target.parent_path().empty() ? fs::path(".") : target.parent_path(), O_RDONLY | O_DIRECTORY);
    }

private:
    fs::path path_;
    bool kept_ = false;
};

}  // namespace

std::vector<BackedUpTable> backupSqliteStore(const std::string& source, const std::string& target) {
    if (!fs::is_regular_file(source)) throw std::runtime_error("no SQLite store at " + source);
    if (target.empty()) throw std::runtime_error("no file named for the copy");
    std::error_code ec;
    if (fs::equivalent(source, target, ec)) throw std::runtime_error("the copy cannot replace the store itself");
    const fs::path targetPath = fs::absolute(target);
    if (fs::is_directory(targetPath)) throw std::runtime_error(target + " is a folder; name the file of the copy");

    const Connection from = open(source, SQLITE_OPEN_READONLY, "the store");
    // One read transaction for the counts and the copy: both see the same moment of the store.
    exec(from.get(), "BEGIN");
    const std::vector<BackedUpTable> counted = tableRows(from.get());

    PartialFile partial(targetPath.string() + ".partial");
    {
        const Connection to = open(partial.path().string(), SQLITE_OPEN_READWRITE, "the copy");
        {
            const std::unique_ptr<sqlite3_backup, FinishBackup> backup(sqlite3_backup_init(to.get(), "main", from.get(), "main"));
            if (!backup) fail(to.get(), "cannot start the copy");
            // All pages in one step: the source's read transaction is held throughout.
            const int rc = sqlite3_backup_step(backup.get(), -1);
            if (rc != SQLITE_DONE) fail(to.get(), "the copy failed");
        }
        exec(from.get(), "COMMIT");
        // One file on its own, without a write-ahead log beside it.
        exec(to.get(), "PRAGMA journal_mode = DELETE");
        const auto integrity = texts(to.get(), "PRAGMA integrity_check");
        if (integrity != std::vector<std::string>{"ok"})
            throw std::runtime_error("the copy failed its integrity check: " + (integrity.empty() ? "" : integrity.front()));
        const std::vector<BackedUpTable> copied = tableRows(to.get());
        for (std::size_t i = 0; i < counted.size() || i < copied.size(); ++i) {
            if (i >= counted.size() || i >= copied.size() || copied[i].table != counted[i].table)
                throw std::runtime_error("the copy does not hold the same tables as the store");
            if (copied[i].rows != counted[i].rows)
                throw std::runtime_error("the copy's table " + copied[i].table + " holds " + std::to_string(copied[i].rows) +
                                         " rows; the store held " + std::to_string(counted[i].rows));
        }
    }
    partial.moveTo(targetPath);
    return counted;
}

}  // namespace appserver
