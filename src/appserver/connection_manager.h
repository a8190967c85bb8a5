// Owns the live connections so that shutdown can reach every one of them.
#pragma once
#include <memory>
#include <mutex>
#include <set>

namespace appserver {

class Connection;

class ConnectionManager {
public:
    void add(const std::shared_ptr<Connection>& c);
    void remove(const std::shared_ptr<Connection>& c);
    // Asks every connection to end after its reply in flight; later add() calls stop at once.
    void stopAll();

private:
    std::mutex mutex_;
    std::set<std::shared_ptr<Connection>> live_;  // guarded by mutex_
    bool stopping_ = false;                       // guarded by mutex_
};

}  // namespace appserver
