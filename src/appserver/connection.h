// One client connection: reads lines, answers each through the request handler, closes when idle.
#pragma once
#include <array>
#include <asio.hpp>
#include <chrono>
#include <memory>
#include <string>

#include "appserver/request_handler.h"
#include "wire/line_framer.h"

namespace appserver {

class ConnectionManager;

// Keeps itself alive through its pending operations; every handler runs on the one thread of its
// socket's event loop, so none of them overlap.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(asio::ip::tcp::socket socket, const RequestHandler& handler, ConnectionManager& manager,
               std::chrono::milliseconds idleTimeout);
    void start();
    // Ends the connection once the reply being written, if any, has gone out. Thread-safe.
    void stop();

private:
    void doRead();
    void onRead(const asio::error_code& ec, std::size_t n);
    void doWrite();
    // Waits until idleTimeout_ after the last bytes received; re-arms itself instead of being
    // re-armed on every read, which would cost a timer syscall and a cancelled handler a request.
    void armTimer();
    void close();

    asio::ip::tcp::socket socket_;
    asio::steady_timer timer_;
    const RequestHandler& handler_;
    ConnectionManager& manager_;
    const std::chrono::milliseconds idleTimeout_;
    std::chrono::steady_clock::time_point lastActivity_;
    wire::LineFramer framer_;
    std::array<char, 64 * 1024> input_{};
    std::string output_;
    bool writing_ = false;
    bool closeAfterWrite_ = false;
    bool closed_ = false;
};

}  // namespace appserver
