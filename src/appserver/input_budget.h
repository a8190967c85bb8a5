// The bytes of requests not yet complete that all connections together may hold.
#pragma once
#include <atomic>
#include <cstddef>

namespace appserver {

// Thread-safe.
class InputBudget {
public:
    explicit InputBudget(std::size_t cap) : cap_(cap) {}
    // Takes `n` bytes; false, taking nothing, when that would pass the cap.
    bool take(std::size_t n) {
        std::size_t used = used_.load(std::memory_order_relaxed);
        do {
            if (n > cap_ - used) return false;
        } while (!used_.compare_exchange_weak(used, used + n, std::memory_order_relaxed));
        return true;
    }
    void give(std::size_t n) { used_.fetch_sub(n, std::memory_order_relaxed); }

private:
    const std::size_t cap_;
    std::atomic<std::size_t> used_{0};
};

}  // namespace appserver
