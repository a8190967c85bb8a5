// The store's commission snapshot and its engine, built again only once the store has changed:
// the questions about sales are answered from it without reading every table each time.
#pragma once
#include <memory>
#include <mutex>

#include "commission/engine.h"
#include "store/store.h"

namespace appserver {

// Thread-safe. With `keep` false every call reads the store (strict freshness).
class SnapshotCache {
public:
    SnapshotCache(Store& store, bool keep) : store_(store), keep_(keep) {}

    // An engine over a snapshot at least as new as the store's version when the call began;
    // its snapshot() says which version that is.
    std::shared_ptr<const commission::Engine> current();

private:
    Store& store_;
    const bool keep_;
    std::mutex mutex_;
    std::shared_ptr<const commission::Engine> kept_;  // guarded by mutex_
};

}  // namespace appserver
