#include "appserver/connection_manager.h"

#include "appserver/connection.h"

namespace appserver {

ConnectionManager::Admission ConnectionManager::add(const std::shared_ptr<Connection>& c) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return Admission::Stopping;
        if (live_.size() >= maxTotal_) return Admission::TooMany;
        std::size_t& fromThere = perAddress_[c->peer()];
        if (fromThere >= maxPerAddress_) return Admission::TooManyFromAddress;
        ++fromThere;
        live_.insert(c);
    }
    c->start();
    return Admission::Started;
}

void ConnectionManager::remove(const std::shared_ptr<Connection>& c) {
    std::lock_guard lock(mutex_);
    if (live_.erase(c) == 0) return;
    const auto it = perAddress_.find(c->peer());
    if (it != perAddress_.end() && --it->second == 0) perAddress_.erase(it);
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
