#include "appserver/reply_cache.h"

namespace appserver {

ReplyCache::ReplyCache(std::size_t maxBytes) : maxBytes_(maxBytes) {}

bool ReplyCache::moveTo(std::uint64_t version) {
    if (version < version_) return false;
    if (version > version_) {
        entries_.clear();
        bytes_ = 0;
        version_ = version;
    }
    return true;
}

std::optional<std::string> ReplyCache::find(const std::string& key, std::uint64_t version) {
    std::lock_guard lock(mutex_);
    if (!moveTo(version)) return std::nullopt;
    const auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

void ReplyCache::keep(std::string key, std::uint64_t version, std::string_view result) noexcept {
    std::lock_guard lock(mutex_);
    // A read that began before a change may have seen it or not: it is kept for its own version
    // only, which nobody asks for once the change is acknowledged.
    if (!moveTo(version)) return;
    const std::size_t size = key.size() + result.size();
    if (size > maxBytes_) return;
    if (bytes_ + size > maxBytes_) {
        entries_.clear();
        bytes_ = 0;
    }
    try {
        if (entries_.try_emplace(std::move(key), result).second) bytes_ += size;
    } catch (const std::bad_alloc&) {
        entries_.clear();  // memory is short: give back what the cache holds
        bytes_ = 0;
    }
}

}  // namespace appserver
