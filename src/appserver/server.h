// The listener: accepts connections on a thread pool within its limits and shuts down in order on SIGINT/SIGTERM.
#pragma once
#include <asio.hpp>
#include <asio/ssl/context.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <spdlog/logger.h>
#include <string>
#include <vector>

#include "appserver/connection_manager.h"
#include "appserver/input_budget.h"
#include "appserver/request_handler.h"
#include "appserver/server_options.h"

namespace appserver {

// Each thread runs an event loop of its own and every connection lives on one loop, taken in
// turn: a request is read, answered and written on one thread, without waking another (change
// logs excepted: they go to the write queue and their replies come back).
class Server {
public:
    // What must hold of the address (and whether TLS is on) before anything listens there;
    // throws to refuse it.
    using ListenCheck = std::function<void(const asio::ip::address& address, bool tls)>;
    // Listens at once; throws std::system_error when it cannot, and std::runtime_error when the
    // TLS certificate or key cannot be used or `check` refuses the address (before the socket opens).
    Server(const RequestHandler& handler, const ServerOptions& options, spdlog::logger& log,
           const ListenCheck& check = {});
    ~Server();
    unsigned short port() const { return port_; }
    bool tls() const { return tls_ != nullptr; }
    // The address listened on.
    asio::ip::address address() const { return address_; }
    // Serves until stop() or a SIGINT/SIGTERM; returns after every connection has ended.
    void run();
    // Stop accepting, then end every connection: requests in flight are finished and unsent
    // replies get the shutdown grace to go out. Thread-safe.
    void stop();

private:
    using WorkGuard = asio::executor_work_guard<asio::io_context::executor_type>;
    void doAccept();
    void admit(asio::ip::tcp::socket socket);
    // Out of descriptors: wait a little instead of retrying at once (which spins a core).
    void pauseAccepting();

    const RequestHandler& handler_;
    const ServerOptions options_;
    std::unique_ptr<asio::ssl::context> tls_;  // null: plain TCP
    spdlog::logger& log_;
    std::vector<std::unique_ptr<asio::io_context>> loops_;  // fixed after construction; loops_[0] listens
    std::vector<WorkGuard> keepRunning_;  // keeps idle loops alive until stop(); touched on loops_[0] only
    asio::signal_set signals_;
    asio::ip::tcp::acceptor acceptor_;
    asio::steady_timer acceptPause_;  // touched on loops_[0] only
    bool pausedBefore_ = false;       // the last accept failed for want of descriptors; loops_[0] only
    ConnectionManager manager_;
    InputBudget inputBudget_;
    std::size_t nextLoop_ = 0;  // touched on loops_[0] only
    unsigned short port_ = 0;
    asio::ip::address address_;
};

}  // namespace appserver
