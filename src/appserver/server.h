// The listener: accepts connections on a thread pool and shuts down in order on SIGINT/SIGTERM.
#pragma once
#include <asio.hpp>
#include <chrono>
#include <string>

#include "appserver/connection_manager.h"
#include "appserver/request_handler.h"

namespace appserver {

struct ServerOptions {
    std::string host = "127.0.0.1";
    unsigned short port = 52300;
    int threads = 2;
    std::chrono::milliseconds idleTimeout = std::chrono::minutes(10);
};

class Server {
public:
    // Binds the listening socket at once; throws std::system_error when it cannot.
    Server(const RequestHandler& handler, const ServerOptions& options);
    unsigned short port() const { return port_; }
    // Serves until stop() or a SIGINT/SIGTERM; returns after every connection has ended.
    void run();
    // Stop accepting, then end every connection after its reply in flight. Thread-safe.
    void stop();

private:
    void doAccept();

    const RequestHandler& handler_;
    const ServerOptions options_;
    asio::io_context io_;
    asio::signal_set signals_;
    asio::ip::tcp::acceptor acceptor_;
    ConnectionManager manager_;
    unsigned short port_ = 0;
};

}  // namespace appserver
