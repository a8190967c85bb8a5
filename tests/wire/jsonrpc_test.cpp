#include "wire/jsonrpc.h"

#include <gtest/gtest.h>

#include "wire/wire_error.h"

using nlohmann::json;
using namespace wire::rpc;

namespace {
int requestErrorCode(const char* text) {
    try {
        parseRequest(json::parse(text));
    } catch (const RpcError& e) {
        return e.code();
    }
    return 0;
}
}  // namespace

TEST(JsonRpc, RequestsAndNotifications) {
    Request r = parseRequest(json::parse(R"({"jsonrpc":"2.0","id":7,"method":"GetCargo","params":[12]})"));
    EXPECT_FALSE(r.notification);
    EXPECT_EQ(r.id, 7);
    EXPECT_EQ(r.method, "GetCargo");
    EXPECT_EQ(r.params, json::array({12}));

    Request n = parseRequest(json::parse(R"({"jsonrpc":"2.0","method":"GetComissao"})"));
    EXPECT_TRUE(n.notification);
    EXPECT_EQ(n.params, json::array());

    Request nullId = parseRequest(json::parse(R"({"jsonrpc":"2.0","id":null,"method":"X"})"));
    EXPECT_FALSE(nullId.notification);

    EXPECT_EQ(parseRequest(makeRequest("a", "M", json::array({1}))).id, "a");
    EXPECT_TRUE(parseRequest(makeRequest(nullptr, "M", json::array())).notification);
}

TEST(JsonRpc, InvalidRequestsCarryTheirCode) {
    EXPECT_EQ(requestErrorCode(R"([1])"), InvalidRequest);
    EXPECT_EQ(requestErrorCode(R"({"id":1,"method":"M"})"), InvalidRequest);
    EXPECT_EQ(requestErrorCode(R"({"jsonrpc":"1.0","id":1,"method":"M"})"), InvalidRequest);
    EXPECT_EQ(requestErrorCode(R"({"jsonrpc":"2.0","id":1,"method":5})"), InvalidRequest);
    EXPECT_EQ(requestErrorCode(R"({"jsonrpc":"2.0","id":{},"method":"M"})"), InvalidRequest);
    EXPECT_EQ(requestErrorCode(R"({"jsonrpc":"2.0","id":1,"method":"M","params":3})"), InvalidRequest);
    EXPECT_EQ(requestErrorCode(R"({"jsonrpc":"2.0","id":1,"method":"M","params":{"a":1}})"), InvalidParams);
}

TEST(JsonRpc, Replies) {
    Reply ok = parseReply(makeResult(3, nullptr));
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(ok.id, 3);
    EXPECT_TRUE(ok.result.is_null());
    Reply err = parseReply(makeError(4, ApplicationError, "Período inválido."));
    EXPECT_FALSE(err.ok);
    EXPECT_EQ(err.code, ApplicationError);
    EXPECT_EQ(err.message, "Período inválido.");
    for (const char* bad : {R"({"jsonrpc":"2.0","id":1})", R"({"jsonrpc":"2.0","id":1,"result":1,"error":{}})",
                            R"({"jsonrpc":"2.0","result":1})", R"({"jsonrpc":"2.0","id":1,"error":{"code":"x","message":"m"}})",
                            R"("x")"})
        EXPECT_THROW(parseReply(json::parse(bad)), wire::WireError) << bad;
}

TEST(JsonRpc, LinesHoldNoNewlineAndSurviveBadText) {
    const std::string line = toLine(makeResult(1, "a\nb"));
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(json::parse(line)["result"], "a\nb");
    EXPECT_NO_THROW(toLine(makeResult(1, std::string("\xff\xfe"))));
}
