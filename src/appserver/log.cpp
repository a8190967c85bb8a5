#include "appserver/log.h"

#include <spdlog/sinks/null_sink.h>
#include <spdlog/sinks/stdout_sinks.h>

namespace appserver {

std::shared_ptr<spdlog::logger> makeLogger(const std::string& level) {
    // Not registered with spdlog's global registry: the logger belongs to whoever made it.
    auto log = std::make_shared<spdlog::logger>("ktr52300-server", std::make_shared<spdlog::sinks::stderr_sink_mt>());
    log->set_pattern("%Y-%m-%d %H:%M:%S.%e %l %v");
    log->set_level(spdlog::level::from_str(level));
    log->flush_on(spdlog::level::trace);  // a line is worth little if a crash can swallow it
    return log;
}

std::shared_ptr<spdlog::logger> makeSilentLogger() {
    auto log = std::make_shared<spdlog::logger>("silent", std::make_shared<spdlog::sinks::null_sink_mt>());
    log->set_level(spdlog::level::off);
    return log;
}

}  // namespace appserver
