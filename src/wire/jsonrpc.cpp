#include "wire/jsonrpc.h"

#include "wire/packet_text.h"
#include "wire/wire_error.h"

namespace wire::rpc {

using nlohmann::json;

json makeRequest(const json& id, const std::string& method, const json& params) {
    json m = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
    if (!id.is_null()) m["id"] = id;  // a null id makes a notification
    return m;
}

json makeResult(const json& id, const json& result) { return {{"jsonrpc", "2.0"}, {"id", id}, {"result", result}}; }

json makeError(const json& id, int code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

Request parseRequest(const json& message) {
    if (!message.is_object()) throw RpcError(InvalidRequest, "Invalid Request: expected an object");
    Request req;
    const auto id = message.find("id");
    if (id == message.end()) {
        req.notification = true;
    } else if (id->is_string() || id->is_number() || id->is_null()) {
        req.id = *id;
    } else {
        throw RpcError(InvalidRequest, "Invalid Request: \"id\" must be a string, a number or null");
    }
    const auto version = message.find("jsonrpc");
    if (version == message.end() || *version != "2.0")
        throw RpcError(InvalidRequest, "Invalid Request: \"jsonrpc\" must be \"2.0\"");
    const auto method = message.find("method");
    if (method == message.end() || !method->is_string())
        throw RpcError(InvalidRequest, "Invalid Request: \"method\" must be a string");
    req.method = method->get<std::string>();
    const auto params = message.find("params");
    if (params != message.end()) {
        if (params->is_object())
            throw RpcError(InvalidParams, "Invalid params: parameters are positional, give them as an array");
        if (!params->is_array()) throw RpcError(InvalidRequest, "Invalid Request: \"params\" must be an array");
        req.params = *params;
    }
    return req;
}

bool isNotification(const json& message) {
    if (!message.is_object() || message.contains("id")) return false;
    const auto version = message.find("jsonrpc");
    const auto method = message.find("method");
    return version != message.end() && *version == "2.0" && method != message.end() && method->is_string();
}

Reply parseReply(const json& message) {
    if (!message.is_object()) throw WireError("reply: expected an object");
    const auto version = message.find("jsonrpc");
    if (version == message.end() || *version != "2.0") throw WireError("reply: \"jsonrpc\" must be \"2.0\"");
    const auto id = message.find("id");
    if (id == message.end()) throw WireError("reply: missing \"id\"");
    Reply r;
    r.id = *id;
    const auto result = message.find("result");
    const auto error = message.find("error");
    if ((result == message.end()) == (error == message.end()))
        throw WireError("reply: expected exactly one of \"result\" and \"error\"");
    if (result != message.end()) {
        r.ok = true;
        r.result = *result;
        return r;
    }
    if (!error->is_object()) throw WireError("reply.error: expected an object");
    const auto code = error->find("code");
    const auto text = error->find("message");
    if (code == error->end() || !code->is_number_integer()) throw WireError("reply.error: expected an integer \"code\"");
    if (text == error->end() || !text->is_string()) throw WireError("reply.error: expected a \"message\" string");
    r.code = code->get<int>();
    r.message = text->get<std::string>();
    return r;
}

namespace {

// Written here rather than by the library's dump so that floats and strings come out exactly as
// the data packet writer puts them.
void appendLine(std::string& out, const json& v) {
    switch (v.type()) {
        case json::value_t::null: out += "null"; return;
        case json::value_t::boolean: out += v.get<bool>() ? "true" : "false"; return;
        case json::value_t::number_integer: out += std::to_string(v.get<std::int64_t>()); return;
        case json::value_t::number_unsigned: out += std::to_string(v.get<std::uint64_t>()); return;
        case json::value_t::number_float: appendJsonFloat(out, v.get<double>()); return;
        case json::value_t::string: appendJsonString(out, v.get_ref<const std::string&>()); return;
        case json::value_t::array: {
            out += '[';
            bool first = true;
            for (const auto& item : v) {
                if (!first) out += ',';
                first = false;
                appendLine(out, item);
            }
            out += ']';
            return;
        }
        case json::value_t::object: {
            out += '{';
            bool first = true;
            for (const auto& [key, item] : v.get_ref<const json::object_t&>()) {
                if (!first) out += ',';
                first = false;
                appendJsonString(out, key);
                out += ':';
                appendLine(out, item);
            }
            out += '}';
            return;
        }
        case json::value_t::binary:
        case json::value_t::discarded: out += v.dump(); return;  // never built by this system
    }
}

}  // namespace

std::string toLine(const json& message) {
    // Bad UTF-8 is replaced (appendJsonString), which keeps a reply sendable whatever text it carries.
    std::string out;
    appendLine(out, message);
    return out;
}

std::string resultLine(const json& id, std::string_view resultText) { return resultLineFor(toLine(id), resultText); }

// Keys in the order nlohmann::json keeps them (sorted), as toLine writes them.
std::string resultLineFor(std::string_view idText, std::string_view resultText) {
    std::string out;
    out.reserve(resultText.size() + idText.size() + 40);
    out += R"({"id":)";
    out += idText;
    out += R"(,"jsonrpc":"2.0","result":)";
    out += resultText;
    out += '}';
    return out;
}

std::string errorLineFor(std::string_view idText, int code, std::string_view message) {
    std::string out = R"({"error":{"code":)";
    out += std::to_string(code);
    out += R"(,"message":)";
    appendJsonString(out, message);
    out += R"(},"id":)";
    out += idText;
    out += R"(,"jsonrpc":"2.0"})";
    return out;
}

}  // namespace wire::rpc
