#include "appserver/connection_manager.h"

#include "appserver/connection.h"

namespace appserver {

void ConnectionManager::add(const std::shared_ptr<Connection>& c) {
    bool accepted = false;
    {
        std::lock_guard lock(mutex_);
        if (!stopping_) accepted = live_.insert(c).second;
    }
    if (accepted) c->start();
    else c->stop();
}

void ConnectionManager::remove(const std::shared_ptr<Connection>& c) {
    std::lock_guard lock(mutex_);
    live_.erase(c);
}

void ConnectionManager::stopAll() {
    std::set<std::shared_ptr<Connection>> all;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        all = live_;
    }
    for (const auto& c : all) c->stop();
}

}  // namespace appserver
