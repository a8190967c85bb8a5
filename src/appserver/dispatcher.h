// The server's method table: checks the positional parameters of each method, answers reads from
// the store (or from the results kept since its last change) and hands the change logs of Set
// methods on, for the write queue to apply.
#pragma once
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>

#include "appserver/reply_cache.h"
#include "appserver/snapshot_cache.h"
#include "store/store.h"

namespace appserver {

class Dispatcher {
public:
    // The change log of a Set method, checked for shape; its result, null, comes once it is applied.
    struct Write {
        ListKind list;
        wire::ChangeLog log;
    };
    // A write that is more than one change log, to run on the write queue as the author; its
    // result is the reply's JSON text.
    using Task = std::function<std::string(const Author& author)>;
    using Outcome = std::variant<std::string, Write, Task>;

    // A change log of more than `maxChanges` changes is refused before it is read. Up to
    // `keptBytes` of read results are kept and answered again until the store changes.
    // ApuraComissao takes at most `maxSales` sales.
    Dispatcher(Store& store, std::size_t maxChanges, std::size_t keptBytes, std::size_t maxSales = 1000);

    // A read's result as JSON text (written straight from the store's packet, never through a
    // json tree: most replies are large and this is where a read spends its time), or the write a
    // Set method asks for, or the task of another write (CopiaComissao, ImportaComissao). Throws wire::rpc::RpcError (MethodNotFound; InvalidParams: wrong count
    // or types, a malformed change log), Refusal (a change log over the limit) and whatever the
    // store's reads throw.
    Outcome call(const std::string& method, const nlohmann::json& params) const;

private:
    using Read = std::function<std::string(const nlohmann::json& params)>;
    std::string read(const std::string& method, const Read& run, const nlohmann::json& params) const;
    Write write(ListKind list, const nlohmann::json& params) const;
    Task copy(const nlohmann::json& params) const;
    Task sheetImport(const nlohmann::json& params) const;

    Store& store_;
    const std::size_t maxChanges_;
    std::map<std::string, Read, std::less<>> reads_;         // fixed after construction
    std::map<std::string, ListKind, std::less<>> writes_;    // fixed after construction
    mutable ReplyCache cache_;
    mutable SnapshotCache snapshots_;
};

}  // namespace appserver
