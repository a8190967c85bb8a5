// The direct JSON writer must give the very bytes the json-tree path gives, for every kind of value.
#include "wire/packet_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

#include "wire/jsonrpc.h"
#include "wire/packet_json.h"

using nlohmann::json;
using namespace wire;

namespace {

const std::vector<FieldDef> kFields = {
    {"NR", FieldType::Float, 0}, {"DS", FieldType::String, 30}, {"DT", FieldType::DateTime, 0}};

std::string viaTree(const DataPacket& p) { return rpc::toLine(toJson(p)); }

DataPacket withFloats(const std::vector<double>& values) {
    DataPacket p{kFields, {}};
    for (double d : values) p.rows.push_back({d, Null{}, Null{}});
    return p;
}

DataPacket withStrings(const std::vector<std::string>& values) {
    DataPacket p{kFields, {}};
    for (const auto& s : values) p.rows.push_back({Null{}, s, Null{}});
    return p;
}

}  // namespace

TEST(PacketText, EmptyAndTypicalPacketsMatchTheTree) {
    const DataPacket empty;
    EXPECT_EQ(toJsonText(empty), viaTree(empty));
    EXPECT_EQ(toJsonText(empty), R"({"fields":[],"rows":[]})");

    DataPacket noRows{kFields, {}};
    EXPECT_EQ(toJsonText(noRows), viaTree(noRows));

    DataPacket p{kFields,
                 {{1.0, std::string("Tabela 2025"), DateTime::fromYmd(2025, 1, 1)},
                  {2.5, Null{}, DateTime::fromYmd(2025, 12, 31, 23, 59, 59)},
                  {Null{}, std::string(""), Null{}}}};
    EXPECT_EQ(toJsonText(p), viaTree(p));
    EXPECT_EQ(toJsonText(p), R"({"fields":[{"name":"NR","type":"float"},{"name":"DS","size":30,"type":"string"},)"
                             R"({"name":"DT","type":"datetime"}],"rows":[[1.0,"Tabela 2025","2025-01-01T00:00:00"],)"
                             R"([2.5,null,"2025-12-31T23:59:59"],[null,"",null]]})");
}

TEST(PacketText, FloatsMatchTheTreeDigitForDigit) {
    const double inf = std::numeric_limits<double>::infinity();
    const DataPacket corners = withFloats({0.0, -0.0, 1.0, -1.0, 0.1, 0.2 + 0.1, 99.99, 1.0 / 3, 1e15, 1e16, 1e17,
                                           1e21, 1e22, 1e-5, 1e-7, 123456789012345678.0, 5e-324,
                                           1.7976931348623157e308, std::nan(""), inf, -inf});
    EXPECT_EQ(toJsonText(corners), viaTree(corners));

    // Random bit patterns reach the corners of the shortest-digits search that tidy values miss.
    std::mt19937_64 rng(52300);
    std::uniform_real_distribution<double> money(-1e7, 1e7);
    std::vector<double> values;
    for (int i = 0; i < 5000; ++i) {
        double d;
        const auto bits = rng();
        std::memcpy(&d, &bits, sizeof d);
        values.push_back(d);
        values.push_back(money(rng));
        values.push_back(std::round(money(rng) * 100) / 100);
    }
    const DataPacket p = withFloats(values);
    EXPECT_EQ(toJsonText(p), viaTree(p));
}

TEST(PacketText, StringsEscapeAsTheTreeDoes) {
    const std::vector<std::string> texts = {
        "plain", "Comissão de Vendas", "aspas \" e barra \\", "linha\nnova\ttab\r", std::string("nul\0x", 5),
        "\x01\x1f\x7f", "only \x1f here", "emoji \xF0\x9F\x98\x80", "bad \xC3 utf8", "\xFF\xFE", "trunc \xE2\x82", "/ slash"};
    const DataPacket p = withStrings(texts);
    EXPECT_EQ(toJsonText(p), viaTree(p));

    DataPacket oddNames{{{"NOME \"X\"", FieldType::String, 1}, {"Ação", FieldType::Float, 0}}, {}};
    EXPECT_EQ(toJsonText(oddNames), viaTree(oddNames));
}

// A backslash with no quote beside it must still be escaped: unescaped, "C:\temp" reads back
// with a tab and a lone trailing one swallows the closing quote.
TEST(PacketText, BackslashesReadBackAsTyped) {
    const std::vector<std::string> texts = {"C:\\temp", "x\\2", "a\\\"b", "\\t\\n\\u0041", "fim\\", "\\", "\\\\"};
    for (const auto& text : texts) {
        const DataPacket p = withStrings({text});
        const std::string line = toJsonText(p);
        EXPECT_EQ(line, viaTree(p)) << text;
        DataPacket back;
        ASSERT_NO_THROW(back = packetFromJson(json::parse(line))) << line;
        EXPECT_EQ(back, p) << line;
    }
}

TEST(PacketText, ResultLineMatchesTheEnvelopeOfTheTree) {
    const DataPacket p{kFields, {{7.0, std::string("x"), DateTime::fromYmd(2026, 2, 28)}}};
    for (const json& id : {json(1), json(-3), json(2.5), json("abc"), json("a\"b\\c\n"), json(nullptr),
                           json(std::uint64_t{18446744073709551615ull})})
        EXPECT_EQ(rpc::resultLine(id, toJsonText(p)), rpc::toLine(rpc::makeResult(id, toJson(p))));
    EXPECT_EQ(rpc::resultLine(1, "null"), rpc::toLine(rpc::makeResult(1, nullptr)));
    for (const json& id : {json(7), json("a\"b"), json(nullptr)})
        EXPECT_EQ(rpc::errorLineFor(rpc::toLine(id), -32000, "Período \"inválido\"\n"),
                  rpc::toLine(rpc::makeError(id, -32000, "Período \"inválido\"\n")));
}
