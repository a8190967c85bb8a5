#include "framework/tnetconnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "framework/host_services.h"
#include "framework/tls_client.h"
#include "wire/host_port.h"
#include "wire/jsonrpc.h"
#include "wire/line_framer.h"
#include "wire/packet_json.h"
#include "wire/wire_error.h"

namespace fw {

namespace {

// A slow server blocks the screen at most this long before the call is given up.
constexpr int kReplyTimeoutSeconds = 60;
constexpr int kConnectTimeoutMs = 10'000;

// A failed call that leaves the stream unusable; the connection is dropped.
class ConnectionLost : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { int f = fd_; fd_ = -1; return f; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Connects with a bounded wait; -1 on failure.
int connectTo(const addrinfo& ai) {
    Fd fd(::socket(ai.ai_family, ai.ai_socktype | SOCK_CLOEXEC, ai.ai_protocol));
    if (fd.get() < 0) return -1;
    const int flags = ::fcntl(fd.get(), F_GETFL, 0);
    ::fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK);
    if (::connect(fd.get(), ai.ai_addr, ai.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) return -1;
        pollfd p{fd.get(), POLLOUT, 0};
        int rc;
        do rc = ::poll(&p, 1, kConnectTimeoutMs);
        while (rc < 0 && errno == EINTR);
        if (rc <= 0) return -1;
        int err = 0;
        socklen_t len = sizeof err;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) return -1;
    }
    ::fcntl(fd.get(), F_SETFL, flags);
    timeval tv{kReplyTimeoutSeconds, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    return fd.release();
}

nlohmann::json paramJson(const TServerParam& p) {
    if (const auto* d = std::get_if<double>(&p)) return *d;
    if (const auto* s = std::get_if<std::string>(&p)) return *s;
    return wire::toJson(std::get<wire::ChangeLog>(p));
}

}  // namespace

struct TNetConnection::Socket {
    Fd fd;
    std::unique_ptr<TlsSession> tls;  // null: plain TCP
    wire::LineFramer framer;

    // Between calls nothing may arrive: readable means the server has closed its end (an
    // idle connection it dropped), or sent what nobody asked for. Either way the socket
    // cannot carry a new request.
    bool stale() const {
        if (tls && tls->pending()) return true;
        pollfd p{fd.get(), POLLIN, 0};
        int rc;
        do rc = ::poll(&p, 1, 0);
        while (rc < 0 && errno == EINTR);
        if (rc == 0) return false;
        if (rc < 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return true;
        char byte;
        const ssize_t n = ::recv(fd.get(), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        return !(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
    }

    void sendLine(const std::string& line) {
        std::size_t sent = 0;
        while (sent < line.size()) {
            const ssize_t n = tls ? tls->write(line.data() + sent, line.size() - sent)
                                  : ::send(fd.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw ConnectionLost("A conexão com o servidor de aplicação foi interrompida.");
            sent += static_cast<std::size_t>(n);
        }
    }

    std::string readLine() {
        std::string line;
        char buf[64 * 1024];
        for (;;) {
            switch (framer.next(line)) {
            case wire::LineFramer::Status::Line: return line;
            case wire::LineFramer::Status::TooLong:
                throw ConnectionLost("A resposta do servidor de aplicação é grande demais.");
            case wire::LineFramer::Status::NeedMore: break;
            }
            const ssize_t n = tls ? tls->read(buf, sizeof buf) : ::recv(fd.get(), buf, sizeof buf, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                throw ConnectionLost("O servidor de aplicação não respondeu a tempo.");
            if (n <= 0) throw ConnectionLost("A conexão com o servidor de aplicação foi interrompida.");
            framer.feed(std::string_view(buf, static_cast<std::size_t>(n)));
        }
    }
};

TNetConnection::TNetConnection(tk::TComponent* owner, std::string name)
    : tk::TComponent(owner, std::move(name)), signedIn_(std::make_unique<nlohmann::json>()) {}

const nlohmann::json& TNetConnection::SignedIn() const { return *signedIn_; }

TNetConnection::~TNetConnection() = default;

bool TNetConnection::Connected() const { return socket_ != nullptr; }

void TNetConnection::SetConnected(bool on) {
    if (!on) {
        socket_.reset();
        open_ = false;
        return;
    }
    if (socket_) return;
    open();
    open_ = true;
}

void TNetConnection::open() {
    socket_.reset();
    if (BeforeConnect) BeforeConnect(*this);

    const bool validPort = port_ > 0 && port_ <= 65535;
    const std::string where = validPort ? wire::formatHostPort({host_, static_cast<unsigned short>(port_)})
                                        : host_ + ":" + std::to_string(port_);
    const std::string failure = "Não foi possível conectar ao servidor de aplicação " + where + ".";
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (!validPort || host_.empty() ||
        ::getaddrinfo(host_.c_str(), std::to_string(port_).c_str(), &hints, &found) != 0)
        throw EServerError(failure);
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, &::freeaddrinfo);
    for (const addrinfo* ai = list.get(); ai; ai = ai->ai_next) {
        const int fd = connectTo(*ai);
        if (fd >= 0) {
            auto s = std::make_unique<Socket>();
            s->fd.reset(fd);
            const HostServices* host = HostServices::Current();
            if (host && !host->Settings().tlsCa.empty()) s->tls = std::make_unique<TlsSession>(fd, host->Settings().tlsCa, host_, where);
            socket_ = std::move(s);
            signIn();
            return;
        }
    }
    throw EServerError(failure);
}

void TNetConnection::signIn() {
    const HostServices* host = HostServices::Current();
    if (!host || host->Settings().user.empty()) return;
    try {
        *signedIn_ = exchange("Login", {host->Settings().user, host->Settings().password});
    } catch (const ConnectionLost& e) {
        socket_.reset();
        throw EServerError(e.what());
    } catch (...) {
        socket_.reset();
        throw;
    }
}

nlohmann::json TNetConnection::exchange(const std::string& method, const nlohmann::json& args) {
    const long long id = nextId_++;
    socket_->sendLine(wire::rpc::toLine(wire::rpc::makeRequest(id, method, args)) + "\n");
    const std::string line = socket_->readLine();
    wire::rpc::Reply answer;
    try {
        answer = wire::rpc::parseReply(nlohmann::json::parse(line));
    } catch (const std::exception&) {
        throw ConnectionLost("Resposta inválida do servidor de aplicação.");
    }
    // Calls are strictly one at a time, so any other id means the stream is out of step.
    if (answer.id != nlohmann::json(id)) throw ConnectionLost("Resposta inválida do servidor de aplicação.");
    if (!answer.ok)
        throw EServerError(answer.message.empty() ? "O servidor de aplicação recusou a chamada " + method + "."
                                                  : answer.message);
    return std::move(answer.result);
}

nlohmann::json TNetConnection::CallResult(const std::string& method, const std::vector<TServerParam>& params) {
    try {
        if (!open_) throw ConnectionLost("Não há conexão com o servidor de aplicação.");
        // Nothing has been sent yet, so a new connection cannot make the call run twice.
        if (!socket_ || socket_->stale()) {
            try {
                open();
            } catch (const std::runtime_error& e) {
                throw ConnectionLost(e.what());
            }
        }
        nlohmann::json args = nlohmann::json::array();
        for (const auto& p : params) args.push_back(paramJson(p));
        return exchange(method, args);
    } catch (const ConnectionLost& e) {
        socket_.reset();
        throw EServerError(e.what());
    }
}

TServerReply TNetConnection::Call(const std::string& method, const std::vector<TServerParam>& params) {
    TServerReply reply;
    const nlohmann::json result = CallResult(method, params);
    if (!result.is_null()) {
        try {
            reply.data = wire::packetFromJson(result);
        } catch (const std::exception&) {
            // The line was whole, so the stream itself is still in step.
            throw EServerError("Resposta inválida do servidor de aplicação: o pacote de dados está malformado.");
        }
    }
    return reply;
}

std::string SignInBranch(const HostServices& host) {
    TNetConnection connection(nullptr, "SignIn");
    connection.SetHost(host.Settings().webUrl);
    connection.SetPort(host.Settings().webPort);
    connection.SetConnected(true);
    const auto& signedIn = connection.SignedIn();
    if (!signedIn.is_object() || !signedIn.contains("branch") || !signedIn["branch"].is_string())
        throw EServerError("Resposta inválida do servidor de aplicação.");
    return signedIn["branch"].get<std::string>();
}

}  // namespace fw
