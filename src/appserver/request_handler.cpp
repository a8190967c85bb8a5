#include "appserver/request_handler.h"

#include "wire/jsonrpc.h"
#include "wire/line_framer.h"

namespace appserver {

using nlohmann::json;
namespace rpc = wire::rpc;

namespace {

// Deeper nesting than this is refused before parsing, so no message can exhaust the stack.
constexpr int kMaxDepth = 256;

bool tooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false, escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

// The id to answer an invalid request with: its own when usable, else null.
json usableId(const json& message) {
    if (message.is_object()) {
        const auto it = message.find("id");
        if (it != message.end() && (it->is_string() || it->is_number())) return *it;
    }
    return nullptr;
}

}  // namespace

std::string RequestHandler::tooLongReply() {
    return rpc::toLine(rpc::makeError(nullptr, rpc::InvalidRequest,
                                      "Invalid Request: message longer than " +
                                          std::to_string(wire::kMaxMessageBytes) + " bytes"));
}

std::optional<std::string> RequestHandler::handleLine(std::string_view line) const {
    if (tooDeep(line))
        return rpc::toLine(rpc::makeError(nullptr, rpc::ParseError, "Parse error: nesting deeper than " +
                                                                        std::to_string(kMaxDepth) + " levels"));
    json message = json::parse(line, nullptr, false);
    if (message.is_discarded()) return rpc::toLine(rpc::makeError(nullptr, rpc::ParseError, "Parse error: invalid JSON"));
    if (!message.is_array()) return handleOne(message);
    if (message.empty())
        return rpc::toLine(rpc::makeError(nullptr, rpc::InvalidRequest, "Invalid Request: empty batch"));
    // A batch reply is its replies' lines joined as a JSON array, as a json array would print them.
    std::string replies;
    for (const auto& m : message)
        if (auto reply = handleOne(m)) {
            replies += replies.empty() ? '[' : ',';
            replies += *reply;
        }
    if (replies.empty()) return std::nullopt;
    replies += ']';
    return replies;
}

std::optional<std::string> RequestHandler::handleOne(const json& message) const {
    rpc::Request request;
    try {
        request = rpc::parseRequest(message);
    } catch (const rpc::RpcError& e) {
        return rpc::toLine(rpc::makeError(usableId(message), e.code(), e.what()));
    }
    try {
        std::string result = dispatcher_.call(request.method, request.params);
        if (request.notification) return std::nullopt;
        return rpc::resultLine(request.id, result);
    } catch (const rpc::RpcError& e) {
        if (request.notification) return std::nullopt;
        return rpc::toLine(rpc::makeError(request.id, e.code(), e.what()));
    }
}

}  // namespace appserver
