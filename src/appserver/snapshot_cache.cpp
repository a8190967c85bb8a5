#include "appserver/snapshot_cache.h"

namespace appserver {

std::shared_ptr<const commission::Engine> SnapshotCache::current() {
    const std::uint64_t version = store_.version();
    if (keep_) {
        std::lock_guard lock(mutex_);
        if (kept_ && kept_->snapshot().version == version) return kept_;
    }
    // Read and indexed outside the lock: a slow read must not hold up answers from an engine
    // already kept.
    auto fresh = std::make_shared<const commission::Engine>(
        std::make_shared<const commission::Snapshot>(store_.snapshot()));
    if (keep_) {
        std::lock_guard lock(mutex_);
        if (!kept_ || kept_->snapshot().version < fresh->snapshot().version) kept_ = fresh;
    }
    return fresh;
}

}  // namespace appserver
