// Sign-in under a crowd: how long a right password from a quiet address waits while 200
// connections from 50 other addresses keep sending wrong ones.
//
// Runs the real server (store, users, sign-in, Asio listener) in this process on a temporary
// database, with the default delay and lockout; the crowd's connections come from 127.0.0.2 to
// 127.0.0.51, the quiet one from 127.0.1.1. Prints the quiet sign-in's latencies and what the
// crowd got through.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "accounts/password.h"
#include "accounts/users.h"
#include "appserver/dispatcher.h"
#include "appserver/log.h"
#include "appserver/request_handler.h"
#include "appserver/server.h"
#include "appserver/sign_in.h"
#include "appserver/write_queue.h"
#include "store/open_store.h"
#include "support/bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;

// A blocking connection from `from` to 127.0.0.1:port; reads time out after 30 s.
class Line {
public:
    Line(unsigned short port, const char* from) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, from, &local.sin_addr);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(port);
        ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
        timeval limit{30, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
            ::connect(fd_, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0)
            throw std::runtime_error(std::string("cannot connect from ") + from);
    }
    ~Line() { ::close(fd_); }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    std::string roundTrip(const std::string& line) {
        const std::string out = line + "\n";
        if (::send(fd_, out.data(), out.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(out.size()))
            throw std::runtime_error("send failed");
        for (;;) {
            if (const auto end = buf_.find('\n'); end != std::string::npos) {
                std::string reply = buf_.substr(0, end);
                buf_.erase(0, end + 1);
                return reply;
            }
            char chunk[4096];
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0) throw std::runtime_error("connection closed");
            buf_.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    std::string buf_;
};

std::string login(const char* password) {
    return std::string(R"({"jsonrpc":"2.0","id":1,"method":"Login","params":["ana",")") + password + "\"]}";
}

}  // namespace

int main() {
    using namespace appserver;
    bench::TempDir dir;
    const std::string db = (dir.path / "bench.db").string();
    const auto log = makeSilentLogger();
    const auto store = openStore(db);
    Users users(db);
    users.add(User{"ana", Role::Editor, "0001"}, "senha-da-ana");
    SignIn signIn(users, {}, *log);
    WriteQueue writes(*store, *log);
    const Dispatcher dispatcher(*store, 1000, 0);
    const RequestHandler handler(dispatcher, writes, {}, *log, &signIn);
    ServerOptions options;
    options.host = "127.0.0.1";
    options.port = 0;
    options.threads = 2;
    Server server(handler, options, *log);
    std::thread serving([&] { server.run(); });

    // The floor: one password check on its own, before the crowd comes, in this same run.
    std::vector<double> alone;
    const std::string hash = hashPassword("senha-da-ana");
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        passwordMatches(hash, "senha-da-ana");
        alone.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(alone.begin(), alone.end());

    std::atomic<bool> stop{false};
    std::atomic<long> crowdAnswers{0};
    std::vector<std::thread> crowd;
    for (int c = 0; c < 200; ++c)
        crowd.emplace_back([&, c] {
            const std::string from = "127.0.0." + std::to_string(2 + c % 50);
            try {
                Line line(server.port(), from.c_str());
                while (!stop) {
                    line.roundTrip(login("senha-errada"));
                    ++crowdAnswers;
                }
            } catch (const std::exception&) {  // the server closed it as it stopped
            }
        });

    std::this_thread::sleep_for(std::chrono::seconds(2));  // the crowd is under way, addresses shut out
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        Line quiet(server.port(), "127.0.1.1");
        const auto start = Clock::now();
        const std::string reply = quiet.roundTrip(login("senha-da-ana"));
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (reply.find("\"result\"") == std::string::npos) std::fprintf(stderr, "quiet sign-in refused: %s\n", reply.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    stop = true;
    server.stop();
    for (auto& t : crowd) t.join();
    serving.join();

    std::sort(ms.begin(), ms.end());
    std::printf("sign-in from a quiet address during 200 wrong ones from 50 addresses: median %.1f ms, worst %.1f ms "
                "(%zu sign-ins, %s within 0.5 s); the crowd got %ld answers; one password check alone: median %.1f ms "
                "(the quiet sign-in takes %.1fx that)\n",
                ms[ms.size() / 2], ms.back(), ms.size(), ms.back() <= 500 ? "all" : "NOT all", crowdAnswers.load(),
                alone[alone.size() / 2], ms[ms.size() / 2] / alone[alone.size() / 2]);
    return 0;
}
