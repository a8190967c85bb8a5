// An SQLite VFS over the real one that can lose power: every write not yet followed by a sync
// of its file is thrown away, as a disk cache would lose it.
#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace harness {

class PowerLossVfs {
public:
    // Registers itself as the default VFS while it lives, so that every connection the store
    // opens goes through it.
    PowerLossVfs();
    ~PowerLossVfs();
    PowerLossVfs(const PowerLossVfs&) = delete;
    PowerLossVfs& operator=(const PowerLossVfs&) = delete;

    // Power goes at the n-th write, truncation or sync from now (that one fails): from then
    // on every write, sync and delete fails as if the machine had stopped. 0: never.
    void loseAfter(std::uint64_t n);
    bool lost() const { return dead_; }
    // What can still fail: writes, truncations and syncs seen so far.
    std::uint64_t operations() const { return operations_; }

    // Puts every file back as its last sync left it and drops the shared-memory index, as after
    // a restart; power is on again. Call only once every connection is closed.
    void restore();

    // Internal to the file methods.
    struct File;
    struct Durable {
        sqlite3_int64 syncedSize = 0;
        std::vector<std::pair<sqlite3_int64, std::string>> undo;  // bytes as they were at the last sync
    };
    bool step();  // false when this operation is where power goes, or after
    Durable* durable(const std::string& path);
    void opened(const std::string& path, sqlite3_int64 size);
    void forget(const std::string& path) { files_.erase(path); }
    sqlite3_vfs* real() const { return real_; }

private:
    sqlite3_vfs vfs_{};
    sqlite3_vfs* real_ = nullptr;
    std::map<std::string, Durable> files_;
    std::uint64_t operations_ = 0, loseAt_ = 0;
    bool dead_ = false;
};

}  // namespace harness
