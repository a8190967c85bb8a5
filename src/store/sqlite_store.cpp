#include "store/sqlite_store.h"

#include "store/changes.h"
#include "store/schema.h"

namespace appserver {

using wire::DataPacket;

namespace {

}  // namespace

// Hands a read connection back to the pool however the read ends. Inside inOneTransaction()
// the read uses the writer, so that it sees what the transaction has stored so far.
class SqliteStore::ReaderLease {
public:
    explicit ReaderLease(SqliteStore& store) : store_(store) {
        if (!store.insideTransaction()) owned_ = store.borrowReader();
    }
    ~ReaderLease() {
        if (owned_) store_.returnReader(std::move(owned_));
    }
    ReaderLease(const ReaderLease&) = delete;
    ReaderLease& operator=(const ReaderLease&) = delete;
    sqlite::Database& db() { return owned_ ? *owned_ : store_.writer_; }

private:
    SqliteStore& store_;
    std::unique_ptr<sqlite::Database> owned_;
};

SqliteStore::SqliteStore(const std::string& path)
    : path_(path),
      writer_(path) {
    writer_.exec("PRAGMA journal_mode=WAL");
    writer_.exec("PRAGMA synchronous=FULL");
    writer_.exec("PRAGMA foreign_keys=ON");
    // A large change log (a copied or imported table: tens of thousands of rows, each log in a
    // savepoint) otherwise spills its pages and its savepoint journals to disk before the commit;
    // both stay bounded by the largest change log the server takes.
    writer_.exec("PRAGMA cache_size=-32768");
    writer_.exec("PRAGMA temp_store=MEMORY");
    schema::prepare(writer_);
}

SqliteStore::~SqliteStore() = default;

std::unique_ptr<sqlite::Database> SqliteStore::borrowReader() {
    {
        std::lock_guard lock(readersMutex_);
        if (!idleReaders_.empty()) {
            auto reader = std::move(idleReaders_.back());
            idleReaders_.pop_back();
            return reader;
        }
    }
    return std::make_unique<sqlite::Database>(path_, sqlite::Database::Access::ReadOnly);
}

void SqliteStore::returnReader(std::unique_ptr<sqlite::Database> reader) {
    std::lock_guard lock(readersMutex_);
    idleReaders_.push_back(std::move(reader));
}

DataPacket SqliteStore::onReader(const Read& read) {
    ReaderLease r(*this);
    return read(r.db());
}

void SqliteStore::apply(ListKind list, const wire::ChangeLog& log, const Author& author) {
    if (insideTransaction()) {
        detail::applyChanges(writer_, list, log, author);  // the enclosing transaction keeps it or drops it
        return;
    }
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    sqlite::Transaction tx(writer_);
    detail::applyChanges(writer_, list, log, author);
    tx.commit();
}

std::vector<std::exception_ptr> SqliteStore::applyGroup(std::span<const PendingLog> logs) {
    std::vector<std::exception_ptr> outcomes(logs.size());
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    sqlite::Transaction tx(writer_);
    for (std::size_t i = 0; i < logs.size(); ++i) {
        sqlite::Savepoint part(writer_);
        try {
            detail::applyChanges(writer_, logs[i].list, *logs[i].log, *logs[i].author);
            part.release();
        } catch (...) {
            outcomes[i] = std::current_exception();
            // SQLite ends the transaction itself on some failures: what the group stored so far is gone.
            if (!writer_.inTransaction()) throw;
            part.rollback();
        }
    }
    tx.commit();
    return outcomes;
}

void SqliteStore::inOneTransaction(const std::function<void()>& work) {
    std::lock_guard lock(writeMutex_);
    const VersionBump bump{version_};
    sqlite::Transaction tx(writer_);
    const Inside inside(*this);
    work();
    tx.commit();
}

}  // namespace appserver
