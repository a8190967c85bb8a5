// The listener: accepts connections on a thread pool and shuts down in order on SIGINT/SIGTERM.
#pragma once
#include <asio.hpp>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "appserver/connection_manager.h"
#include "appserver/request_handler.h"

namespace appserver {

struct ServerOptions {
    std::string host = "127.0.0.1";
    unsigned short port = 52300;
    int threads = 2;
    std::chrono::milliseconds idleTimeout = std::chrono::minutes(10);
};

// Each thread runs an event loop of its own and every connection lives on one loop, taken in
// turn: a request is read, answered and written on one thread, without waking another.
class Server {
public:
    // Binds the listening socket at once; throws std::system_error when it cannot.
    Server(const RequestHandler& handler, const ServerOptions& options);
    ~Server();
    unsigned short port() const { return port_; }
    // Serves until stop() or a SIGINT/SIGTERM; returns after every connection has ended.
    void run();
    // Stop accepting, then end every connection after its reply in flight. Thread-safe.
    void stop();

private:
    using WorkGuard = asio::executor_work_guard<asio::io_context::executor_type>;
    void doAccept();

    const RequestHandler& handler_;
    const ServerOptions options_;
    std::vector<std::unique_ptr<asio::io_context>> loops_;  // fixed after construction; loops_[0] listens
    std::vector<WorkGuard> keepRunning_;  // keeps idle loops alive until stop(); touched on loops_[0] only
    asio::signal_set signals_;
    asio::ip::tcp::acceptor acceptor_;
    ConnectionManager manager_;
    std::size_t nextLoop_ = 0;  // touched on loops_[0] only
    unsigned short port_ = 0;
};

}  // namespace appserver
