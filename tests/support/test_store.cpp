#include "support/test_store.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <cstdio>
#include <filesystem>

#include "support/test_paths.h"

namespace testsupport {

namespace {

std::string adminUri() {
    const char* uri = std::getenv("KTR_TEST_PG");
    if (!uri || !*uri)
        throw std::runtime_error("the tests on PostgreSQL need KTR_TEST_PG, the URI of a cluster to make "
                                 "databases in: run the tests through scripts/test.sh");
    return uri;
}

// The URI of database `name` on the cluster of `admin` (".../postgres" becomes ".../name").
std::string uriOf(const std::string& admin, const std::string& name) { return admin.substr(0, admin.rfind('/') + 1) + name; }

std::string execPg(const std::string& uri, const std::string& sql) {
    std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(uri.c_str()), &PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK) throw std::runtime_error("cannot connect to " + uri + ": " + PQerrorMessage(conn.get()));
    PQsetNoticeProcessor(conn.get(), [](void*, const char*) {}, nullptr);
    std::unique_ptr<PGresult, decltype(&PQclear)> r(PQexec(conn.get(), sql.c_str()), &PQclear);
    const auto status = PQresultStatus(r.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error(std::string(PQresultErrorMessage(r.get())) + " in: " + sql);
    std::string text;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        for (int col = 0; col < PQnfields(r.get()); ++col) text += (col ? "|" : "") + std::string(PQgetvalue(r.get(), row, col));
        text += "\n";
    }
    return text;
}

std::string execSqlite(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(path.c_str(), &db);
    std::string error = rc == SQLITE_OK ? "" : "cannot open " + path;
    char* message = nullptr;
    std::string text;
    auto addRow = [](void* out, int n, char** values, char**) {
        auto& t = *static_cast<std::string*>(out);
        for (int i = 0; i < n; ++i) t += (i ? "|" : "") + std::string(values[i] ? values[i] : "");
        t += "\n";
        return 0;
    };
    if (error.empty() && sqlite3_exec(db, sql.c_str(), addRow, &text, &message) != SQLITE_OK)
        error = message ? message : "error";
    sqlite3_free(message);
    sqlite3_close(db);
    if (!error.empty()) throw std::runtime_error(error + " in: " + sql);
    return text;
}

bool isUri(const std::string& db) { return db.starts_with("postgresql://") || db.starts_with("postgres://"); }

// Runs `script stop dir` once this process has ended, however it ends. The stopper waits for
// the end of a pipe that only this process holds (close-on-exec, so no server started from
// here keeps it open): a kill by the runner's time-out, which runs no destructor, closes it
// too. Forked twice, so that a kill of this process and its children does not reach it any
// more than it reaches the PostgreSQL server that pg_ctl detached.
int stopWhenThisProcessEnds(const std::string& script, const std::string& dir) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const std::string command = "cat >/dev/null; exec \"$0\" stop \"$1\"";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), script.c_str(), dir.c_str(), nullptr};
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {  // only calls that are safe after fork() until exec
        ::setsid();
        if (::fork() != 0) ::_exit(0);
        ::dup2(fds[0], STDIN_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);  // else the stopper would wait for itself
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close_range(3, ~0u, 0);  // nor hold anything of this process's open
        ::execv(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return fds[1];
}

}  // namespace

bool onPostgres() {
    const char* store = std::getenv("KTR_TEST_STORE");
    return store && std::string(store) == "postgresql";
}

TestStore::TestStore(const std::string& filePath, bool postgres) : db_(filePath) {
    if (!postgres) return;
    static std::atomic<int> counter{0};
    const std::string admin = adminUri();
    name_ = "ktr_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    execPg(admin, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    execPg(admin, "CREATE DATABASE " + name_);
    db_ = uriOf(admin, name_);
}

TestStore::~TestStore() {
    if (name_.empty()) return;
    try {
        execPg(adminUri(), "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
        // The cluster is thrown away after the run; a database left behind costs nothing.
    }
}

OwnCluster::OwnCluster() {
    static std::atomic<int> counter{0};
    dir_ = (std::filesystem::temp_directory_path() /
            ("ktr52300_cluster_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
               .string();
    guard_ = stopWhenThisProcessEnds(sourceDir() + "/scripts/pg_cluster.sh", dir_);
    try {
        uri_ = run("start");
        while (!uri_.empty() && uri_.back() == '\n') uri_.pop_back();
        if (!uri_.starts_with("postgresql://")) throw std::runtime_error("no PostgreSQL cluster started: " + uri_);
    } catch (...) {
        stop();  // a server started before the failure is not left running
        throw;
    }
}

OwnCluster::~OwnCluster() {
    if (const std::string failure = stop(); !failure.empty()) ADD_FAILURE() << failure;
}

std::string OwnCluster::stop() {
    std::string failure;
    try {
        run("stop");
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (guard_ >= 0) ::close(guard_);  // the stopper's own stop finds nothing left
    guard_ = -1;
    return failure;
}

void OwnCluster::down() { run("down"); }
void OwnCluster::up() { run("up"); }

std::string OwnCluster::run(const std::string& verb) {
    const std::string cmd = sourceDir() + "/scripts/pg_cluster.sh " + verb + " '" + dir_ + "'" +
                            (verb == "start" ? " fsync=off" : "") + " 2>&1";
    std::unique_ptr<FILE, decltype(&::pclose)> p(::popen(cmd.c_str(), "r"), &::pclose);
    if (!p) throw std::runtime_error("cannot run " + cmd);
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p.get())) out += buf;
    const int status = ::pclose(p.release());
    if (status != 0) throw std::runtime_error(cmd + " failed: " + out);
    return out;
}

void execOnStore(const std::string& db, const std::string& sql) { queryText(db, sql); }

std::string queryText(const std::string& db, const std::string& sql) {
    return isUri(db) ? execPg(db, sql) : execSqlite(db, sql);
}

}  // namespace testsupport
