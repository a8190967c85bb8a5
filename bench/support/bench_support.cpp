#include "support/bench_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <openssl/ssl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "store/sqlite_db.h"

namespace bench {

Socket::Socket(Endpoint server) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(server.port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd_);
        throw std::runtime_error("connect failed");
    }
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (!server.tls) return;
    ssl_ = SSL_new(server.tls);
    if (!ssl_ || SSL_set_fd(ssl_, fd_) != 1 || SSL_connect(ssl_) != 1) {
        SSL_free(ssl_);
        ::close(fd_);
        throw std::runtime_error("TLS handshake failed");
    }
}

Socket::~Socket() {
    SSL_free(ssl_);
    ::close(fd_);
}

std::string Socket::roundTrip(const std::string& line) {
    for (std::size_t sent = 0; sent < line.size();) {
        const ssize_t n = ssl_ ? SSL_write(ssl_, line.data() + sent, static_cast<int>(line.size() - sent))
                               : ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("send failed");
        sent += static_cast<std::size_t>(n);
    }
    for (;;) {
        const auto nl = buf_.find('\n');
        if (nl != std::string::npos) {
            std::string reply = buf_.substr(0, nl);
            buf_.erase(0, nl + 1);
            return reply;
        }
        char chunk[65536];
        const ssize_t n = ssl_ ? SSL_read(ssl_, chunk, sizeof chunk) : ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) throw std::runtime_error("connection closed");
        buf_.append(chunk, static_cast<std::size_t>(n));
    }
}

namespace {

struct EchoSession : std::enable_shared_from_this<EchoSession> {
    explicit EchoSession(asio::ip::tcp::socket s) : socket(std::move(s)) {}
    void read() {
        asio::async_read_until(socket, asio::dynamic_buffer(in), '\n',
                               [self = shared_from_this()](asio::error_code ec, std::size_t n) {
                                   if (ec) return;
                                   self->out.assign(self->in, 0, n);
                                   self->in.erase(0, n);
                                   asio::async_write(self->socket, asio::buffer(self->out),
                                                     [self](asio::error_code ec2, std::size_t) {
                                                         if (!ec2) self->read();
                                                     });
                               });
    }
    asio::ip::tcp::socket socket;
    std::string in, out;
};

}  // namespace

EchoServer::EchoServer() : acceptor_(io_, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0)) {
    accept();
    for (int i = 0; i < 2; ++i) threads_.emplace_back([this] { io_.run(); });
}

EchoServer::~EchoServer() {
    io_.stop();
    for (auto& t : threads_) t.join();
}

void EchoServer::accept() {
    acceptor_.async_accept(asio::make_strand(io_), [this](asio::error_code ec, asio::ip::tcp::socket s) {
        if (ec) return;
        s.set_option(asio::ip::tcp::no_delay(true));
        std::make_shared<EchoSession>(std::move(s))->read();
        accept();
    });
}

TempDir::TempDir()
    : path(std::filesystem::temp_directory_path() / ("ktr52300_bench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

Result measure(int conns, const std::vector<Endpoint>& servers, const std::function<void(Socket&, int, long)>& op,
               const std::function<void()>& untimed, std::chrono::milliseconds duration) {
    std::vector<std::vector<double>> lat(static_cast<std::size_t>(conns));
    std::atomic<bool> stop{false};
    std::mutex failureMutex;
    std::exception_ptr failure;  // the first connection's failure ends the run
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < conns; ++c)
        threads.emplace_back([&, c] {
            try {
                Socket s(servers[static_cast<std::size_t>(c) % servers.size()]);
                for (long i = 0; !stop.load(std::memory_order_relaxed); ++i) {
                    if (untimed) untimed();
                    const auto t0 = Clock::now();
                    op(s, c, i);
                    lat[static_cast<std::size_t>(c)].push_back(
                        std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
                }
            } catch (...) {
                std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
                stop = true;
            }
        });
    for (const auto until = start + duration; !stop && Clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stop = true;
    for (auto& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);
    const double secs = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> all;
    for (auto& v : lat) all.insert(all.end(), v.begin(), v.end());
    std::sort(all.begin(), all.end());
    if (all.empty()) return {0, 0, 0};
    return {static_cast<double>(all.size()) / secs, all[all.size() / 2], all[all.size() * 99 / 100]};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(const char* what, int conns, const Result& r) {
    std::printf("%-42s %3d conn  %10.0f req/s  p50 %8.1f us  p99 %8.1f us\n", what, conns, r.perSecond, r.p50us, r.p99us);
}

namespace {

// `op` run again and again for `duration`, each run timed.
Result timeEach(std::chrono::milliseconds duration, const std::function<void()>& op) {
    std::vector<double> lat;
    const auto start = Clock::now();
    while (Clock::now() - start < duration) {
        const auto t0 = Clock::now();
        op();
        lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    const double secs = std::chrono::duration<double>(Clock::now() - start).count();
    std::sort(lat.begin(), lat.end());
    return {static_cast<double>(lat.size()) / secs, lat[lat.size() / 2], lat[lat.size() * 99 / 100]};
}

}  // namespace

Result measureCommit(const std::string& path, std::chrono::milliseconds duration) {
    appserver::sqlite::Database db(path);
    db.exec("PRAGMA journal_mode=WAL");
    db.exec("PRAGMA synchronous=FULL");
    db.exec("CREATE TABLE IF NOT EXISTS T (X INTEGER)");
    long i = 0;
    return timeEach(duration, [&] {
        appserver::sqlite::Transaction tx(db);
        db.query("INSERT INTO T VALUES (?)").bindInt(1, i++).step();
        tx.commit();
    });
}

Result measureSync(const std::string& path, bool spinBeside, std::chrono::milliseconds duration) {
    struct File {
        const int fd;
        ~File() {
            if (fd >= 0) ::close(fd);
        }
    } file{::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
    const int fd = file.fd;
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    const std::string block(8192, 'x');
    auto writeAndSync = [&] {
        if (::pwrite(fd, block.data(), block.size(), 0) != static_cast<ssize_t>(block.size()) || ::fdatasync(fd) != 0)
            throw std::runtime_error("cannot write and sync " + path);
    };
    // The first sync also records the file's new size; the ones timed carry the data alone.
    writeAndSync();
    ::fsync(fd);
    std::atomic<bool> done{false};
    std::thread spinner;
    if (spinBeside)
        spinner = std::thread([&done] {
            while (!done.load(std::memory_order_relaxed)) {
            }
        });
    struct Join {
        std::atomic<bool>& done;
        std::thread& thread;
        ~Join() {
            done = true;
            if (thread.joinable()) thread.join();
        }
    } join{done, spinner};
    const Result r = timeEach(duration, writeAndSync);
    ::unlink(path.c_str());
    return r;
}

}  // namespace bench
