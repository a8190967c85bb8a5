// Turns one received line into its reply line: JSON-RPC parsing, batches, notifications, errors
// (logged, internal ones under a reference number); does no socket I/O.
#pragma once
#include <asio/any_io_executor.hpp>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <spdlog/logger.h>
#include <string>
#include <string_view>

#include "appserver/dispatcher.h"
#include "appserver/session.h"
#include "wire/line_framer.h"

namespace appserver {

class SignIn;
class WriteQueue;

struct RequestLimits {
    std::size_t maxBatch = 1000;    // requests in one batch
    std::size_t maxChanges = 1000;  // changes in one change log
    std::size_t maxMessageBytes = wire::kMaxMessageBytes;  // a longer reply is answered with an error
    std::size_t keptResultBytes = 16u << 20;  // results of reads kept until the store changes; 0 keeps none
};

class RequestHandler {
public:
    using Done = std::function<void(std::optional<std::string> reply)>;

    // The dispatcher, the queue, the sign-in service and the log outlive the handler. Without a
    // sign-in service every connection is open and Login is unknown.
    RequestHandler(const Dispatcher& dispatcher, WriteQueue& writes, const RequestLimits& limits, spdlog::logger& log,
                   SignIn* signIn = nullptr);

    // What a new connection from `peer` may do.
    Session openSession(const asio::ip::address& peer) const;

    // Answers one received line: `done` gets the reply line without "\n", or nullopt when the line
    // held notifications only. It is called before handleLine returns when the line applies no
    // change log or Login; otherwise later, on `ex`, once the write queue has applied them or the
    // sign-in is checked. `session` is the connection's and outlives the reply. Never throws.
    void handleLine(std::string_view line, Session& session, const asio::any_io_executor& ex, Done done) const;
    // The lines handled so far: one a round trip of a client that waits for each reply.
    std::uint64_t linesHandled() const { return lines_.load(std::memory_order_relaxed); }

    // The last lines of a connection that sent a message over the size limit, or one that was
    // not complete within the time limit; logged.
    std::string tooLongReply(std::size_t maxBytes) const;
    std::string incompleteReply(std::chrono::milliseconds limit) const;
    // The last line of a connection that met an internal failure (memory ran out while receiving),
    // logged with the reference it carries.
    std::string failureReply(std::exception_ptr thrown) const;

private:
    class Job;
    struct Failure {
        int code;
        std::string message;  // for the client
    };
    // The error to answer for what a call threw; internal failures are logged with a reference.
    Failure describe(std::exception_ptr thrown, std::string_view id, std::string_view method,
                     std::chrono::steady_clock::time_point start) const;
    // An error for the whole line, logged with the time it took since `start`.
    std::string lineError(int code, const std::string& message, std::size_t lineBytes,
                          std::chrono::steady_clock::time_point start) const;

    const Dispatcher& dispatcher_;
    WriteQueue& writes_;
    const RequestLimits limits_;
    // JSON values one line may hold: enough for a full batch and a full change log. Parsing costs
    // some 80 bytes a value, and a parse that runs out of memory cannot even be undone safely.
    const std::size_t maxValues_;
    spdlog::logger& log_;
    SignIn* signIn_;
    mutable std::atomic<unsigned long long> nextReference_;
    mutable std::atomic<std::uint64_t> lines_{0};
};

}  // namespace appserver
