#include "appserver/snapshot_cache.h"

namespace appserver {

std::shared_ptr<const commission::Snapshot> SnapshotCache::current() {
    const std::uint64_t version = store_.version();
    if (keep_) {
        std::lock_guard lock(mutex_);
        if (kept_ && kept_->version == version) return kept_;
    }
    // Read outside the lock: a slow read must not hold up answers from a snapshot already kept.
    auto fresh = std::make_shared<const commission::Snapshot>(store_.snapshot());
    if (keep_) {
        std::lock_guard lock(mutex_);
        if (!kept_ || kept_->version < fresh->version) kept_ = fresh;
    }
    return fresh;
}

}  // namespace appserver
