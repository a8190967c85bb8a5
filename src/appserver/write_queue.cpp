#include "appserver/write_queue.h"

#include <asio/post.hpp>

namespace appserver {

WriteQueue::WriteQueue(Store& store, spdlog::logger& log)
    : store_(store), log_(log), keepRunning_(asio::make_work_guard(loop_)), thread_([this] { loop_.run(); }) {}

WriteQueue::~WriteQueue() {
    keepRunning_.reset();
    thread_.join();
}

void WriteQueue::submit(ListKind list, wire::ChangeLog log, Done done) {
    asio::post(loop_, [this, list, log = std::move(log), done = std::move(done)] {
        std::exception_ptr failure;
        try {
            store_.apply(list, log);
        } catch (...) {
            failure = std::current_exception();
        }
        try {
            done(failure);
        } catch (const std::exception& e) {
            // Only an allocation can fail here; the caller's reply is lost, the queue goes on.
            log_.error("the reply to an applied change log was lost: {}", e.what());
        }
    });
}

}  // namespace appserver
