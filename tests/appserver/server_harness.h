// Test harness: the real server process on port 0, a blocking line client, and change-log builders.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <sys/types.h>
#include <vector>
#include <memory>

#include "support/test_store.h"

#include "store/datasets.h"
#include "wire/packet.h"

namespace harness {

// A fresh store: a database file in the temporary folder (removed with its WAL files on
// destruction), or a new PostgreSQL database when the tests run on PostgreSQL (its URI).
class TempDb {
public:
    TempDb();
    ~TempDb();
    const std::string& path() const { return store_->db(); }

private:
    std::string file_;
    std::unique_ptr<testsupport::TestStore> store_;
};

// Starts ktr52300-server on 127.0.0.1 port 0 and reads the port it prints; its log goes to a file.
class ServerProcess {
public:
    explicit ServerProcess(const std::string& dbPath, std::vector<std::string> extraArgs = {});
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    unsigned short port() const { return port_; }
    pid_t pid() const { return pid_; }
    // What the server has logged so far.
    std::string log() const;
    // Sends SIGTERM (unless terminate() did) and waits; the exit status, or -1 when it did not
    // exit normally or had to be killed after 30 s.
    int stop();
    // Sends SIGTERM without waiting.
    void terminate();

private:
    pid_t pid_ = -1;
    bool terminated_ = false;
    unsigned short port_ = 0;
    std::string logPath_;
};

// A server run that is expected to end by itself (refusing to start): its exit status and log.
struct Refused {
    int status = -1;
    std::string log;
};
Refused runServer(const std::vector<std::string>& args);

// Runs SQL on a store directly, as another program would; throws on failure.
inline void execOn(const std::string& db, const std::string& sql) { testsupport::execOnStore(db, sql); }

// A blocking client; a read that waits 30 s fails, so that a server that hangs fails a test
// instead of holding it up.
class Client {
public:
    // `from`: the local address to connect from (loopback has many, 127.0.0.2 among them).
    explicit Client(unsigned short port, const char* from = nullptr);
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void sendRaw(const std::string& bytes);
    // The next line without "\n"; "" at end of stream.
    std::string readLine();
    // True when the server closed the connection (reads end of stream or an error).
    bool closedByServer();
    // True when bytes (or the end of the stream) arrive within `ms` milliseconds.
    bool readable(int ms);
    int fd() const { return fd_; }

    nlohmann::json call(const std::string& method, const nlohmann::json& params);
    // The result of a call that must succeed (throws std::runtime_error with the error otherwise).
    nlohmann::json result(const std::string& method, const nlohmann::json& params);
    wire::DataPacket packet(const std::string& method, const nlohmann::json& params);
    // The error message of a call that must fail ("<no error>" if it succeeded).
    std::string errorOf(const std::string& method, const nlohmann::json& params);
    // Sends one change log to a Set method: "" when applied, else the error message.
    std::string set(const std::string& method, const nlohmann::json& log);

private:
    int fd_ = -1;
    std::string buffer_;
    int nextId_ = 1;
};

// Change logs over the full field list of a list.
nlohmann::json insertLog(appserver::ListKind list, const std::vector<wire::Row>& rows);
nlohmann::json updateLog(appserver::ListKind list, const wire::Row& oldRow, const wire::Row& newRow);
nlohmann::json deleteLog(appserver::ListKind list, const wire::Row& oldRow);

// Rows rendered as "a|b|c" lines, one a row, for readable comparisons.
std::string render(const wire::DataPacket& p);

wire::Value day(int y, int m, int d);
wire::Value str(const char* s);

// Commission table helpers: insert, then find its number by description.
double addComissao(Client& c, const std::string& desc, const wire::Value& ini, const wire::Value& fin);
// Insert a rule under `nr` and return its number (found as the highest number in its list).
double addCargo(Client& c, double nr, const char* cargo);
double addEvento(Client& c, double nr, const char* tipo, const char* cargo);
double addPromocao(Client& c, double nr, const wire::Value& ini, const wire::Value& fin, const char* base,
                   const char* tipo, const char* cargo);
// A band row of the given list's scope owned by rule `rule`.
wire::Row bandRow(appserver::ListKind list, double nr, double rule, double ini, double fin, double perc);
// The error of inserting that band, or "" when it was stored.
std::string tryBand(Client& c, appserver::ListKind list, double nr, double rule, double ini, double fin, double perc);

}  // namespace harness
