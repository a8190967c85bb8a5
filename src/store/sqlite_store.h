// The commission store kept in one SQLite file (WAL, foreign keys, synchronous=FULL).
#pragma once
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "store/sqlite_db.h"
#include "store/sql_store.h"

namespace appserver {

// Writes go through one connection, one transaction at a time. Reads never wait for them: each
// read borrows a read-only connection of its own (WAL lets readers run beside the writer and
// each sees the last committed state), so a reply always reflects every acknowledged Set.
class SqliteStore final : public SqlStore<sqlite::Database> {
public:
    // Opens or creates the file and its schema; throws sqlite::Error when it cannot.
    explicit SqliteStore(const std::string& path);
    ~SqliteStore() override;

    void apply(ListKind list, const wire::ChangeLog& log, const Author& author = {}) override;
    std::vector<std::exception_ptr> applyGroup(std::span<const PendingLog> logs) override;
    void inOneTransaction(const std::function<void()>& work) override;
    std::uint64_t version() const override { return version_.load(); }

private:
    class ReaderLease;

    wire::DataPacket onReader(const Read& read) override;

    // An idle read connection, or a new one when every one is lent out (there are never more
    // than the threads reading at once).
    std::unique_ptr<sqlite::Database> borrowReader();
    void returnReader(std::unique_ptr<sqlite::Database> reader);

    const std::string path_;

    std::mutex writeMutex_;
    sqlite::Database writer_;  // guarded by writeMutex_; declared before the readers so it closes last
    std::atomic<std::uint64_t> version_{0};  // raised after each commit of writer_

    std::mutex readersMutex_;
    std::vector<std::unique_ptr<sqlite::Database>> idleReaders_;  // guarded by readersMutex_
};

}  // namespace appserver
