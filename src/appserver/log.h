// The server's log: one spdlog logger, owned by main and handed to whoever writes to it.
#pragma once
#include <memory>
#include <spdlog/logger.h>
#include <string>

namespace appserver {

// Lines on standard error (standard output carries the chosen port), at `level` and above:
// "trace", "debug", "info", "warn", "error", "critical" or "off".
std::shared_ptr<spdlog::logger> makeLogger(const std::string& level);
// A logger that writes nothing, for benchmarks and embedded servers.
std::shared_ptr<spdlog::logger> makeSilentLogger();

}  // namespace appserver
