#include "e2e/rpc_recorder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace e2e {

namespace {

sockaddr_in loopback(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return addr;
}

bool sendAll(int fd, const std::string& data) {
    for (std::size_t sent = 0; sent < data.size();) {
        ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads one "\n"-ended line (without it) into `line`, keeping what follows in `pending`.
bool readLine(int fd, std::string& pending, std::string& line) {
    char buf[8192];
    while (pending.find('\n') == std::string::npos) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        pending.append(buf, static_cast<std::size_t>(n));
    }
    const auto end = pending.find('\n');
    line = pending.substr(0, end);
    pending.erase(0, end + 1);
    return true;
}

}  // namespace

RpcRecorder::RpcRecorder(int upstreamPort) : upstreamPort_(upstreamPort) {
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
    sockaddr_in addr = loopback(0);
    socklen_t len = sizeof addr;
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listenFd_, 4) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        close(listenFd_);
        throw std::runtime_error("relay listen: " + std::string(std::strerror(errno)));
    }
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RpcRecorder::~RpcRecorder() {
    shutdown(listenFd_, SHUT_RDWR);  // wakes the blocked accept
    thread_.join();
    close(listenFd_);
}

std::vector<nlohmann::json> RpcRecorder::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> RpcRecorder::methods() const {
    std::vector<std::string> names;
    for (const auto& r : requests()) names.push_back(r.value("method", ""));
    return names;
}

void RpcRecorder::failMethod(const std::string& method, const std::string& message, int passing) {
    std::lock_guard lock(mutex_);
    failing_ = method;
    failMessage_ = message;
    passing_ = passing;
}

void RpcRecorder::loseReply(const std::string& method) {
    std::lock_guard lock(mutex_);
    losing_ = method;
}

void RpcRecorder::clear() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

// One connection at a time: the screen keeps a single connection open while it runs.
int RpcRecorder::connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

void RpcRecorder::serve() {
    for (;;) {
        int client = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
        }
        {
            std::lock_guard lock(mutex_);
            ++connections_;
        }
        relay(client);
        close(client);
    }
}

void RpcRecorder::relay(int client) {
    int upstream = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = loopback(upstreamPort_);
    if (upstream < 0 || connect(upstream, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        if (upstream >= 0) close(upstream);
        return;
    }
    std::string fromClient, fromServer, line;
    while (readLine(client, fromClient, line)) {
        auto request = nlohmann::json::parse(line, nullptr, false);
        std::string refusal;
        bool lose = false;
        if (!request.is_discarded()) {
            std::lock_guard lock(mutex_);
            const std::string method = request.value("method", "");
            requests_.push_back({{"method", method}, {"params", request.value("params", nlohmann::json())}});
            lose = method == losing_;
            if (!failing_.empty() && method == failing_ && passing_-- <= 0)
                refusal = nlohmann::json{{"jsonrpc", "2.0"},
                                         {"id", request.value("id", nlohmann::json())},
                                         {"error", {{"code", -32000}, {"message", failMessage_}}}}
                              .dump();
        }
        if (!refusal.empty()) {
            if (!sendAll(client, refusal + "\n")) break;
            continue;
        }
        if (!sendAll(upstream, line + "\n") || !readLine(upstream, fromServer, line) || lose ||
            !sendAll(client, line + "\n"))
            break;
    }
    close(upstream);
}

}  // namespace e2e
