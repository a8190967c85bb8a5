// Bad input gets a clear JSON-RPC error or a closed connection, and the server goes on serving.
#include <gtest/gtest.h>

#include <chrono>
#include <sys/socket.h>
#include <thread>

#include "appserver/messages.h"
#include "server_harness.h"
#include "wire/jsonrpc.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

namespace {

class BadInput : public ::testing::Test {
protected:
    TempDb db;
    ServerProcess server{db.path(), {"--demo", "--demo-year", "2026"}};
    Client client{server.port()};

    // The error code of the reply to one raw line.
    int codeOf(const std::string& line) {
        client.sendRaw(line + "\n");
        const json reply = json::parse(client.readLine());
        return reply.at("error").at("code").get<int>();
    }
    // A good request still works, on this connection and on a fresh one.
    void stillServes() {
        EXPECT_EQ(client.packet("GetComissao", json::array()).rows.size(), 3u);
        Client fresh(server.port());
        EXPECT_EQ(fresh.packet("GetCargo", {1}).rows.size(), 2u);
    }
};

}  // namespace

TEST_F(BadInput, MalformedMessages) {
    EXPECT_EQ(codeOf("{\"jsonrpc\":\"2.0\",\"id\":1,"), -32700);
    EXPECT_EQ(codeOf("not json at all"), -32700);
    EXPECT_EQ(codeOf("\"\xff\xfe\""), -32700);                       // not UTF-8
    EXPECT_EQ(codeOf(std::string(100000, '[') + std::string(100000, ']')), -32700);  // nesting bomb
    std::string manyValues = R"({"jsonrpc":"2.0","id":1,"method":"GetCargo","params":[0)";
    for (int i = 0; i < 70000; ++i) manyValues += ",0";
    EXPECT_EQ(codeOf(manyValues + "]}"), -32600);  // refused before it is parsed: its tree would be large
    // A NUL byte would end the parser's input early, and the rest would pass for valid.
    EXPECT_EQ(codeOf(R"({"jsonrpc":"2.0","id":1,"method":"GetComissao"})" + std::string(1, '\0') + " junk"), -32700);
    EXPECT_EQ(codeOf("{\"id\":1,\"method\":\"GetComissao\"}"), -32600);  // no "jsonrpc"
    EXPECT_EQ(codeOf("42"), -32600);
    EXPECT_EQ(codeOf("[]"), -32600);
    stillServes();
}

TEST_F(BadInput, UnknownMethodsAndWrongParameters) {
    EXPECT_EQ(client.call("DropEverything", json::array())["error"]["code"], -32601);
    EXPECT_EQ(client.call("getcomissao", json::array())["error"]["code"], -32601);  // names are case-sensitive
    EXPECT_EQ(client.call("GetCargo", json::array())["error"]["code"], -32602);
    EXPECT_EQ(client.call("GetCargo", {1, 2})["error"]["code"], -32602);
    EXPECT_EQ(client.call("GetCargo", {"1"})["error"]["code"], -32602);
    EXPECT_EQ(client.call("GetPercentual", {1, 1, "SALARIO"})["error"]["code"], -32602);
    EXPECT_EQ(client.call("GetVdCargo", {1, 5})["error"]["code"], -32602);
    EXPECT_EQ(client.call("SetCargo", {"log"})["error"]["code"], -32602);
    EXPECT_EQ(codeOf(R"({"jsonrpc":"2.0","id":3,"method":"GetCargo","params":{"nr":1}})"), -32602);
    stillServes();
}

TEST_F(BadInput, MalformedChangeLogsChangeNothing) {
    const std::string before = render(client.packet("GetCargo", {1}));
    auto codeAndText = [&](const json& log, const char* method = "SetCargo") {
        const json reply = client.call(method, json::array({log}));
        return std::to_string(reply["error"]["code"].get<int>()) + " " + reply["error"]["message"].get<std::string>();
    };
    json unknownField = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    unknownField["fields"][1]["name"] = "IDCARGO";
    EXPECT_EQ(codeAndText(unknownField), R"(-32602 Invalid params: fields[1]: unknown field "IDCARGO")");

    json wrongType = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    wrongType["changes"][0]["new"][2] = "1";
    EXPECT_EQ(codeAndText(wrongType),
              R"(-32602 Invalid params: changes[0].new[2]: expected a number for float field "NRCOMISSAOOREV")");

    json missingField = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    missingField["fields"].erase(2);
    for (auto& c : missingField["changes"]) c["new"].erase(2);
    EXPECT_EQ(codeAndText(missingField), R"(-32602 Invalid params: fields: missing field "NRCOMISSAOOREV")");

    json tooLong = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    tooLong["fields"][1]["size"] = 10;
    tooLong["changes"][0]["new"][1] = "Gerente";
    EXPECT_EQ(codeAndText(tooLong),
              R"(-32602 Invalid params: changes[0].new[1]: text longer than 1 characters for field "IDCARGOVEND")");

    json sizeZero = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    sizeZero["fields"][1]["size"] = 0;
    EXPECT_EQ(codeAndText(sizeZero),
              R"(-32602 Invalid params: fields[1]: expected a positive "size" for string field "IDCARGOVEND")");

    json leapSecond = insertLog(ListKind::Comissao, {{wire::Null{}, str("T"), day(2030, 1, 1), day(2030, 12, 31), str("0001")}});
    leapSecond["changes"][0]["new"][3] = "2030-12-31T23:59:60";
    EXPECT_EQ(codeAndText(leapSecond, "SetComissao"),
              R"(-32602 Invalid params: changes[0].new[3]: invalid date "2030-12-31T23:59:60" for datetime field "DTVALIDADEFIN")");

    json shortRow = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    shortRow["changes"][0]["new"].erase(0);
    EXPECT_EQ(codeAndText(shortRow), "-32602 Invalid params: changes[0].new: expected 3 values, got 2");

    const wire::Row missingRow = {12345.0, str("V"), 1.0};
    EXPECT_EQ(client.set("SetCargo", deleteLog(ListKind::Cargo, missingRow)), appserver::msg::kRegistroExcluido);

    EXPECT_EQ(render(client.packet("GetCargo", {1})), before);
    stillServes();
}

TEST_F(BadInput, BatchesAndNotifications) {
    client.sendRaw(R"([{"jsonrpc":"2.0","id":"a","method":"GetVdCargo","params":[1,"V"]},)"
                   R"({"jsonrpc":"2.0","method":"GetComissao"},)"
                   R"({"jsonrpc":"2.0","id":"b","method":"Nope"},)"
                   R"(7])"
                   "\n");
    const json replies = json::parse(client.readLine());
    ASSERT_TRUE(replies.is_array());
    ASSERT_EQ(replies.size(), 3u);  // the notification gets none
    EXPECT_EQ(replies[0]["id"], "a");
    EXPECT_EQ(replies[0]["result"]["rows"], json::parse(R"([["V"]])"));
    EXPECT_EQ(replies[1]["error"]["code"], -32601);
    EXPECT_EQ(replies[2]["error"]["code"], -32600);
    EXPECT_TRUE(replies[2]["id"].is_null());

    // Notifications alone get no reply at all, yet a Set notification is applied.
    json log = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}});
    client.sendRaw(wire::rpc::toLine(wire::rpc::makeRequest(nullptr, "SetCargo", json::array({log}))) + "\n" +
                   R"([{"jsonrpc":"2.0","method":"GetComissao"}])" + "\n");
    EXPECT_EQ(render(client.packet("GetVdCargo", {1, "G"})), "G\n");  // the very next line answers this call

    // Nor are notifications whose params are wrong, alone or in a batch.
    client.sendRaw(R"({"jsonrpc":"2.0","method":"GetCargo","params":{"nr":1}})" "\n"
                   R"([{"jsonrpc":"2.0","method":"GetCargo","params":7},{"jsonrpc":"2.0","method":"GetCargo","params":["x"]}])"
                   "\n");
    EXPECT_EQ(render(client.packet("GetVdCargo", {1, "V"})), "V\n");
}

TEST_F(BadInput, IdsComeBackExactlyAsSent) {
    // A parser reads 2^64 as a float, 1.0 as 1 or 1e2 as 100.0; the reply gives back the request's own text.
    std::string batch;
    for (const std::string id : {"18446744073709551616", "-9223372036854775809", "1.0", "1e2", "-0", "0.1",
                                 R"("a\u0062")"}) {
        client.sendRaw(R"({"jsonrpc":"2.0","id":)" + id + R"(,"method":"GetVdCargo","params":[1,"V"]})" "\n");
        EXPECT_EQ(client.readLine().substr(0, id.size() + 6), R"({"id":)" + id) << id;
        batch += (batch.empty() ? "[" : ",") + std::string(R"({"jsonrpc":"2.0","id":)") + id + R"(,"method":"Nope"})";
    }
    client.sendRaw(batch + "]\n");
    const std::string replies = client.readLine();
    for (const char* id : {"18446744073709551616,", "1e2,", "-0,", R"("a\u0062",)"})
        EXPECT_NE(replies.find(std::string(R"("id":)") + id), std::string::npos) << id << " in " << replies;
}

// A number no double can hold is the client's mistake: refused with the request's id, as a
// parameter, an id or inside a change log; a notification holding one is not answered, and the
// rest of a batch is served.
TEST_F(BadInput, NumbersTooLargeForADouble) {
    client.sendRaw(R"({"jsonrpc":"2.0","id":7,"method":"GetCargo","params":[1e400]})" "\n");
    json reply = json::parse(client.readLine());
    EXPECT_EQ(reply["id"], 7);
    EXPECT_EQ(reply["error"]["code"], -32602);
    client.sendRaw(R"({"jsonrpc":"2.0","id":-1e400,"method":"GetComissao","params":[]})" "\n");
    const std::string raw = client.readLine();
    EXPECT_NE(raw.find(R"("id":-1e400,)"), std::string::npos) << raw;
    EXPECT_NE(raw.find("-32602"), std::string::npos) << raw;
    std::string log = insertLog(ListKind::Cargo, {{wire::Null{}, str("G"), 1.0}}).dump();
    log.replace(log.rfind("1.0"), 3, "1E+400");
    client.sendRaw(R"({"jsonrpc":"2.0","method":"SetCargo","params":[)" + log + "]}\n" +
                   R"([{"jsonrpc":"2.0","id":"a","method":"SetCargo","params":[)" + log + "]}," +
                   R"({"jsonrpc":"2.0","id":"b","method":"GetVdCargo","params":[1,"V"]}])" "\n");
    reply = json::parse(client.readLine());  // the notification got none
    ASSERT_EQ(reply.size(), 2u);
    EXPECT_EQ(reply[0]["id"], "a");
    EXPECT_EQ(reply[0]["error"]["code"], -32602);
    EXPECT_EQ(reply[1]["result"]["rows"], json::parse(R"([["V"]])"));
    EXPECT_EQ(render(client.packet("GetVdCargo", {1, "G"})), "");  // nothing stored
    EXPECT_EQ(server.log().find(" error "), std::string::npos) << server.log();
    stillServes();
}

// A client that sends all it has and shuts its side still reads every reply, in order, and
// then the end of the stream. It reads nothing before it has shut its side, and the replies
// are far more than the sockets hold: the server meets the end of the requests with most of
// its answers still unsent.
TEST(HalfClosedConnections, StillGetTheWholeReply) {
    TempDb db;
    ServerProcess server(db.path(), {"--demo", "--output-high-water", "64MiB"});  // reads every request at once
    Client client(server.port());
    constexpr int kBatches = 200, kCalls = 100;
    std::string requests;
    for (int b = 0; b < kBatches; ++b) {
        requests += '[';
        for (int i = 0; i < kCalls; ++i)
            requests += (i ? "," : "") + std::string(R"({"jsonrpc":"2.0","id":)") + std::to_string(b * kCalls + i) +
                        R"(,"method":"GetComissao"})";
        requests += "]\n";
    }
    client.sendRaw(requests);
    ASSERT_EQ(::shutdown(client.fd(), SHUT_WR), 0);
    for (int b = 0; b < kBatches; ++b) {
        const std::string line = client.readLine();
        ASSERT_FALSE(line.empty()) << "the reply ended after " << b << " of " << kBatches << " batches";
        const json replies = json::parse(line);
        ASSERT_EQ(replies.size(), static_cast<std::size_t>(kCalls));
        ASSERT_EQ(replies.back()["id"], b * kCalls + kCalls - 1);
        ASSERT_EQ(replies.back()["result"]["rows"].size(), 3u);  // last year, this year and next
    }
    EXPECT_TRUE(client.closedByServer());
}

TEST_F(BadInput, AnOverlongMessageClosesOnlyThatConnection) {
    Client bystander(server.port());
    Client flooder(server.port());
    std::string huge = R"({"jsonrpc":"2.0","id":1,"method":"GetComissao","params":[")";
    huge.append(16u * 1024u * 1024u + 10, 'x');
    try {
        flooder.sendRaw(huge);  // the server may close before it has read everything
    } catch (const std::runtime_error&) {
    }
    const std::string line = flooder.readLine();
    if (!line.empty()) {
        EXPECT_EQ(json::parse(line)["error"]["code"], -32600);
    }
    EXPECT_TRUE(flooder.closedByServer());
    EXPECT_EQ(bystander.packet("GetComissao", json::array()).rows.size(), 3u);
    stillServes();
}

TEST_F(BadInput, ClientsThatVanishOrFallSilent) {
    {
        Client quitter(server.port());
        quitter.sendRaw(R"({"jsonrpc":"2.0","id":1,"method":"SetCargo","params":[{"fields":)");  // and goes
    }
    {
        Client rude(server.port());
        for (int i = 0; i < 50; ++i) rude.sendRaw(R"({"jsonrpc":"2.0","id":1,"method":"GetComissao"})" "\n");
    }  // leaves without reading its replies
    stillServes();
}

TEST(IdleConnections, AreClosedAfterTheTimeout) {
    TempDb db;
    ServerProcess server(db.path(), {"--idle-timeout", "1"});
    Client silent(server.port());
    EXPECT_TRUE(silent.closedByServer());  // after one second of silence
    Client next(server.port());
    EXPECT_EQ(next.packet("GetComissao", json::array()).rows.size(), 0u);
}

TEST(IdleConnections, AConnectionThatKeepsTalkingOutlivesTheTimeout) {
    TempDb db;
    ServerProcess server(db.path(), {"--idle-timeout", "1"});
    Client talker(server.port());
    // Requests a quarter of the timeout apart, for well over the timeout in all.
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(talker.packet("GetComissao", json::array()).rows.size(), 0u) << "request " << i;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_TRUE(talker.closedByServer());  // silent at last
}
