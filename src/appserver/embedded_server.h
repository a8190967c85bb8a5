// The application server run inside another program (benchmarks): its write queue, methods and
// listener over a store the caller owns, serving on a thread of its own while the object lives.
#pragma once
#include <memory>
#include <spdlog/logger.h>
#include <thread>

#include "appserver/dispatcher.h"
#include "appserver/request_handler.h"
#include "appserver/server.h"
#include "appserver/write_queue.h"

namespace appserver {

class EmbeddedServer {
public:
    // Listens at once (port 0 in `options` picks a free port); logs nothing.
    EmbeddedServer(Store& store, const ServerOptions& options, const RequestLimits& limits = {});
    // Stops the server and waits for it.
    ~EmbeddedServer();
    EmbeddedServer(const EmbeddedServer&) = delete;
    EmbeddedServer& operator=(const EmbeddedServer&) = delete;

    unsigned short port() const { return server_.port(); }
    // For calls made in process, without a socket.
    const RequestHandler& handler() const { return handler_; }

private:
    std::shared_ptr<spdlog::logger> log_;
    WriteQueue writes_;
    const Dispatcher dispatcher_;
    const RequestHandler handler_;
    Server server_;
    std::thread thread_;
};

}  // namespace appserver
