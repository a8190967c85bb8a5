// End-to-end test helpers: a real application server process, a local event-type
// catalogue, runs of backoffice-script, and raw JSON-RPC requests to seed data.
#pragma once
#include <sys/types.h>

#include <nlohmann/json.hpp>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/test_store.h"

namespace testsupport {

// A fresh directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// ktr52300-server listening on 127.0.0.1 port 0, stopped (SIGTERM, then waited for)
// when destroyed. Throws std::runtime_error when it cannot start or prints no port.
class ServerProcess {
public:
    // `dbPath` empty: a new store (in a temporary directory, or a new PostgreSQL database).
    explicit ServerProcess(std::string dbPath = "", std::vector<std::string> extraArgs = {});
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    const std::string& dbPath() const { return dbPath_; }
    // Stops the server and returns its exit status (128 + signal when killed); later
    // calls return the same status.
    int stop();

private:
    TempDir dir_;
    std::unique_ptr<TestStore> store_;  // when no store was given
    std::string dbPath_;
    pid_t pid_ = -1;
    int port_ = 0;
    int status_ = 0;
    std::thread drain_;  // keeps reading the server's standard output so it never blocks
};

struct EventType {
    std::string code;  // CDTIPOEVENTO
    std::string name;  // NMTIPOEVENTO
};

// Writes a local SQLite database at `path` holding TIPOEVENTO(CDTIPOEVENTO, NMTIPOEVENTO)
// with `rows`. Throws std::runtime_error on failure.
void createLocalCatalogue(const std::string& path, const std::vector<EventType>& rows);

// A local catalogue in its own temporary directory.
class LocalCatalogue {
public:
    explicit LocalCatalogue(const std::vector<EventType>& rows = {});
    const std::string& path() const { return path_; }

private:
    TempDir dir_;
    std::string path_;
};

struct ScriptResult {
    int exitCode = -1;  // 128 + signal when the host was killed by one
    std::string out;
    std::string err;
};

// Runs backoffice-script (from binDir()) with `script` as its script file against the
// server at 127.0.0.1:`port`, branch `branch` and the local database `localDb`; `extraArgs`
// go before the script (for instance "--verbose"); an empty `branch` gives none. With `viaStdin` the script is given on
// standard input instead of as a file.
ScriptResult runScript(int port, const std::string& localDb, const std::string& script,
                       const std::vector<std::string>& extraArgs = {}, const std::string& branch = "0001",
                       bool viaStdin = false);

// Runs `ktr52300-server --db DB user ARGS` with `input` on its standard input (the password);
// its exit status.
int userCommand(const std::string& db, const std::string& args, const std::string& input);

// Sends one JSON-RPC 2.0 request on a new connection and returns the reply object.
// Throws std::runtime_error when the server cannot be reached or does not answer a line.
nlohmann::json rpcRequest(int port, const std::string& method, const nlohmann::json& params);
// The result of a request; throws std::runtime_error with the error's message when the
// reply carries an error.
nlohmann::json rpcResult(int port, const std::string& method, const nlohmann::json& params);

// A change log inserting `rows` (each an array of values in the order of `fields`,
// each field {"name":..,"type":..[,"size":..]}), for a Set method.
nlohmann::json insertLog(const nlohmann::json& fields, const std::vector<nlohmann::json>& rows);

}  // namespace testsupport
