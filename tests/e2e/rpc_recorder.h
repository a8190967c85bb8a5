// A JSON-RPC relay between the screen and the real server that notes every method the
// screen calls, so a test can tell which questions were (or were not) asked, and that can
// make one method fail.
#pragma once
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

class RpcRecorder {
public:
    // Listens on 127.0.0.1 port 0 and relays each connection to `upstreamPort`.
    explicit RpcRecorder(int upstreamPort);
    ~RpcRecorder();
    RpcRecorder(const RpcRecorder&) = delete;
    RpcRecorder& operator=(const RpcRecorder&) = delete;

    int port() const { return port_; }
    // Every request relayed so far ({"method":..,"params":..}), in order.
    std::vector<nlohmann::json> requests() const;
    std::vector<std::string> methods() const;
    void clear();
    // How many connections the screen has opened through the relay so far.
    int connections() const;
    // From now on `method` is answered with an error carrying `message`, without
    // reaching the server.
    // The first `passing` calls of it still reach the server.
    void failMethod(const std::string& method, const std::string& message, int passing = 0);
    // From now on `method` reaches the server, but its reply is dropped and the screen's
    // connection closed, as when the line breaks while the answer is on its way.
    void loseReply(const std::string& method);

private:
    void serve();
    void relay(int client);

    int upstreamPort_;
    int listenFd_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<nlohmann::json> requests_;
    std::string failing_, failMessage_, losing_;
    int connections_ = 0;
    int passing_ = 0;
    std::thread thread_;
};

}  // namespace e2e
