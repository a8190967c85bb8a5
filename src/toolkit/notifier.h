// A list of observers told that something changed, so views render without polling.
#pragma once
#include <functional>
#include <map>

namespace tk {

template <class... Args>
class Notifier {
public:
    using Observer = std::function<void(Args...)>;
    int subscribe(Observer o) { observers_.emplace(++last_, std::move(o)); return last_; }
    void unsubscribe(int id) { observers_.erase(id); }
    void notify(Args... args) const {
        // Copy: an observer may unsubscribe while being told.
        auto copy = observers_;
        for (auto& [id, o] : copy) o(args...);
    }

private:
    std::map<int, Observer> observers_;
    int last_ = 0;
};

}  // namespace tk
