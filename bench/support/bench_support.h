// What the benchmarks share: a blocking line client, the floors a server is measured against
// (a bare TCP echo, one SQLite commit, one disk sync), closed-loop timing and the report line.
#pragma once
#include <asio.hpp>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

struct ssl_ctx_st;  // OpenSSL's SSL_CTX
struct ssl_st;      // OpenSSL's SSL

namespace bench {

using Clock = std::chrono::steady_clock;

// A blocking client connection to 127.0.0.1:port, without Nagle's delay; over TLS when the
// endpoint has a client context (the server's certificate checked as that context says).
// A server on this machine: its port and, for TLS, the client context to shake hands with.
struct Endpoint {
    Endpoint(unsigned short p, ssl_ctx_st* t = nullptr) : port(p), tls(t) {}  // a port alone: plain TCP
    unsigned short port;
    ssl_ctx_st* tls;
};

class Socket {
public:
    explicit Socket(Endpoint server);
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    // Sends one line (with its "\n") and returns the reply line without it.
    std::string roundTrip(const std::string& line);

private:
    int fd_;
    ssl_st* ssl_ = nullptr;  // owned; null over plain TCP
    std::string buf_;
};

// A line echo server on Asio with two threads: the floor any request/reply protocol sits on.
class EchoServer {
public:
    EchoServer();
    ~EchoServer();
    unsigned short port() const { return acceptor_.local_endpoint().port(); }

private:
    void accept();
    asio::io_context io_;
    asio::ip::tcp::acceptor acceptor_;
    std::vector<std::thread> threads_;
};

// A folder of its own in the temporary folder, removed with what it holds.
struct TempDir {
    TempDir();
    ~TempDir();
    const std::filesystem::path path;
};

struct Result {
    double perSecond;
    double p50us;
    double p99us;
};

// Runs `op(connection, index of the connection, iteration)` in a closed loop on `conns`
// connections for `duration`; `untimed`, when given, runs before each op, outside the time.
// Connection c goes to servers[c % servers.size()]. A connection's failure ends the run and is
// thrown here.
Result measure(int conns, const std::vector<Endpoint>& servers, const std::function<void(Socket&, int, long)>& op,
               const std::function<void()>& untimed = {},
               std::chrono::milliseconds duration = std::chrono::milliseconds(1500));
inline Result measure(int conns, Endpoint server, const std::function<void(Socket&, int, long)>& op,
                      const std::function<void()>& untimed = {},
                      std::chrono::milliseconds duration = std::chrono::milliseconds(1500)) {
    return measure(conns, std::vector<Endpoint>{server}, op, untimed, duration);
}

// The floor under every acknowledged write: one row committed on its own, in the store's
// mode (WAL, synchronous=FULL), in a database at `path`, for `duration`.
Result measureCommit(const std::string& path, std::chrono::milliseconds duration = std::chrono::milliseconds(1500));

// The floor under any durable commit: one 8 KiB block overwritten in place in a file at `path`
// and made durable with fdatasync, as a write-ahead log's preallocated segment is, for `duration`.
// With `spinBeside` a thread keeps a processor busy meanwhile: a virtual processor that sleeps
// while the disk works may notice its answer only at its next timer tick.
Result measureSync(const std::string& path, bool spinBeside,
                   std::chrono::milliseconds duration = std::chrono::milliseconds(1500));

// The median of microsecond timings.
double median(std::vector<double> v);
// "what  N conn  R req/s  p50 X us  p99 Y us".
void report(const char* what, int conns, const Result& r);

}  // namespace bench
