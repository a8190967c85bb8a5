#include "store/commit_listener.h"

#include <poll.h>

#include <chrono>

#include "store/pg_db.h"

namespace appserver {

CommitListener::CommitListener(std::string uri, std::atomic<std::uint64_t>& version)
    : uri_(std::move(uri)), version_(version), thread_([this](std::stop_token stop) { run(stop); }) {}

CommitListener::~CommitListener() {
    thread_.request_stop();
    changed_.notify_all();
}

bool CommitListener::waitUntilHearing(int ms) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return hearing_.load(); });
}

void CommitListener::run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        try {
            pg::Connection conn(uri_);
            conn.exec(std::string("LISTEN ") + kCommitChannel);
            {
                std::lock_guard lock(mutex_);
                ++version_;  // whatever was committed while nobody listened
                hearing_ = true;
            }
            changed_.notify_all();
            while (!stop.stop_requested()) {
                pollfd fd{conn.socket(), POLLIN, 0};
                if (::poll(&fd, 1, 200) < 0) continue;
                const int heard = conn.takeNotifications();  // throws once the connection is gone
                if (heard > 0) version_ += static_cast<std::uint64_t>(heard);
            }
        } catch (const pg::Error&) {
            // PostgreSQL out of reach: try again shortly; meanwhile nothing read is kept.
        }
        hearing_ = false;
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, stop, std::chrono::milliseconds(500), [] { return false; });
    }
}

}  // namespace appserver
