#include "appserver/embedded_server.h"

#include "appserver/log.h"

namespace appserver {

EmbeddedServer::EmbeddedServer(Store& store, const ServerOptions& options, const RequestLimits& limits)
    : log_(makeSilentLogger()),
      writes_(store, *log_),
      dispatcher_(store, limits.maxChanges, limits.keptResultBytes, limits.maxBatch),
      handler_(dispatcher_, writes_, limits, *log_),
      server_(handler_, options, *log_),
      thread_([this] { server_.run(); }) {}

EmbeddedServer::~EmbeddedServer() {
    server_.stop();
    thread_.join();
}

}  // namespace appserver
