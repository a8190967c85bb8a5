// The one way change logs reach the store: applied one at a time, in the order they arrive, on a
// thread of their own, so that a long change log never holds up the threads that answer reads.
#pragma once
#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <exception>
#include <functional>
#include <spdlog/logger.h>
#include <thread>

#include "appserver/store.h"

namespace appserver {

class WriteQueue {
public:
    // Called on the queue's thread: with null once the log is applied, else with what the store
    // threw (Refusal, BadChangeLog, a storage failure). Must not block.
    using Done = std::function<void(std::exception_ptr failure)>;

    WriteQueue(Store& store, spdlog::logger& log);
    // Applies everything submitted, then stops the thread.
    ~WriteQueue();
    WriteQueue(const WriteQueue&) = delete;
    WriteQueue& operator=(const WriteQueue&) = delete;

    // Thread-safe.
    void submit(ListKind list, wire::ChangeLog log, Done done);

private:
    Store& store_;
    spdlog::logger& log_;
    asio::io_context loop_{1};
    asio::executor_work_guard<asio::io_context::executor_type> keepRunning_;
    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace appserver
