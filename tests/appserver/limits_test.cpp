// The server stays up and fair under abuse: every resource one client can make it hold is bounded,
// each bound met through the real socket with limits small enough for kilobytes to reach them.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "appserver/messages.h"
#include "server_harness.h"
#include "wire/jsonrpc.h"

using namespace harness;
using appserver::ListKind;
namespace msg = appserver::msg;
using nlohmann::json;
using namespace std::chrono_literals;

namespace {

std::string request(const std::string& method, const json& params, const json& id = 1) {
    return wire::rpc::toLine(wire::rpc::makeRequest(id, method, params));
}

// Commission tables, one a year from 2100, sent ten to a change log.
void addTables(Client& c, int n) {
    for (int first = 0; first < n; first += 10) {
        std::vector<wire::Row> rows;
        for (int i = first; i < std::min(n, first + 10); ++i)
            rows.push_back({wire::Null{}, "Tabela " + std::to_string(i), day(2100 + i, 1, 1), day(2100 + i, 12, 31), str("0001")});
        const std::string err = c.set("SetComissao", insertLog(ListKind::Comissao, rows));
        if (!err.empty()) throw std::runtime_error(err);
    }
}

// The server's virtual memory in bytes, and its processor time in seconds, as the kernel counts them.
std::size_t virtualBytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmSize:")) return std::stoull(line.substr(7)) * 1024;
    return 0;
}

double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));  // the fields after the command name
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) user = std::stoull(field);
        if (i == 15) system = std::stoull(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The lowest descriptor number the server does not use: a limit at it leaves no descriptor free.
int lowestFreeDescriptor(pid_t pid) {
    std::set<int> used;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
        used.insert(std::stoi(entry.path().filename().string()));
    int free = 0;
    while (used.count(free)) ++free;
    return free;
}

// Another program holding the database's write lock, so that the next change log has to wait.
class WriteLock {
public:
    explicit WriteLock(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot take the write lock");
    }
    ~WriteLock() { release(); }
    void release() {
        if (!db_) return;
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

TEST(Memory, BatchesRepliesAndChangeLogsStayWithinTheirLimits) {
    TempDb db;
    ServerProcess server(db.path(), {"--max-batch", "3", "--max-message-bytes", "2KiB", "--max-changes", "10"});
    Client c(server.port());
    addTables(c, 40);  // GetComissao's reply is now about 3 KB

    const json alone = c.call("GetComissao", json::array());
    EXPECT_EQ(alone["error"]["code"], -32000);
    EXPECT_EQ(alone["error"]["message"], msg::respostaGrandeDemais(2048));

    // Only the reply that does not fit becomes an error; the others arrive whole, within the limit.
    c.sendRaw("[" + request("GetVdCargo", {1, "V"}, 1) + "," + request("GetComissao", json::array(), 2) + "," +
              request("getVdDtPromo", {1}, 3) + "]\n");
    const std::string line = c.readLine();
    EXPECT_LE(line.size(), 2048u);
    const json replies = json::parse(line);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_TRUE(replies[0].contains("result"));
    EXPECT_EQ(replies[1]["error"]["code"], -32000);
    EXPECT_TRUE(replies[2].contains("result"));

    // A batch over the limit is refused whole, before anything in it runs.
    const std::string store = request("SetCargo", json::array({insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}})}));
    c.sendRaw("[" + store + "," + store + "," + store + "," + store + "]\n");
    const json refusal = json::parse(c.readLine());
    EXPECT_EQ(refusal["error"]["code"], -32600);
    EXPECT_TRUE(refusal["id"].is_null());
    EXPECT_EQ(render(c.packet("GetCargo", {1})), "");

    // A change log longer than the limit is refused with a clear text, and stores nothing.
    std::vector<wire::Row> eleven(11, wire::Row{wire::Null{}, str("G"), 1.0});
    EXPECT_EQ(c.set("SetCargo", insertLog(ListKind::Cargo, eleven)), msg::alteracoesDemais(11, 10));
    EXPECT_EQ(render(c.packet("GetCargo", {1})), "");
}

// A change that was stored is never reported as failed because the reads after it in its batch
// were too large: a batch whose errors alone could not fit is refused before any of it runs,
// and any other has every call answered, its change included.
TEST(Memory, AStoredChangeIsNeverReportedFailedForTheRepliesAfterIt) {
    TempDb db;
    ServerProcess server(db.path(), {"--max-batch", "100", "--max-message-bytes", "4KiB"});
    Client c(server.port());
    addTables(c, 60);  // GetComissao's reply is now about 4.5 KB
    auto batch = [](const char* cargo, int reads) {
        std::string line = "[" + request("SetCargo", json::array({insertLog(ListKind::Cargo, {{wire::Null{}, str(cargo), 1.0}})}));
        for (int k = 0; k < reads; ++k) line += "," + request("GetComissao", json::array(), k + 2);
        return line + "]\n";
    };

    c.sendRaw(batch("R", 40));
    const json refusal = json::parse(c.readLine());
    EXPECT_EQ(refusal["error"]["code"], -32600);
    EXPECT_EQ(render(c.packet("GetVdCargo", {1, "R"})), "");

    c.sendRaw(batch("G", 10));
    const std::string line = c.readLine();
    EXPECT_LE(line.size(), 4096u);
    const json replies = json::parse(line);
    ASSERT_EQ(replies.size(), 11u);
    EXPECT_TRUE(replies[0]["result"].is_null());
    EXPECT_EQ(replies[10]["error"]["message"], msg::respostaGrandeDemais(4096));
    EXPECT_EQ(render(c.packet("GetVdCargo", {1, "G"})), "G\n");
}

// Reads that each fit but together do not: the ones that would eat the room the errors after
// them need are refused, so the line still ends with every call answered.
TEST(Memory, ReadsThatFitOneByOneLeaveRoomForTheAnswersAfterThem) {
    TempDb db;
    ServerProcess server(db.path(), {"--max-batch", "100", "--max-message-bytes", "4KiB"});
    Client c(server.port());
    addTables(c, 12);
    const std::size_t one = c.call("GetComissao", json::array()).dump().size();
    ASSERT_LT(one * 3, 4096u);
    std::string line = "[" + request("SetCargo", json::array({insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}})}));
    for (int k = 0; k < 10; ++k) line += "," + request("GetComissao", json::array(), k + 2);
    c.sendRaw(line + "]\n");
    const std::string reply = c.readLine();
    EXPECT_LE(reply.size(), 4096u);
    const json replies = json::parse(reply);
    ASSERT_TRUE(replies.is_array()) << reply.substr(0, 200);
    ASSERT_EQ(replies.size(), 11u);
    EXPECT_TRUE(replies[0]["result"].is_null());
    EXPECT_TRUE(replies[1].contains("result"));
    EXPECT_EQ(replies[10]["id"], 11);
    EXPECT_EQ(replies[10]["error"]["message"], msg::respostaGrandeDemais(4096));
}

TEST(Memory, AClientThatDoesNotReadIsServedNoFurtherUntilItReads) {
    TempDb db;
    ServerProcess server(db.path(), {"--output-high-water", "16KiB"});
    Client setup(server.port());
    addTables(setup, 100);  // GetComissao's reply is now about 8 KB

    // The first line asks for some 8 MB, more than the kernel's buffers take in; each line then
    // stores an event-type rule, so the rules stored tell how far the server went while the
    // client read nothing.
    auto rule = [](int i) {
        const auto log = insertLog(ListKind::Evento, {{wire::Null{}, 1.0, str(std::to_string(100 + i).c_str()), str("x"), str("V")}});
        return wire::rpc::toLine(wire::rpc::makeRequest(nullptr, "SetEvento", json::array({log})));
    };
    std::string lines = "[";
    for (int k = 0; k < 999; ++k) lines += request("GetComissao", json::array(), k) + ",";
    lines += rule(0) + "]\n";
    constexpr int kLines = 5;
    for (int i = 1; i < kLines; ++i) lines += "[" + request("GetVdCargo", {1, "V"}, i) + "," + rule(i) + "]\n";
    Client greedy(server.port());
    greedy.sendRaw(lines);
    auto answered = [&] { return setup.packet("GetEvento", {1}).rows.size(); };
    std::size_t seen = answered();
    for (int quiet = 0, i = 0; quiet < 5 && i < 40; ++i) {  // until nothing moves for half a second
        std::this_thread::sleep_for(100ms);
        const std::size_t now = answered();
        quiet = now == seen ? quiet + 1 : 0;
        seen = now;
    }
    EXPECT_EQ(seen, 1u) << "the server went on answering a client that reads nothing";

    EXPECT_EQ(json::parse(greedy.readLine()).size(), 999u);
    for (int i = 1; i < kLines; ++i) EXPECT_EQ(json::parse(greedy.readLine()).size(), 1u) << "line " << i;
    EXPECT_EQ(answered(), static_cast<std::size_t>(kLines));
}

TEST(Memory, AnAllocationFailureAnswersThatRequestAndTheServerLivesOn) {
    TempDb db;
    {
        ServerProcess schema(db.path(), {"--demo"});
    }
    // 100,000 tables of a day each: reading them all takes some 30 MB.
    execOn(db.path(),
           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
           "INSERT INTO COMISSAO (DSCOMISSAOOREV, DTVALIDADEINI, DTVALIDADEFIN, CDFILIAL) "
           "SELECT 'Tabela ' || i, 4102444800 + i * 86400, 4102444800 + i * 86400, '0001' FROM n;");
    ServerProcess server(db.path());
    Client c(server.port());
    ASSERT_EQ(c.packet("GetCargo", {1}).rows.size(), 2u);

    // Room for what the server holds now and 16 MiB more.
    rlimit limit{};
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_AS, nullptr, &limit), 0);
    limit.rlim_cur = virtualBytes(server.pid()) + (16u << 20);
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_AS, &limit, nullptr), 0);
    c.sendRaw(request("GetComissao", json::array(), 5) + "\n");
    const std::string reply = c.readLine();
    ASSERT_FALSE(reply.empty()) << server.log();
    const json failure = json::parse(reply);
    EXPECT_EQ(failure["id"], 5);
    EXPECT_EQ(failure["error"]["code"], -32603);
    EXPECT_NE(failure["error"]["message"].get<std::string>().find("referência"), std::string::npos);
    EXPECT_NE(server.log().find("out of memory"), std::string::npos);

    EXPECT_EQ(c.packet("GetCargo", {1}).rows.size(), 2u);  // the server lives on
    Client fresh(server.port());
    EXPECT_EQ(fresh.packet("GetEvento", {1}).rows.size(), 2u);
}

TEST(Connections, TotalAndPerAddressLimitsAreRefusedPolitely) {
    TempDb db;
    ServerProcess server(db.path(), {"--max-connections", "3", "--max-connections-per-address", "2"});
    std::optional<Client> a(std::in_place, server.port());
    Client b(server.port());
    EXPECT_EQ(a->packet("GetComissao", json::array()).rows.size(), 0u);

    Client third(server.port());
    const json perAddress = json::parse(third.readLine());
    EXPECT_EQ(perAddress["error"]["code"], -32000);
    EXPECT_EQ(perAddress["error"]["message"], msg::conexoesDemaisDoEndereco(2));
    EXPECT_TRUE(third.closedByServer());

    Client other(server.port(), "127.0.0.2");
    EXPECT_EQ(other.packet("GetComissao", json::array()).rows.size(), 0u);
    Client fourth(server.port(), "127.0.0.2");
    EXPECT_EQ(json::parse(fourth.readLine())["error"]["message"], msg::conexoesDemais(3));

    // A place set free is taken again, once the server has seen the client go.
    a.reset();
    bool served = false;
    for (int i = 0; i < 100 && !served; ++i) {
        Client again(server.port());
        again.sendRaw(request("GetComissao", json::array()) + "\n");
        served = json::parse(again.readLine()).contains("result");
        if (!served) std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(served);
}

TEST(Connections, IncompleteRequestsShareOneMemoryCap) {
    TempDb db;
    ServerProcess server(db.path(), {"--max-partial-bytes", "64KiB", "--threads", "1"});
    const std::string head = R"({"jsonrpc":"2.0","id":1,"method":"GetVdCargo","params":[1,")";
    const std::string tail = "\"]}\n";
    Client first(server.port()), second(server.port()), probe(server.port());
    first.sendRaw(head + std::string(40000, 'x'));
    probe.packet("GetComissao", json::array());  // one loop: the bytes before this have been read
    std::this_thread::sleep_for(100ms);
    second.sendRaw(head + std::string(40000, 'y'));  // the two would hold more than the cap
    const json refusal = json::parse(second.readLine());
    EXPECT_EQ(refusal["error"]["message"], msg::kSemMemoriaParaRequisicoes);
    EXPECT_TRUE(second.closedByServer());

    first.sendRaw(tail);
    EXPECT_TRUE(json::parse(first.readLine()).contains("result"));
    Client later(server.port());  // the memory is free again
    later.sendRaw(head + std::string(40000, 'z'));
    std::this_thread::sleep_for(50ms);
    later.sendRaw(tail);
    EXPECT_TRUE(json::parse(later.readLine()).contains("result"));
}

TEST(Connections, ARequestMustBeCompleteWithinTheTimeLimit) {
    TempDb db;
    ServerProcess server(db.path(), {"--request-timeout", "1"});
    Client slow(server.port());
    slow.sendRaw(R"({"jsonrpc":"2.0","id":1,)");
    // A byte every 200 ms keeps the connection from falling idle, but finishes nothing.
    bool ended = false;
    for (int i = 0; i < 40 && !ended; ++i) {
        std::this_thread::sleep_for(200ms);
        ended = slow.readable(0);
        try {
            if (!ended) slow.sendRaw(" ");
        } catch (const std::runtime_error&) {
            ended = true;
        }
    }
    ASSERT_TRUE(ended) << "an incomplete request kept its connection for 8 s";
    EXPECT_EQ(json::parse(slow.readLine())["error"]["code"], -32600);
    EXPECT_TRUE(slow.closedByServer());
    Client whole(server.port());
    EXPECT_EQ(whole.packet("GetComissao", json::array()).rows.size(), 0u);
}

TEST(Connections, AcceptWaitsAtTheDescriptorLimitInsteadOfSpinning) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo", "--threads", "1"});
    Client first(server.port());
    ASSERT_EQ(first.packet("GetComissao", json::array()).rows.size(), 3u);
    rlimit before{};
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_NOFILE, nullptr, &before), 0);
    rlimit none = before;
    none.rlim_cur = static_cast<rlim_t>(lowestFreeDescriptor(server.pid()));
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_NOFILE, &none, nullptr), 0);

    // These wait in the listen queue: the server has no descriptor left to take them with.
    std::vector<std::unique_ptr<Client>> waiting;
    for (int i = 0; i < 4; ++i) {
        waiting.push_back(std::make_unique<Client>(server.port()));
        waiting.back()->sendRaw(request("GetComissao", json::array()) + "\n");
    }
    const double cpuBefore = cpuSeconds(server.pid());
    std::this_thread::sleep_for(1s);
    EXPECT_LT(cpuSeconds(server.pid()) - cpuBefore, 0.25) << "the listener spins on a full descriptor table";

    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_NOFILE, &before, nullptr), 0);
    for (auto& c : waiting) EXPECT_TRUE(json::parse(c->readLine()).contains("result"));
}

// Out of descriptors, a request that needs another handle on the store is told the server is
// busy, not given an internal error, and is served once descriptors are free again.
TEST(Connections, OutOfDescriptorsARequestIsToldTheServerIsBusy) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo", "--threads", "1"});
    Client c(server.port());
    // Accepted before the descriptors run out (a call the store has no part in); no read has opened the store yet.
    ASSERT_EQ(c.call("Nope", json::array())["error"]["code"], -32601);
    rlimit before{};
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_NOFILE, nullptr, &before), 0);
    rlimit none = before;
    none.rlim_cur = static_cast<rlim_t>(lowestFreeDescriptor(server.pid()));
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_NOFILE, &none, nullptr), 0);
    const json reply = c.call("GetComissao", json::array());
    ASSERT_EQ(::prlimit(server.pid(), RLIMIT_NOFILE, &before, nullptr), 0);
    EXPECT_EQ(reply["error"]["code"], -32000) << reply.dump();
    EXPECT_EQ(reply["error"]["message"], msg::kSemArquivos);
    EXPECT_EQ(server.log().find(" error "), std::string::npos) << server.log();
    EXPECT_EQ(c.packet("GetComissao", json::array()).rows.size(), 3u);
}

TEST(Fairness, AReadIsAnsweredWhileAChangeLogWaitsForTheStore) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo", "--threads", "1"});
    Client writer(server.port()), reader(server.port());
    WriteLock lock(db.path());
    writer.sendRaw(request("SetCargo", json::array({insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}})})) + "\n");
    std::this_thread::sleep_for(100ms);  // the change log is waiting for the lock by now
    EXPECT_EQ(reader.packet("GetComissao", json::array()).rows.size(), 3u);
    EXPECT_FALSE(writer.readable(0)) << "the read waited for the write";
    lock.release();
    EXPECT_TRUE(json::parse(writer.readLine())["result"].is_null());
    EXPECT_EQ(render(reader.packet("GetVdCargo", {1, "G"})), "G\n");
}

TEST(Shutdown, RequestsInFlightFinishAndAClientThatDoesNotReadHoldsNothingUp) {
    TempDb db;
    ServerProcess server(db.path(), {"--shutdown-grace", "1", "--output-high-water", "4KiB"});
    Client setup(server.port());
    addTables(setup, 100);  // GetComissao's reply is now about 8 KB
    Client greedy(server.port());
    std::string batch = "[";
    for (int k = 0; k < 100; ++k) batch += (k ? "," : "") + request("GetComissao", json::array(), k);
    for (int i = 0; i < 10; ++i) greedy.sendRaw(batch + "]\n");  // 8 MB of replies, never read
    std::this_thread::sleep_for(300ms);  // time to fill the kernel's buffers and stall

    WriteLock lock(db.path());
    Client writer(server.port());
    writer.sendRaw(request("SetCargo", json::array({insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}})})) + "\n");
    std::this_thread::sleep_for(100ms);
    server.terminate();
    std::this_thread::sleep_for(200ms);
    lock.release();
    EXPECT_TRUE(json::parse(writer.readLine())["result"].is_null());  // finished and answered
    EXPECT_EQ(server.stop(), 0) << server.log();  // within the grace, not the ten-minute idle limit
}
