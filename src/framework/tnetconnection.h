// Socket connection to the application server and the proxy of its remote data module.
#pragma once
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <variant>
#include <vector>

#include "framework/server_reply.h"
#include "toolkit/tcomponent.h"
#include "wire/packet.h"

namespace fw {

using TServerParam = std::variant<double, std::string, wire::ChangeLog>;

class TNetConnection : public tk::TComponent {
public:
    TNetConnection(tk::TComponent* owner, std::string name);
    ~TNetConnection() override;

    std::string ServerName;

    const std::string& Host() const { return host_; }
    void SetHost(std::string host) { host_ = std::move(host); }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }

    // A socket is open to the server (false once a call has lost it, until the next call
    // opens a new one).
    bool Connected() const;
    // Opening runs BeforeConnect first, then connects; a failure to connect raises
    // EServerError with a Portuguese text naming host and port. Closing drops the socket,
    // and calls fail until the connection is opened again.
    void SetConnected(bool on);

    tk::TNotifyEvent BeforeConnect;

    // With the host's authority certificate (HostSettings::tlsCa) every socket speaks TLS and
    // takes only a server whose certificate that authority signed for the name it was reached
    // by; a refused certificate raises EServerError saying why.
    // Every new socket signs in with the host's user (HostSettings::user), when it has one,
    // before any call goes out; a refused sign-in raises EServerError with the server's text.
    // The reply of the last sign-in: {"branch": ..., "role": ...}; null before any.
    const nlohmann::json& SignedIn() const;

    // Calls a method of the remote data module with positional arguments; blocks for the
    // reply. While the connection is open, a socket that the server has closed meanwhile
    // (an idle one), or that an earlier call lost, is replaced before the request goes out:
    // one new connection, BeforeConnect included. A request once sent is never sent again:
    // a reply lost on the way is a failure of this call. A refusal of the server, a broken
    // connection or a malformed reply raises EServerError with the text to show.
    TServerReply Call(const std::string& method, const std::vector<TServerParam>& params);
    // As Call, for a method whose result is not a data packet: the result as it came. Fails
    // as Call does.
    nlohmann::json CallResult(const std::string& method, const std::vector<TServerParam>& params);

private:
    struct Socket;
    // BeforeConnect, then a new socket; throws EServerError naming host and port.
    void open();
    // Login with the host's user on the socket just opened, if the host has one.
    void signIn();
    // One request and its reply on the open socket; throws ConnectionLost when the stream is
    // unusable, EServerError for a refusal.
    nlohmann::json exchange(const std::string& method, const nlohmann::json& args);
    std::unique_ptr<Socket> socket_;
    std::unique_ptr<nlohmann::json> signedIn_;
    bool open_ = false;  // SetConnected(true) succeeded and no SetConnected(false) since
    std::string host_;
    int port_ = 0;
    long long nextId_ = 1;
};

class HostServices;
// Signs the host's user in once and returns the branch of the account. Throws EServerError.
std::string SignInBranch(const HostServices& host);

}  // namespace fw
