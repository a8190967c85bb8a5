// Owns the live connections, so that shutdown can reach every one of them, and counts them against the limits.
#pragma once
#include <asio/ip/address.hpp>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace appserver {

class Connection;

class ConnectionManager {
public:
    ConnectionManager(std::size_t maxTotal, std::size_t maxPerAddress)
        : maxTotal_(maxTotal), maxPerAddress_(maxPerAddress) {}

    enum class Admission { Started, TooMany, TooManyFromAddress, Stopping };
    // Counts the connection in and starts it, unless a limit or a shutdown says no; then the
    // caller tells the client and closes it.
    Admission add(const std::shared_ptr<Connection>& c);
    void remove(const std::shared_ptr<Connection>& c);
    // Asks every connection to end (see Connection::stop); later add() calls refuse.
    void stopAll();

private:
    const std::size_t maxTotal_;
    const std::size_t maxPerAddress_;
    std::mutex mutex_;
    std::set<std::shared_ptr<Connection>> live_;      // guarded by mutex_
    std::map<asio::ip::address, std::size_t> perAddress_;  // guarded by mutex_; no zero counts
    bool stopping_ = false;                          // guarded by mutex_
};

}  // namespace appserver
