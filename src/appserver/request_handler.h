// Turns one received line into the reply line: JSON-RPC parsing, batches, notifications; does no I/O.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "appserver/dispatcher.h"

namespace appserver {

class RequestHandler {
public:
    explicit RequestHandler(const Dispatcher& dispatcher) : dispatcher_(dispatcher) {}

    // The reply to send, without "\n"; nullopt when the line held only notifications.
    std::optional<std::string> handleLine(std::string_view line) const;
    // The reply for a message that passed the size limit (the connection closes after it).
    static std::string tooLongReply();

private:
    // The reply line to one request object; nullopt for a notification.
    std::optional<std::string> handleOne(const nlohmann::json& message) const;
    const Dispatcher& dispatcher_;
};

}  // namespace appserver
