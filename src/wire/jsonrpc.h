// JSON-RPC 2.0 messages: building them and checking what arrives; does no I/O.
#pragma once
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wire::rpc {

enum ErrorCode : int {
    ParseError = -32700,
    InvalidRequest = -32600,
    MethodNotFound = -32601,
    InvalidParams = -32602,
    InternalError = -32603,
    ApplicationError = -32000,  // a refusal of the application, with its own text
};

// Thrown while checking a message; carries the JSON-RPC error to answer with.
class RpcError : public std::runtime_error {
public:
    RpcError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

struct Request {
    nlohmann::json id;  // null for notifications
    bool notification = false;
    std::string method;
    nlohmann::json params = nlohmann::json::array();  // always an array
};

struct Reply {
    nlohmann::json id;
    bool ok = false;
    nlohmann::json result;
    int code = 0;
    std::string message;
};

nlohmann::json makeRequest(const nlohmann::json& id, const std::string& method, const nlohmann::json& params);
nlohmann::json makeResult(const nlohmann::json& id, const nlohmann::json& result);
nlohmann::json makeError(const nlohmann::json& id, int code, const std::string& message);

// Checks one request object (not a batch). Throws RpcError(InvalidRequest) when it is
// not a valid request; params given by name are refused with InvalidParams.
Request parseRequest(const nlohmann::json& message);
// True for a request object without an "id", which is never answered, even when its params are
// wrong: "jsonrpc" is "2.0" and "method" a string, whatever the rest.
bool isNotification(const nlohmann::json& message);

// Checks one reply object. Throws WireError when it is not a valid reply.
Reply parseReply(const nlohmann::json& message);

// Serialises to one line (no "\n" inside), ready to frame.
std::string toLine(const nlohmann::json& message);
// toLine(makeResult(id, result)) for a result that is already JSON text, so a large result
// need not pass through nlohmann::json on its way out.
std::string resultLine(const nlohmann::json& id, std::string_view resultText);
// The same lines for an id given as JSON text (as a request sent it, so that it comes back
// exactly as it went), and toLine(makeError(id, code, message)) likewise.
std::string resultLineFor(std::string_view idText, std::string_view resultText);
std::string errorLineFor(std::string_view idText, int code, std::string_view message);

}  // namespace wire::rpc
