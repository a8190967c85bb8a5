// The server's method table: checks the positional parameters of each method and calls the store.
#pragma once
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "appserver/store.h"

namespace appserver {

class Dispatcher {
public:
    explicit Dispatcher(Store& store);

    // The method's result as JSON text (written straight from the store's packet, never through a
    // json tree: most replies are large and this is where a read spends its time). Throws wire::rpc::RpcError: MethodNotFound, InvalidParams (wrong count or
    // types, a malformed change log), ApplicationError (a refusal, with its Portuguese text) or
    // InternalError (the store failed).
    std::string call(const std::string& method, const nlohmann::json& params) const;

private:
    using Method = std::function<std::string(const nlohmann::json& params)>;
    Store& store_;
    std::map<std::string, Method> methods_;  // fixed after construction
};

}  // namespace appserver
