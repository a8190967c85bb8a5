#include "wire/packet_json.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "wire/wire_error.h"

using nlohmann::json;
using namespace wire;

namespace {

const char* kFields =
    R"([{"name":"NRCOMISSAOOREV","type":"float"},{"name":"DSCOMISSAOOREV","type":"string","size":5},)"
    R"({"name":"DTVALIDADEINI","type":"datetime"}])";

json packetWith(const std::string& rows) {
    return json::parse(std::string(R"({"fields":)") + kFields + R"(,"rows":)" + rows + "}");
}

// The WireError text of parsing `j`, or "ok".
template <typename F>
std::string errorOf(F parse, const json& j) {
    try {
        parse(j);
        return "ok";
    } catch (const WireError& e) {
        return e.what();
    }
}

std::string packetError(const std::string& rows) { return errorOf(packetFromJson, packetWith(rows)); }

}  // namespace

TEST(PacketJson, RoundTripKeepsEveryValue) {
    DataPacket p = packetFromJson(packetWith(R"([[1,"Tab",  "2025-01-01T00:00:00"],[2.5,null,null],[null,"ção",null]])"));
    ASSERT_EQ(p.rows.size(), 3u);
    EXPECT_EQ(p.fields[1].size, 5);
    EXPECT_EQ(std::get<double>(p.rows[0][0]), 1.0);
    EXPECT_EQ(std::get<DateTime>(p.rows[0][2]), DateTime::fromYmd(2025, 1, 1));
    EXPECT_TRUE(isNull(p.rows[1][1]));
    EXPECT_EQ(p.fieldIndex("DTVALIDADEINI"), 2);
    EXPECT_EQ(p.fieldIndex("dtvalidadeini"), -1);
    EXPECT_EQ(packetFromJson(json::parse(toJson(p).dump())), p);
    EXPECT_EQ(toJson(p)["rows"][0], json::parse(R"([1.0,"Tab","2025-01-01T00:00:00"])"));
}

TEST(PacketJson, MalformedRowsNameThePlace) {
    EXPECT_EQ(packetError(R"([[1,"a",null],[1,"b",null],[1,2,null]])"),
              R"(rows[2][1]: expected a string for string field "DSCOMISSAOOREV")");
    EXPECT_EQ(packetError(R"([["x","a",null]])"), R"(rows[0][0]: expected a number for float field "NRCOMISSAOOREV")");
    EXPECT_EQ(packetError(R"([[1,"abcdef",null]])"),
              R"(rows[0][1]: text longer than 5 characters for field "DSCOMISSAOOREV")");
    EXPECT_EQ(packetError(R"([[1,"a","2025-02-30T00:00:00"]])"),
              R"(rows[0][2]: invalid date "2025-02-30T00:00:00" for datetime field "DTVALIDADEINI")");
    EXPECT_EQ(packetError(R"([[1,"a"]])"), "rows[0]: expected 3 values, got 2");
    EXPECT_EQ(packetError(R"([[1,"a",null,4]])"), "rows[0]: expected 3 values, got 4");
    EXPECT_EQ(packetError(R"({"a":1})"), "rows: expected an array");
    EXPECT_EQ(packetError(R"([7])"), "rows[0]: expected an array");
    EXPECT_EQ(packetError(R"([[1,"áéíóú",null]])"), "ok");  // five characters, ten bytes
}

TEST(PacketJson, MalformedFieldListsAreRefused) {
    auto err = [](const char* text) { return errorOf(packetFromJson, json::parse(text)); };
    EXPECT_EQ(err(R"([])"), "packet: expected an object");
    EXPECT_EQ(err(R"({"rows":[]})"), R"(packet: missing "fields")");
    EXPECT_EQ(err(R"({"fields":[]})"), R"(packet: missing "rows")");
    EXPECT_EQ(err(R"({"fields":[{"name":"A","type":"blob"}],"rows":[]})"), R"(fields[0]: unknown type "blob" for field "A")");
    EXPECT_EQ(err(R"({"fields":[{"name":"A","type":"string"}],"rows":[]})"),
              R"(fields[0]: expected a positive "size" for string field "A")");
    EXPECT_EQ(err(R"({"fields":[{"name":"A","type":"float"},{"name":"A","type":"float"}],"rows":[]})"),
              R"(fields[1]: duplicate field "A")");
    EXPECT_EQ(err(R"({"fields":[{"type":"float"}],"rows":[]})"), R"(fields[0]: expected a non-empty "name" string)");
}

TEST(ChangeLogJson, RoundTripAndOperationShapes) {
    ChangeLog log;
    log.fields = {{"NR", FieldType::Float, 0}, {"DS", FieldType::String, 10}};
    log.changes = {{ChangeOp::Insert, {}, {Null{}, std::string("novo")}},
                   {ChangeOp::Update, {1.0, std::string("a")}, {1.0, std::string("b")}},
                   {ChangeOp::Delete, {2.0, std::string("c")}, {}}};
    const json j = toJson(log);
    EXPECT_FALSE(j["changes"][0].contains("old"));
    EXPECT_FALSE(j["changes"][2].contains("new"));
    EXPECT_EQ(j["changes"][1]["op"], "update");
    EXPECT_EQ(changeLogFromJson(json::parse(j.dump())), log);
}

TEST(ChangeLogJson, MalformedChangesNameThePlace) {
    auto err = [](const std::string& changes) {
        return errorOf(changeLogFromJson,
                       json::parse(R"({"fields":[{"name":"NR","type":"float"}],"changes":)" + changes + "}"));
    };
    EXPECT_EQ(err(R"([{"op":"insert","new":[1]},{"op":"upsert","new":[1]}])"), R"(changes[1]: unknown op "upsert")");
    EXPECT_EQ(err(R"([{"op":"update","new":[1]}])"), R"(changes[0]: missing "old" for update)");
    EXPECT_EQ(err(R"([{"op":"delete","old":[1],"new":[1]}])"), R"(changes[0]: unexpected "new" for delete)");
    EXPECT_EQ(err(R"([{"op":"insert","new":["1"]}])"), R"(changes[0].new[0]: expected a number for float field "NR")");
    EXPECT_EQ(err(R"([{"op":"delete","old":[]}])"), "changes[0].old: expected 1 values, got 0");
    EXPECT_EQ(err(R"([{"new":[1]}])"), R"(changes[0]: expected an "op" string)");
    EXPECT_EQ(err(R"({})"), "changes: expected an array");
}
