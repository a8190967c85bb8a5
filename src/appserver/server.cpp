#include "appserver/server.h"

#include <algorithm>
#include <thread>

#include "appserver/connection.h"
#include "appserver/messages.h"
#include "appserver/tls.h"
#include "wire/host_port.h"

namespace appserver {

namespace {

std::vector<std::unique_ptr<asio::io_context>> makeLoops(int threads) {
    std::vector<std::unique_ptr<asio::io_context>> loops;
    // A hint of 1: each loop is run by one thread, so Asio can skip waking others.
    for (int i = 0; i < std::max(threads, 1); ++i) loops.push_back(std::make_unique<asio::io_context>(1));
    return loops;
}

// Runs a loop to its end; a handler that throws is logged and the loop goes on serving.
void runLoop(asio::io_context& loop, spdlog::logger& log) {
    for (;;) {
        try {
            loop.run();
            return;
        } catch (const std::exception& e) {
            log.error("an event loop met an unexpected failure and goes on: {}", e.what());
        }
    }
}

bool outOfDescriptors(const asio::error_code& ec) {
    return ec == asio::error::no_descriptors || ec == std::errc::too_many_files_open_in_system ||
           ec == asio::error::no_buffer_space || ec == asio::error::no_memory;
}

asio::ip::tcp::endpoint resolve(asio::io_context& loop, const ServerOptions& options) {
    asio::ip::tcp::resolver resolver(loop);
    const auto found = resolver.resolve(options.host, std::to_string(options.port),
                                        asio::ip::tcp::resolver::passive | asio::ip::tcp::resolver::numeric_service);
    return found.begin()->endpoint();  // resolve() throws rather than find nothing
}

}  // namespace

Server::Server(const RequestHandler& handler, const ServerOptions& options, spdlog::logger& log, const ListenCheck& check)
    : handler_(handler),
      options_(options),
      tls_(options.tlsCert.empty() ? nullptr : makeServerTls(options.tlsCert, options.tlsKey)),
      log_(log),
      loops_(makeLoops(options.threads)),
      signals_(*loops_[0], SIGINT, SIGTERM),
      acceptor_(*loops_[0]),
      acceptPause_(*loops_[0]),
      manager_(options.maxConnections, options.maxConnectionsPerAddress),
      inputBudget_(options.maxPartialBytes) {
    for (auto& loop : loops_) keepRunning_.push_back(asio::make_work_guard(*loop));
    const asio::ip::tcp::endpoint endpoint = resolve(*loops_[0], options);
    if (check) check(endpoint.address(), tls_ != nullptr);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(asio::socket_base::max_listen_connections);
    port_ = acceptor_.local_endpoint().port();
    address_ = endpoint.address();
    log_.info("listening on {} with {} threads{}", wire::formatHostPort({endpoint.address().to_string(), port_}),
              loops_.size(), tls_ ? ", over TLS" : "");
}

Server::~Server() = default;

void Server::run() {
    signals_.async_wait([this](const asio::error_code& ec, int signal) {
        if (ec) return;
        log_.info("signal {}: stopping", signal);
        stop();
    });
    doAccept();
    {
        std::vector<std::jthread> pool;
        for (std::size_t i = 1; i < loops_.size(); ++i)
            pool.emplace_back([this, loop = loops_[i].get()] { runLoop(*loop, log_); });
        runLoop(*loops_[0], log_);
    }
    log_.info("stopped");
}

void Server::stop() {
    asio::post(*loops_[0], [this] {
        asio::error_code ignored;
        acceptor_.close(ignored);
        acceptPause_.cancel();
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
        if (outOfDescriptors(ec)) {
            pauseAccepting();
            return;
        }
        if (!ec) {
            if (pausedBefore_) log_.info("accepting connections again");
            pausedBefore_ = false;
            admit(std::move(socket));
        }
        doAccept();  // any other failure concerns that one client only
    });
}

void Server::pauseAccepting() {
    if (!pausedBefore_)
        log_.warn("out of file descriptors: new connections wait until others close (see --max-connections)");
    pausedBefore_ = true;
    acceptPause_.expires_after(std::chrono::milliseconds(100));
    acceptPause_.async_wait([this](const asio::error_code& ec) {
        if (ec || !acceptor_.is_open()) return;
        doAccept();
    });
}

void Server::admit(asio::ip::tcp::socket socket) {
    asio::error_code ec;
    const auto remote = socket.remote_endpoint(ec);
    if (ec) return;  // already gone
    auto peer = remote.address();
    if (peer.is_v6() && peer.to_v6().is_v4_mapped()) peer = asio::ip::make_address_v4(asio::ip::v4_mapped, peer.to_v6());
    auto connection = std::make_shared<Connection>(std::move(socket), tls_.get(), peer, handler_, manager_, inputBudget_, options_);
    switch (manager_.add(connection)) {
        case ConnectionManager::Admission::Started: return;
        case ConnectionManager::Admission::Stopping: break;
        case ConnectionManager::Admission::TooMany:
            log_.warn("connection from {} refused: {} connections already", peer.to_string(), options_.maxConnections);
            connection->refuse(msg::conexoesDemais(options_.maxConnections));
            break;
        case ConnectionManager::Admission::TooManyFromAddress:
            log_.warn("connection from {} refused: {} connections from there already", peer.to_string(),
                      options_.maxConnectionsPerAddress);
            connection->refuse(msg::conexoesDemaisDoEndereco(options_.maxConnectionsPerAddress));
            break;
    }
}

}  // namespace appserver
