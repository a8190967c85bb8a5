// The commission store kept in a PostgreSQL database, which several servers may share.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "store/commit_listener.h"
#include "store/pg_db.h"
#include "store/sql_store.h"

namespace appserver {

// The servers sharing the database write one transaction at a time (an advisory lock taken
// first in each), so the checks of a change log hold against what every other server commits,
// as with one writer; should PostgreSQL still roll a transaction back (a deadlock with another
// program), it runs again from the start. Reads borrow connections of their own; a result read
// is kept until any server commits (each commit notifies the others, see CommitListener). A lost
// connection is opened again; the call in flight is answered in Portuguese when it cannot be.
class PgStore final : public SqlStore<pg::Connection> {
public:
    // Connects and prepares the schema; throws pg::Error or schema::TooNew.
    explicit PgStore(const std::string& uri);
    ~PgStore() override;

    void apply(ListKind list, const wire::ChangeLog& log, const Author& author = {}) override;
    std::vector<std::exception_ptr> applyGroup(std::span<const PendingLog> logs) override;
    void inOneTransaction(const std::function<void()>& work) override;
    // Raised by this server's commits and, heard through PostgreSQL, by every other server's;
    // while they cannot be heard, every call gives a new version, so nothing read is kept.
    std::uint64_t version() const override { return listener_.hearing() ? version_.load() : ++version_; }

private:
    wire::DataPacket onReader(const Read& read) override;
    // Runs `work` in a transaction on the writer in this database's turn to write, again from
    // the start while PostgreSQL rolls it back for a conflict; returns once it is committed.
    // writeMutex_ held.
    void writeTransaction(const std::function<void(pg::Connection&)>& work);
    pg::Connection& writer();  // writeMutex_ held

    const std::string uri_;
    std::mutex writeMutex_;
    std::unique_ptr<pg::Connection> writer_;  // guarded by writeMutex_; null after a loss
    mutable std::atomic<std::uint64_t> version_{0};
    CommitListener listener_{uri_, version_};

    std::mutex readersMutex_;
    std::vector<std::unique_ptr<pg::Connection>> idleReaders_;  // guarded by readersMutex_
};

}  // namespace appserver
