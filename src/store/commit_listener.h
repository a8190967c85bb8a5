// Hears the commits of every server sharing a PostgreSQL database (LISTEN/NOTIFY), so that a
// server may keep what it read until anyone changes the store.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace appserver {

// The channel each write transaction notifies before it commits.
inline constexpr const char* kCommitChannel = "ktr52300_commit";

// Raises `version` for each commit heard, and once more whenever it starts hearing again
// (anything may have been committed meanwhile). While it is not hearing (PostgreSQL out of
// reach), hearing() is false: nothing read may then be kept.
class CommitListener {
public:
    CommitListener(std::string uri, std::atomic<std::uint64_t>& version);
    ~CommitListener();
    CommitListener(const CommitListener&) = delete;
    CommitListener& operator=(const CommitListener&) = delete;

    bool hearing() const { return hearing_.load(); }
    // Blocks until it hears or `ms` pass; true when it hears.
    bool waitUntilHearing(int ms);

private:
    void run(std::stop_token stop);

    const std::string uri_;
    std::atomic<std::uint64_t>& version_;
    std::atomic<bool> hearing_{false};
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::jthread thread_;  // last: it uses everything above
};

}  // namespace appserver
