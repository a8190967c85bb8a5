// The one way change logs reach the store: applied in the order they arrive, on a thread of their
// own, so that a long change log never holds up the threads that answer reads. Logs that arrive
// while a group is being stored wait together and are stored as the next group, in one
// transaction with one disk sync: writers share the cost of the sync instead of queueing for it.
#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <spdlog/logger.h>
#include <thread>
#include <vector>

#include "store/store.h"

namespace appserver {

class WriteQueue {
public:
    // Called on the queue's thread once the log's group is on disk: with null when the log is
    // stored, else with what the store threw for it (Refusal, BadChangeLog, a storage failure).
    // Must not block.
    using Done = std::function<void(std::exception_ptr failure)>;

    WriteQueue(Store& store, spdlog::logger& log);
    // Applies everything submitted, then stops the thread.
    ~WriteQueue();
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    // Thread-safe.
    void submit(ListKind list, wire::ChangeLog log, Done done, Author author = {});

    // A write that is more than one change log (a table's copy): runs alone on the queue's thread,
    // between the groups, in its own transaction; `finished` hears its result once it is stored,
    // or what it threw. Thread-safe; `finished` must not block.
    using Task = std::function<std::string()>;
    using Finished = std::function<void(std::exception_ptr failure, std::string result)>;
    void submit(Task task, Finished finished);

private:
    struct Pending {
        ListKind list;
        wire::ChangeLog log;
        Done done;
        Author author;
        Task task;  // set: a task, alone in its group, and the rest is unused
        Finished finished;
    };
    void run();
    // The logs that waited, from the oldest, as many as one group takes.
    std::vector<Pending> takeGroup();
    void store(std::vector<Pending>& group);
    void runTask(Pending& task);

    Store& store_;
    spdlog::logger& log_;

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Pending> waiting_;  // guarded by mutex_
    bool stopping_ = false;        // guarded by mutex_

    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace appserver
