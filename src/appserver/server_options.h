// What the listener and its connections may use: addresses, threads, time limits, connection and memory limits.
#pragma once
#include <chrono>
#include <cstddef>
#include <string>

#include "wire/line_framer.h"

namespace appserver {

struct ServerOptions {
    std::string host = "127.0.0.1";  // a name or an address; a name listens on its first address
    unsigned short port = 52300;
    int threads = 2;
    std::chrono::milliseconds idleTimeout = std::chrono::minutes(10);
    std::chrono::milliseconds requestTimeout = std::chrono::seconds(30);  // from a request's first byte to its last
    std::chrono::milliseconds shutdownGrace = std::chrono::seconds(5);   // for unsent replies when stopping
    std::size_t maxConnections = 1000;
    std::size_t maxConnectionsPerAddress = 64;
    std::size_t outputHighWater = 1u << 20;  // unsent bytes above which a connection reads no more requests
    std::size_t maxPartialBytes = 64u << 20;  // incomplete requests held, all connections together
    std::size_t maxMessageBytes = wire::kMaxMessageBytes;
    std::string tlsCert, tlsKey;  // both: serve over TLS with this certificate chain and key
};

}  // namespace appserver
