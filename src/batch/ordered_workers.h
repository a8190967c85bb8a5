// Chunks of work done on a fixed set of threads, each thread keeping a state of its own from
// chunk to chunk, the results handed back in the order the chunks were given.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace batch {

template <class State, class Result>
class OrderedWorkers {
public:
    using Work = std::function<Result(State&, const std::string&)>;

    // `work` runs on the threads, at once on several; it must hold nothing but its arguments.
    OrderedWorkers(std::size_t threads, Work work) : work_(std::move(work)), states_(std::max<std::size_t>(1, threads)) {
        try {
            for (std::size_t i = 0; i < states_.size(); ++i) threads_.emplace_back([this, i] { run(states_[i]); });
        } catch (...) {
            stop();
            throw;
        }
    }
    // Drops the chunks not started and waits for the threads.
    ~OrderedWorkers() { stop(); }
    OrderedWorkers(const OrderedWorkers&) = delete;
    OrderedWorkers& operator=(const OrderedWorkers&) = delete;

    void push(std::string chunk) {
        {
            std::lock_guard lock(mutex_);
            queue_.emplace_back(pushed_++, std::move(chunk));
        }
        changed_.notify_all();
    }

    // Chunks pushed whose results were not yet taken.
    std::size_t pending() const { return static_cast<std::size_t>(pushed_ - taken_); }

    // The result of the oldest chunk not yet taken, once done; rethrows what its work threw.
    // Only while pending() > 0.
    Result take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done_.count(taken_) > 0; });
        auto node = done_.extract(taken_++);
        lock.unlock();
        if (node.mapped().second) std::rethrow_exception(node.mapped().second);
        return std::move(*node.mapped().first);
    }

    // Waits for the threads once every result is taken; the states as the work left them.
    std::vector<State>& finish() {
        stop();
        return states_;
    }

private:
    void run(State& state) {
        while (true) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            auto [at, chunk] = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            std::pair<std::optional<Result>, std::exception_ptr> outcome;
            try {
                outcome.first.emplace(work_(state, chunk));
            } catch (...) {
                outcome.second = std::current_exception();
            }
            lock.lock();
            done_.emplace(at, std::move(outcome));
            lock.unlock();
            changed_.notify_all();
        }
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            queue_.clear();
        }
        changed_.notify_all();
        for (std::thread& t : threads_)
            if (t.joinable()) t.join();
    }

    Work work_;
    std::vector<State> states_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::uint64_t, std::string>> queue_;
    std::map<std::uint64_t, std::pair<std::optional<Result>, std::exception_ptr>> done_;
    std::uint64_t pushed_ = 0, taken_ = 0;  // by the thread that pushes and takes only
    bool stopping_ = false;
};

}  // namespace batch
