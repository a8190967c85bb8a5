#include "appserver/server.h"

#include <thread>
#include <vector>

#include "appserver/connection.h"

namespace appserver {

Server::Server(const RequestHandler& handler, const ServerOptions& options)
    : handler_(handler), options_(options), io_(options.threads), signals_(io_, SIGINT, SIGTERM), acceptor_(io_) {
    const asio::ip::tcp::endpoint endpoint(asio::ip::make_address(options.host), options.port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(asio::socket_base::max_listen_connections);
    port_ = acceptor_.local_endpoint().port();
}

void Server::run() {
    signals_.async_wait([this](const asio::error_code& ec, int) {
        if (!ec) stop();
    });
    doAccept();
    std::vector<std::jthread> pool;
    for (int i = 1; i < options_.threads; ++i) pool.emplace_back([this] { io_.run(); });
    io_.run();
}

void Server::stop() {
    asio::post(io_, [this] {
        asio::error_code ignored;
        acceptor_.close(ignored);
        signals_.cancel(ignored);
        manager_.stopAll();
    });
}

void Server::doAccept() {
    acceptor_.async_accept(asio::make_strand(io_), [this](const asio::error_code& ec, asio::ip::tcp::socket socket) {
        if (!acceptor_.is_open()) return;
        if (!ec)
            manager_.add(std::make_shared<Connection>(std::move(socket), handler_, manager_, options_.idleTimeout));
        doAccept();  // a failed accept (e.g. out of descriptors) must not end the listener
    });
}

}  // namespace appserver
