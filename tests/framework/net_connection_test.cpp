// The connection to the application server against a loopback server in the test.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "framework/tnetconnection.h"
#include "wire/packet_json.h"

namespace {

// Accepts connections on 127.0.0.1, port 0, one at a time; answers each line with what
// the handler gives (nullopt: close that connection).
class LoopbackServer {
public:
    using Handler = std::function<std::optional<std::string>(const std::string& line)>;

    explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_, 4) != 0)
            throw std::runtime_error("loopback server: bind/listen failed");
        socklen_t len = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~LoopbackServer() {
        ::shutdown(listen_, SHUT_RDWR);
        {
            // A client still connected would keep the serving thread in recv.
            std::lock_guard lock(mutex_);
            stopping_ = true;
            if (client_ >= 0) ::shutdown(client_, SHUT_RDWR);
        }
        thread_.join();
        ::close(listen_);
    }
    int port() const { return port_; }
    std::vector<std::string> received() {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    void run() {
        for (;;) {
            const int fd = ::accept(listen_, nullptr, nullptr);
            if (fd < 0) return;
            {
                std::lock_guard lock(mutex_);
                if (stopping_) {
                    ::close(fd);
                    return;
                }
                client_ = fd;
            }
            serve(fd);
            {
                std::lock_guard lock(mutex_);
                client_ = -1;
            }
            ::close(fd);
        }
    }
    void serve(int fd) {
        std::string buffer;
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) return;
            buffer.append(chunk, static_cast<std::size_t>(n));
            for (auto nl = buffer.find('\n'); nl != std::string::npos; nl = buffer.find('\n')) {
                const std::string line = buffer.substr(0, nl);
                buffer.erase(0, nl + 1);
                {
                    std::lock_guard lock(mutex_);
                    received_.push_back(line);
                }
                const auto answer = handler_(line);
                if (!answer) return;
                const std::string out = *answer + "\n";
                ::send(fd, out.data(), out.size(), MSG_NOSIGNAL);
            }
        }
    }

    Handler handler_;
    int listen_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> received_;
    int client_ = -1;
    bool stopping_ = false;
};

// Answers every request with `result`, echoing its id.
LoopbackServer::Handler answerWith(nlohmann::json result) {
    return [result](const std::string& line) -> std::optional<std::string> {
        auto request = nlohmann::json::parse(line);
        return nlohmann::json{{"jsonrpc", "2.0"}, {"id", request["id"]}, {"result", result}}.dump();
    };
}

const wire::DataPacket kCargos{{{"NRCOMISSAOCARGOOREV", wire::FieldType::Float, 0},
                                {"IDCARGOVEND", wire::FieldType::String, 1}},
                               {{1.0, std::string("V")}, {2.0, std::string("G")}}};

// The text of the EServerError that `call` raises; "" when it raises none.
std::string failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const fw::EServerError& e) {
        return e.what();
    }
    return "";
}

class NetConnectionTest : public ::testing::Test {
protected:
    void connectTo(const LoopbackServer& server) {
        net.SetHost("127.0.0.1");
        net.SetPort(server.port());
        net.SetConnected(true);
    }
    fw::TNetConnection net{nullptr, "NetTeste"};
};

TEST_F(NetConnectionTest, AGoodReplyCarriesItsDataPacket) {
    LoopbackServer server(answerWith(wire::toJson(kCargos)));
    connectTo(server);
    ASSERT_TRUE(net.Connected());

    const fw::TServerReply reply = net.Call("GetPercentual", {12.0, 3.0, std::string("CARGO")});
    ASSERT_TRUE(reply.data.has_value());
    EXPECT_EQ(*reply.data, kCargos);

    const auto request = nlohmann::json::parse(server.received().at(0));
    EXPECT_EQ(request["jsonrpc"], "2.0");
    EXPECT_EQ(request["method"], "GetPercentual");
    EXPECT_EQ(request["params"], nlohmann::json::parse(R"([12, 3, "CARGO"])"));
}

TEST_F(NetConnectionTest, ChangeLogsTravelInTheirJsonFormAndANullResultHasNoData) {
    LoopbackServer server(answerWith(nullptr));
    connectTo(server);
    wire::ChangeLog log{kCargos.fields, {{wire::ChangeOp::Insert, {}, {wire::Null{}, std::string("S")}}}};

    const fw::TServerReply reply = net.Call("SetCargo", {log});
    EXPECT_FALSE(reply.data.has_value());
    const auto request = nlohmann::json::parse(server.received().at(0));
    EXPECT_EQ(request["params"], nlohmann::json::array({wire::toJson(log)}));
    // The connection stays usable for the next call.
    EXPECT_EQ(failureOf([&] { net.Call("SetCargo", {log}); }), "");
}

// The failure is raised, not shown: the host shows it once, where the user's action ends.
TEST_F(NetConnectionTest, AServerErrorRaisesTheServersTextAndKeepsTheConnection) {
    LoopbackServer server([](const std::string& line) -> std::optional<std::string> {
        auto request = nlohmann::json::parse(line);
        const bool known = request["method"] == "SetCargo";
        return nlohmann::json{{"jsonrpc", "2.0"},
                              {"id", request["id"]},
                              {"error", {{"code", known ? -32000 : -32601},
                                         {"message", known ? "Cargo já cadastrado." : "Método desconhecido"}}}}
            .dump();
    });
    connectTo(server);
    EXPECT_EQ(failureOf([&] { net.Call("SetCargo", {}); }), "Cargo já cadastrado.");
    EXPECT_TRUE(net.Connected());
    EXPECT_EQ(failureOf([&] { net.Call("GetNada", {}); }), "Método desconhecido");
}

TEST_F(NetConnectionTest, AMalformedReplyIsAFailureNotACrash) {
    for (const char* bad : {"isto não é json", R"({"jsonrpc":"2.0","id":1})", R"({"jsonrpc":"2.0","id":999,"result":null})",
                            R"({"jsonrpc":"2.0","id":1,"result":{"fields":"x"}})"}) {
        SCOPED_TRACE(bad);
        const std::string answer = bad;
        LoopbackServer server([answer](const std::string&) -> std::optional<std::string> { return answer; });
        fw::TNetConnection conn(nullptr, "NetTeste");
        conn.SetHost("127.0.0.1");
        conn.SetPort(server.port());
        conn.SetConnected(true);
        const std::string failure = failureOf([&] { conn.Call("GetComissao", {}); });
        EXPECT_NE(failure.find("Resposta inválida do servidor de aplicação"), std::string::npos) << failure;
    }
}

// The server closes the connection instead of answering SetCargo.
TEST_F(NetConnectionTest, AReplyLostOnTheWayFailsThatCallOnlyAndIsNeverSentAgain) {
    const auto answer = answerWith(nullptr);
    LoopbackServer server([answer](const std::string& line) -> std::optional<std::string> {
        if (nlohmann::json::parse(line)["method"] == "SetCargo") return std::nullopt;
        return answer(line);
    });
    connectTo(server);
    EXPECT_EQ(failureOf([&] { net.Call("SetCargo", {}); }), "A conexão com o servidor de aplicação foi interrompida.");
    EXPECT_FALSE(net.Connected());
    // The next call opens a new connection for itself; the lost one is not repeated.
    EXPECT_EQ(failureOf([&] { net.Call("GetComissao", {}); }), "");
    EXPECT_TRUE(net.Connected());
    std::vector<std::string> methods;
    for (const auto& line : server.received()) methods.push_back(nlohmann::json::parse(line)["method"]);
    EXPECT_EQ(methods, (std::vector<std::string>{"SetCargo", "GetComissao"}));
    // Closed by the screen, it stays closed.
    net.SetConnected(false);
    EXPECT_EQ(failureOf([&] { net.Call("GetComissao", {}); }), "Não há conexão com o servidor de aplicação.");
}

TEST_F(NetConnectionTest, ConnectingRunsBeforeConnectFirst) {
    LoopbackServer server(answerWith(nullptr));
    int calls = 0;
    net.BeforeConnect = [&](tk::TObject& sender) {
        ++calls;
        EXPECT_EQ(&sender, &net);
        net.SetHost("127.0.0.1");
        net.SetPort(server.port());
    };
    net.SetConnected(true);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(net.Connected());
    net.SetConnected(false);
    EXPECT_FALSE(net.Connected());
    net.SetConnected(true);  // a new connection reads host and port again
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(failureOf([&] { net.Call("SetCargo", {}); }), "");
}

TEST_F(NetConnectionTest, AFailedConnectRaisesNamingHostAndPort) {
    int port = 0;
    {
        // A port that was just free and is closed again: nobody listens there.
        LoopbackServer probe(answerWith(nullptr));
        port = probe.port();
    }
    net.SetHost("127.0.0.1");
    net.SetPort(port);
    EXPECT_EQ(failureOf([&] { net.SetConnected(true); }),
              "Não foi possível conectar ao servidor de aplicação 127.0.0.1:" + std::to_string(port) + ".");
    EXPECT_FALSE(net.Connected());
}

}  // namespace
