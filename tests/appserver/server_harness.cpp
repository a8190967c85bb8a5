#include "server_harness.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/test_paths.h"
#include "wire/jsonrpc.h"
#include "wire/packet_json.h"

namespace harness {

using nlohmann::json;
using appserver::ListKind;

TempDb::TempDb() {
    static std::atomic<int> counter{0};
    file_ = (std::filesystem::temp_directory_path() /
             ("ktr52300_apptest_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".db"))
                .string();
    std::filesystem::remove(file_);
    store_ = std::make_unique<testsupport::TestStore>(file_);
}

TempDb::~TempDb() {
    store_.reset();
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(file_ + suffix, ec);
}

namespace {

std::string freshLogPath() {
    static std::atomic<int> counter{0};
    return (std::filesystem::temp_directory_path() /
            ("ktr52300_apptest_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".log"))
        .string();
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts the server with `args`, its standard output on `out` (when given) and its log in `logPath`.
pid_t spawnServer(const std::vector<std::string>& args, int out, const std::string& logPath) {
    const std::string bin = testsupport::binDir() + "/ktr52300-server";
    std::vector<std::string> all = {bin};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (out >= 0) ::dup2(out, STDOUT_FILENO);
        const int err = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err >= 0) ::dup2(err, STDERR_FILENO);
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(bin.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// The exit status of `pid`, or -1 when it ended otherwise or had to be killed after `seconds`.
int reap(pid_t pid, int seconds) {
    int status = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

Refused runServer(const std::vector<std::string>& args) {
    Refused r;
    const std::string logPath = freshLogPath();
    r.status = reap(spawnServer(args, -1, logPath), 30);
    r.log = fileText(logPath);
    std::filesystem::remove(logPath);
    return r;
}

ServerProcess::ServerProcess(const std::string& dbPath, std::vector<std::string> extraArgs) : logPath_(freshLogPath()) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::vector<std::string> args = {"--db", dbPath};
    // A test may listen elsewhere (its --listen, port 0); loopback's 127.0.0.1 otherwise.
    if (std::find(extraArgs.begin(), extraArgs.end(), "--listen") == extraArgs.end())
        args.insert(args.end(), {"--listen", "127.0.0.1:0"});
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    pid_ = spawnServer(args, out[1], logPath_);
    ::close(out[1]);
    std::string line;
    char ch;
    while (::read(out[0], &ch, 1) == 1 && ch != '\n') line += ch;
    ::close(out[0]);
    if (line.empty()) {
        stop();
        throw std::runtime_error("server did not print its port");
    }
    port_ = static_cast<unsigned short>(std::stoi(line));
}

ServerProcess::~ServerProcess() {
    stop();
    std::error_code ignored;
    std::filesystem::remove(logPath_, ignored);
}

std::string ServerProcess::log() const { return fileText(logPath_); }

void ServerProcess::terminate() {
    if (pid_ > 0) ::kill(pid_, SIGTERM);
    terminated_ = true;
}

int ServerProcess::stop() {
    if (pid_ <= 0) return -1;
    if (!terminated_) ::kill(pid_, SIGTERM);
    const int status = reap(pid_, 30);
    pid_ = -1;
    return status;
}

Client::Client(unsigned short port, const char* from) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);  // no server started from here keeps it open
    if (from) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, from, &local.sin_addr);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            ::close(fd_);
            throw std::runtime_error(std::string("cannot bind to ") + from);
        }
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd_);
        throw std::runtime_error("cannot connect to port " + std::to_string(port));
    }
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    timeval wait{30, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
}

Client::~Client() {
    if (fd_ >= 0) ::close(fd_);
}

void Client::sendRaw(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("send failed");
        sent += static_cast<std::size_t>(n);
    }
}

std::string Client::readLine() {
    for (;;) {
        const auto nl = buffer_.find('\n');
        if (nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            return line;
        }
        char chunk[65536];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0) return {};
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

bool Client::readable(int ms) {
    if (!buffer_.empty()) return true;
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

bool Client::closedByServer() {
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n == 0) return true;
        if (n < 0) return errno != EAGAIN && errno != EWOULDBLOCK;  // a timeout is no close
    }
}

json Client::call(const std::string& method, const json& params) {
    const int id = nextId_++;
    sendRaw(wire::rpc::toLine(wire::rpc::makeRequest(id, method, params)) + "\n");
    const std::string line = readLine();
    if (line.empty()) throw std::runtime_error("connection closed during " + method);
    json reply = json::parse(line);
    if (reply.value("id", json()) != id) throw std::runtime_error("reply with the wrong id: " + line);
    return reply;
}

json Client::result(const std::string& method, const json& params) {
    json reply = call(method, params);
    if (reply.contains("error")) throw std::runtime_error(method + " failed: " + reply["error"].dump());
    return reply["result"];
}

wire::DataPacket Client::packet(const std::string& method, const json& params) {
    return wire::packetFromJson(result(method, params));
}

std::string Client::errorOf(const std::string& method, const json& params) {
    json reply = call(method, params);
    if (!reply.contains("error")) return "<no error>";
    return reply["error"]["message"].get<std::string>();
}

std::string Client::set(const std::string& method, const json& log) {
    json reply = call(method, json::array({log}));
    if (!reply.contains("error")) return "";
    return reply["error"]["message"].get<std::string>();
}

namespace {
void mustSet(Client& c, const char* method, const json& log) {
    const std::string err = c.set(method, log);
    if (!err.empty()) throw std::runtime_error(std::string(method) + " failed: " + err);
}

json logWith(ListKind list, std::vector<wire::Change> changes) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    log.changes = std::move(changes);
    return wire::toJson(log);
}
const char* setMethod(ListKind list) {
    switch (list) {
        case ListKind::Comissao: return "SetComissao";
        case ListKind::Cargo: return "SetCargo";
        case ListKind::Evento: return "SetEvento";
        case ListKind::Promocao: return "SetPromocao";
        case ListKind::PercCargo: return "SetPercCargo";
        case ListKind::PercEvento: return "SetPercEvento";
        case ListKind::PercPromocao: return "SetPercPromocao";
    }
    return "";
}
double highestNumber(const wire::DataPacket& p) {
    double best = 0;
    for (const auto& r : p.rows) best = std::max(best, std::get<double>(r[0]));
    return best;
}
}  // namespace

json insertLog(ListKind list, const std::vector<wire::Row>& rows) {
    std::vector<wire::Change> changes;
    for (const auto& r : rows) changes.push_back({wire::ChangeOp::Insert, {}, r});
    return logWith(list, std::move(changes));
}

json updateLog(ListKind list, const wire::Row& oldRow, const wire::Row& newRow) {
    return logWith(list, {{wire::ChangeOp::Update, oldRow, newRow}});
}

json deleteLog(ListKind list, const wire::Row& oldRow) { return logWith(list, {{wire::ChangeOp::Delete, oldRow, {}}}); }

std::string render(const wire::DataPacket& p) {
    std::string out;
    for (const auto& r : p.rows) {
        for (std::size_t i = 0; i < r.size(); ++i) out += (i ? "|" : "") + wire::render(r[i]);
        out += "\n";
    }
    return out;
}

wire::Value day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d); }
wire::Value str(const char* s) { return std::string(s); }

double addComissao(Client& c, const std::string& desc, const wire::Value& ini, const wire::Value& fin) {
    mustSet(c, "SetComissao", insertLog(ListKind::Comissao, {{wire::Null{}, desc, ini, fin, str("0001")}}));
    for (const auto& r : c.packet("GetComissao", json::array()).rows)
        if (r[1] == wire::Value(desc)) return std::get<double>(r[0]);
    throw std::runtime_error("inserted table not found");
}

double addCargo(Client& c, double nr, const char* cargo) {
    mustSet(c, "SetCargo", insertLog(ListKind::Cargo, {{wire::Null{}, str(cargo), nr}}));
    return highestNumber(c.packet("GetCargo", {nr}));
}

double addEvento(Client& c, double nr, const char* tipo, const char* cargo) {
    mustSet(c, "SetEvento", insertLog(ListKind::Evento, {{wire::Null{}, nr, str(tipo), str("Venda"), str(cargo)}}));
    return highestNumber(c.packet("GetEvento", {nr}));
}

double addPromocao(Client& c, double nr, const wire::Value& ini, const wire::Value& fin, const char* base,
                   const char* tipo, const char* cargo) {
    mustSet(c, "SetPromocao", insertLog(ListKind::Promocao, {{wire::Null{}, nr, ini, fin, str(base), str(tipo),
                                                            str("Venda"), str(cargo), wire::Null{}}}));
    return highestNumber(c.packet("GetPromocao", {nr}));
}

wire::Row bandRow(ListKind list, double nr, double rule, double ini, double fin, double perc) {
    const auto scope = appserver::bandScope(list);
    wire::Row row = {wire::Null{}, nr, str(appserver::scopeWord(scope)), wire::Null{}, wire::Null{}, wire::Null{},
                     ini,          fin, perc};
    row[scope == appserver::Scope::Cargo ? 3 : scope == appserver::Scope::TipoEvento ? 4 : 5] = rule;
    return row;
}

std::string tryBand(Client& c, ListKind list, double nr, double rule, double ini, double fin, double perc) {
    return c.set(setMethod(list), insertLog(list, {bandRow(list, nr, rule, ini, fin, perc)}));
}

}  // namespace harness
