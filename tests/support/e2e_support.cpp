#include "support/e2e_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/test_paths.h"

namespace testsupport {
namespace {

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

int statusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
    return -1;
}

int waitFor(pid_t pid) {
    int st = 0;
    while (waitpid(pid, &st, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return statusOf(st);
}

// argv for execv; the strings must outlive the call.
std::vector<char*> argvOf(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The port in the server's first line: its last run of digits ("40123" or "listening on
// 127.0.0.1:40123").
int portIn(const std::string& line) {
    auto end = line.find_last_of("0123456789");
    if (end == std::string::npos) return 0;
    auto begin = line.find_last_not_of("0123456789", end);
    begin = begin == std::string::npos ? 0 : begin + 1;
    return std::atoi(line.substr(begin, end - begin + 1).c_str());
}

class Sqlite {
public:
    explicit Sqlite(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) fail("open " + path);
    }
    ~Sqlite() { sqlite3_close(db_); }
    void exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
    }
    void insertEventType(const EventType& row) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, "INSERT INTO TIPOEVENTO (CDTIPOEVENTO, NMTIPOEVENTO) VALUES (?, ?)", -1, &st,
                               nullptr) != SQLITE_OK)
            fail("prepare");
        sqlite3_bind_text(st, 1, row.code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, row.name.c_str(), -1, SQLITE_TRANSIENT);
        int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) fail("insert " + row.code);
    }

private:
    [[noreturn]] void fail(const std::string& what) {
        throw std::runtime_error("local catalogue: " + what + ": " + sqlite3_errmsg(db_));
    }
    sqlite3* db_ = nullptr;
};

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ktr-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error(systemError("mkdtemp"));
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ServerProcess::ServerProcess(std::string dbPath, std::vector<std::string> extraArgs)
    : store_(dbPath.empty() ? std::make_unique<TestStore>(dir_.file("store.db")) : nullptr),
      dbPath_(store_ ? store_->db() : std::move(dbPath)) {
    std::vector<std::string> args = {binDir() + "/ktr52300-server", "--listen", "127.0.0.1:0", "--db", dbPath_};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv = argvOf(args);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error(systemError("pipe"));
    pid_ = fork();
    if (pid_ < 0) {
        close(fds[0]);
        close(fds[1]);
        throw std::runtime_error(systemError("fork"));
    }
    if (pid_ == 0) {
        dup2(fds[1], STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);

    // Blocks until the first line arrives, or the server ends without one.
    std::string first;
    char ch = 0;
    ssize_t n = 0;
    while ((n = read(fds[0], &ch, 1)) == 1 || (n < 0 && errno == EINTR)) {
        if (n == 1 && ch == '\n') break;
        if (n == 1) first += ch;
    }
    port_ = portIn(first);
    int readEnd = fds[0];
    drain_ = std::thread([readEnd] {
        char buf[4096];
        ssize_t got = 0;
        while ((got = read(readEnd, buf, sizeof buf)) > 0 || (got < 0 && errno == EINTR)) {
        }
        close(readEnd);
    });
    if (port_ <= 0) {
        stop();
        throw std::runtime_error("ktr52300-server printed no port (first line: '" + first + "', status " +
                                 std::to_string(status_) + ")");
    }
}

ServerProcess::~ServerProcess() { stop(); }

int ServerProcess::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        status_ = waitFor(pid_);
        pid_ = -1;
    }
    if (drain_.joinable()) drain_.join();
    return status_;
}

void createLocalCatalogue(const std::string& path, const std::vector<EventType>& rows) {
    Sqlite db(path);
    db.exec("CREATE TABLE TIPOEVENTO (CDTIPOEVENTO VARCHAR(3) NOT NULL PRIMARY KEY, NMTIPOEVENTO VARCHAR(30))");
    db.exec("BEGIN");
    for (const auto& row : rows) db.insertEventType(row);
    db.exec("COMMIT");
}

LocalCatalogue::LocalCatalogue(const std::vector<EventType>& rows) : path_(dir_.file("local.db")) {
    createLocalCatalogue(path_, rows);
}

int userCommand(const std::string& db, const std::string& args, const std::string& input) {
    const std::string cmd = binDir() + "/ktr52300-server --db '" + db + "' user " + args + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "w");
    if (!p) throw std::runtime_error(systemError("popen"));
    std::fputs(input.c_str(), p);
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScriptResult runScript(int port, const std::string& localDb, const std::string& script,
                       const std::vector<std::string>& extraArgs, const std::string& branch, bool viaStdin) {
    TempDir dir;
    const std::string scriptPath = dir.file("script.txt"), outPath = dir.file("out.txt"),
                      errPath = dir.file("err.txt");
    {
        std::ofstream s(scriptPath, std::ios::binary);
        s << script;
    }
    std::vector<std::string> args = {binDir() + "/backoffice-script", "--server", "127.0.0.1:" + std::to_string(port),
                                     "--local-db", localDb};
    if (!branch.empty()) args.insert(args.end(), {"--branch", branch});
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    if (!viaStdin) args.push_back(scriptPath);
    std::vector<char*> argv = argvOf(args);
    const std::string stdinPath = viaStdin ? scriptPath : "/dev/null";

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error(systemError("fork"));
    if (pid == 0) {
        int in = open(stdinPath.c_str(), O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ScriptResult r;
    r.exitCode = waitFor(pid);
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    return r;
}

nlohmann::json rpcRequest(int port, const std::string& method, const nlohmann::json& params) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error(systemError("socket"));
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        throw std::runtime_error(systemError("connect to port " + std::to_string(port)));

    nlohmann::json request = {{"jsonrpc", "2.0"}, {"id", 1}, {"method", method}, {"params", params}};
    std::string line = request.dump() + "\n";
    for (std::size_t sent = 0; sent < line.size();) {
        ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error(systemError("send"));
        sent += static_cast<std::size_t>(n);
    }
    std::string reply;
    char buf[4096];
    while (reply.find('\n') == std::string::npos) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("the server closed the connection without a reply to " + method);
        reply.append(buf, static_cast<std::size_t>(n));
    }
    return nlohmann::json::parse(reply.substr(0, reply.find('\n')));
}

nlohmann::json rpcResult(int port, const std::string& method, const nlohmann::json& params) {
    nlohmann::json reply = rpcRequest(port, method, params);
    if (reply.contains("error"))
        throw std::runtime_error(method + ": " + reply["error"].value("message", reply["error"].dump()));
    return reply.value("result", nlohmann::json());
}

nlohmann::json insertLog(const nlohmann::json& fields, const std::vector<nlohmann::json>& rows) {
    nlohmann::json changes = nlohmann::json::array();
    for (const auto& row : rows) changes.push_back({{"op", "insert"}, {"new", row}});
    return {{"fields", fields}, {"changes", changes}};
}

}  // namespace testsupport
