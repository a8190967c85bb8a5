#include "appserver/write_queue.h"

#include <algorithm>

namespace appserver {

namespace {

// Changes one group holds at most (its first log may hold more, alone): enough for every
// writer of a busy server, few enough that a small change never waits behind a large group.
constexpr std::size_t kGroupChanges = 1000;

}  // namespace

WriteQueue::WriteQueue(Store& store, spdlog::logger& log) : store_(store), log_(log), thread_([this] { run(); }) {}

WriteQueue::~WriteQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    arrived_.notify_one();
    thread_.join();
}

void WriteQueue::submit(ListKind list, wire::ChangeLog log, Done done, Author author) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back({list, std::move(log), std::move(done), std::move(author), {}, {}});
    }
    arrived_.notify_one();
}

void WriteQueue::submit(Task task, Finished finished) {
    {
        std::lock_guard lock(mutex_);
        Pending p{};
        p.task = std::move(task);
        p.finished = std::move(finished);
        waiting_.push_back(std::move(p));
    }
    arrived_.notify_one();
}

void WriteQueue::run() {
    for (;;) {
        auto group = takeGroup();
        if (group.empty()) return;
        if (group.front().task) runTask(group.front());
        else store(group);
    }
}

std::vector<WriteQueue::Pending> WriteQueue::takeGroup() {
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    std::vector<Pending> group;
    std::size_t changes = 0;
    while (!waiting_.empty() && (group.empty() || changes + waiting_.front().log.changes.size() <= kGroupChanges)) {
        // A task goes alone: it is a transaction of its own.
        if (waiting_.front().task && !group.empty()) break;
        const bool task = static_cast<bool>(waiting_.front().task);
        changes += waiting_.front().log.changes.size();
        group.push_back(std::move(waiting_.front()));
        waiting_.pop_front();
        if (task) break;
    }
    return group;  // empty only when stopping with nothing left
}

void WriteQueue::runTask(Pending& task) {
    std::exception_ptr failure;
    std::string result;
    try {
        result = task.task();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        task.finished(failure, std::move(result));
    } catch (const std::exception& e) {
        log_.error("the reply to an applied write was lost: {}", e.what());
    }
}

void WriteQueue::store(std::vector<Pending>& group) {
    std::vector<std::exception_ptr> outcomes(group.size());
    try {
        std::vector<Store::PendingLog> logs;
        logs.reserve(group.size());
        for (const auto& p : group) logs.push_back({p.list, &p.log, &p.author});
        outcomes = store_.applyGroup(logs);
    } catch (...) {
        // Nothing of the group was stored: every writer in it hears why.
        std::fill(outcomes.begin(), outcomes.end(), std::current_exception());
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        try {
            group[i].done(outcomes[i]);
        } catch (const std::exception& e) {
            // Only an allocation can fail here; the caller's reply is lost, the queue goes on.
            log_.error("the reply to an applied change log was lost: {}", e.what());
        }
    }
}

}  // namespace appserver
