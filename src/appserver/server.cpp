#include "appserver/server.h"

#include <algorithm>
#include <thread>

#include "appserver/connection.h"

namespace appserver {

namespace {

std::vector<std::unique_ptr<asio::io_context>> makeLoops(int threads) {
    std::vector<std::unique_ptr<asio::io_context>> loops;
    // A hint of 1: each loop is run by one thread, so Asio can skip waking others.
    for (int i = 0; i < std::max(threads, 1); ++i) loops.push_back(std::make_unique<asio::io_context>(1));
    return loops;
}

}  // namespace

Server::Server(const RequestHandler& handler, const ServerOptions& options)
    : handler_(handler),
      options_(options),
      loops_(makeLoops(options.threads)),
      signals_(*loops_[0], SIGINT, SIGTERM),
      acceptor_(*loops_[0]) {
    for (auto& loop : loops_) keepRunning_.push_back(asio::make_work_guard(*loop));
    const asio::ip::tcp::endpoint endpoint(asio::ip::make_address(options.host), options.port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(asio::socket_base::max_listen_connections);
    port_ = acceptor_.local_endpoint().port();
}

Server::~Server() = default;

void Server::run() {
    signals_.async_wait([this](const asio::error_code& ec, int) {
        if (!ec) stop();
    });
    doAccept();
    std::vector<std::jthread> pool;
    for (std::size_t i = 1; i < loops_.size(); ++i) pool.emplace_back([loop = loops_[i].get()] { loop->run(); });
    loops_[0]->run();
}

void Server::stop() {
    asio::post(*loops_[0], [this] {
        asio::error_code ignored;
        acceptor_.close(ignored);
        signals_.cancel(ignored);
        manager_.stopAll();
        // Each loop now ends once its last connection has.
        for (auto& guard : keepRunning_) guard.reset();
    });
}

void Server::doAccept() {
    asio::io_context& loop = *loops_[nextLoop_];
    nextLoop_ = (nextLoop_ + 1) % loops_.size();
    acceptor_.async_accept(loop, [this](const asio::error_code& ec, asio::ip::tcp::socket socket) {
        if (!acceptor_.is_open()) return;
        if (!ec)
            manager_.add(std::make_shared<Connection>(std::move(socket), handler_, manager_, options_.idleTimeout));
        doAccept();  // a failed accept (e.g. out of descriptors) must not end the listener
    });
}

}  // namespace appserver
