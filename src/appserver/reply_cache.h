// The results of reads, kept until the store next changes: a read repeated before then is
// answered without touching the store.
#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace appserver {

// Thread-safe. Entries belong to one store version; the first use at a newer version drops them.
class ReplyCache {
public:
    // Keeps at most `maxBytes` of results; past that it starts over empty.
    explicit ReplyCache(std::size_t maxBytes);

    // The result kept for `key` when it was read at `version`, the store's version now.
    std::optional<std::string> find(const std::string& key, std::uint64_t version);
    // Keeps `result`, read from a version that was `version` when the read began. Never throws:
    // a result that cannot be kept is simply read again next time.
    void keep(std::string key, std::uint64_t version, std::string_view result) noexcept;

private:
    // Drops every entry older than `version`; false when `version` itself is older than them.
    bool moveTo(std::uint64_t version);

    const std::size_t maxBytes_;
    std::mutex mutex_;
    std::uint64_t version_ = 0;  // of every entry; guarded by mutex_
    std::size_t bytes_ = 0;      // guarded by mutex_
    std::unordered_map<std::string, std::string> entries_;  // guarded by mutex_
};

}  // namespace appserver
