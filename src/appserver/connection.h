// One client connection: reads request lines and answers each through the request handler, within
// the server's time and memory limits.
#pragma once
#include <array>
#include <asio.hpp>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "appserver/input_budget.h"
#include "appserver/request_handler.h"
#include "appserver/server_options.h"
#include "appserver/session.h"
#include "appserver/stream.h"
#include "wire/line_framer.h"

namespace appserver {

class ConnectionManager;

// Keeps itself alive through its pending operations; every handler runs on the one thread of its
// socket's event loop, so none of them overlap. Requests are answered one at a time, in order.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    // The manager, the budget and the options outlive the connection.
    // With `tls`, the client must shake hands first (within the request time limit).
    Connection(asio::ip::tcp::socket socket, asio::ssl::context* tls, const asio::ip::address& peer,
               const RequestHandler& handler, ConnectionManager& manager, InputBudget& inputBudget,
               const ServerOptions& options);
    void start();
    // Tells the client, in one error line, that it cannot be served, and closes at once. Instead
    // of start(), on any thread.
    void refuse(const std::string& text);
    // Takes no more requests: the one being answered is finished, unsent replies get the shutdown
    // grace to go out, then the connection closes. Thread-safe.
    void stop();
    const asio::ip::address& peer() const { return peer_; }

private:
    using Clock = std::chrono::steady_clock;

    // The next steps after any event: answer the waiting lines while the unsent replies stay
    // under the high-water mark, write, read more, or close.
    void pump();
    void startTls();
    // Writes one error line straight to the socket and takes what has arrived, for a close that
    // does not destroy the line.
    void sendAndDrop(const std::string& errorLine);
    void deliver(std::optional<std::string> reply);
    void startRead();
    void startWrite();
    // Sends `lastLine` (an error) and closes once it is out or the grace is over.
    void finish(const std::string& lastLine);
    // Counts the bytes held for incomplete requests against the shared budget.
    void countInput();
    // The nearest of: the idle limit, the incomplete request's limit, the end of the grace.
    Clock::time_point deadline() const;
    // Arms the timer when a deadline nearer than the armed one appears; a later one is found
    // when the timer fires, so busy connections do not re-arm it on every request.
    void armTimer();
    void onTimer();
    void close();
    std::size_t unsent() const { return pending_.size() + sending_.size(); }

    Stream stream_;
    asio::steady_timer timer_;
    const asio::ip::address peer_;
    const RequestHandler& handler_;
    ConnectionManager& manager_;
    InputBudget& inputBudget_;
    const ServerOptions& options_;
    Session session_;  // decided in start(), on the connection's thread
    wire::LineFramer framer_;
    std::array<char, 64 * 1024> input_{};
    std::string line_;
    std::string pending_;  // replies not yet handed to the socket
    std::string sending_;  // the bytes of the write in flight
    std::size_t held_ = 0;  // bytes of framer_ counted in inputBudget_
    Clock::time_point lastActivity_;
    Clock::time_point armedFor_ = Clock::time_point::max();
    std::optional<Clock::time_point> partialSince_;  // when the incomplete request in framer_ began
    std::optional<Clock::time_point> closeBy_;       // set once closing: the end of the grace
    bool reading_ = false;
    bool writing_ = false;
    bool busy_ = false;       // a request is being answered (its change log is with the write queue)
    bool pumping_ = false;    // inside pump(): a reply given at once must not start another pump
    bool peerDone_ = false;   // the client has sent all it will (its replies still go out)
    bool closing_ = false;    // no more requests: close once the replies are out
    bool farewell_ = false;   // the server stops: the client is told so after the reply in flight
    bool closed_ = false;
};

}  // namespace appserver
