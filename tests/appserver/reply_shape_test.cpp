// Every read answers with the stored rows it names, in order; the fields of each reply are checked
// against the screen's data sets in the model's tests.
#include <gtest/gtest.h>

#include "server_harness.h"

using namespace harness;
using nlohmann::json;

namespace {

class ReplyShape : public ::testing::Test {
protected:
    TempDb db;
    ServerProcess server{db.path(), {"--demo", "--demo-year", "2026"}};
    Client client{server.port()};
};

}  // namespace

TEST_F(ReplyShape, ListsCarryTheirStoredRowsInOrder) {
    const auto tables = client.packet("GetComissao", json::array());
    // The year given and the years either side of it.
    EXPECT_EQ(render(tables), "1|Comissão 2025|2025-01-01|2025-12-31|0001\n2|Comissão 2026|2026-01-01|2026-12-31|0001\n"
                              "3|Comissão 2027|2027-01-01|2027-12-31|0001\n");

    const auto cargos = client.packet("GetCargo", {1});
    EXPECT_EQ(render(cargos), "1|V|1\n2|S|1\n");

    const auto eventos = client.packet("GetEvento", {1});
    EXPECT_EQ(render(eventos), "1|1|001|Venda|V\n2|1|002|Troca|S\n");

    const auto promos = client.packet("GetPromocao", {1});
    ASSERT_EQ(promos.rows.size(), 2u);
    EXPECT_FALSE(wire::isNull(promos.rows[0][8]));  // the server stamps the inclusion date

    const auto bands = client.packet("GetPercentual", {1, 1, "CARGO"});
    EXPECT_EQ(render(bands), "1|1|CARGO|1|||0|1000|1.5\n2|1|CARGO|1|||1000.01|5000|2\n3|1|CARGO|1|||5000.01|999999.99|2.5\n");
    EXPECT_EQ(render(client.packet("GetPercentual", {1, 1, "TIPOEVENTO"})), "7|1|TIPOEVENTO||1||0|2000|3\n8|1|TIPOEVENTO||1||2000.01|8000|3.5\n");
    EXPECT_EQ(render(client.packet("GetPercentual", {1, 1, "PROMOCAO"})), "10|1|PROMOCAO|||1|0|500|5\n11|1|PROMOCAO|||1|500.01|3000|6\n");
}

TEST_F(ReplyShape, ChecksCarryTheRowsToCompareWith) {
    const auto vdCargo = client.packet("GetVdCargo", {1, "V"});
    EXPECT_EQ(render(vdCargo), "V\n");
    EXPECT_EQ(render(client.packet("GetVdCargo", {1, "G"})), "");  // no rule for managers in 2025

    const auto cad = client.packet("getEventoCad", {1, "001", "V"});
    EXPECT_EQ(render(cad), "1\n");
    EXPECT_EQ(render(client.packet("getEventoCad", {1, "001", "S"})), "");

    const auto dtPromo = client.packet("getVdDtPromo", {1});
    EXPECT_EQ(render(dtPromo), "2025-03-01|2025-03-31|1|DATAEVENTO|001|V\n2025-11-01|2025-11-30|2|DATAFECHAMENTO|002|S\n");

    EXPECT_EQ(render(client.packet("getVdVrCargo", {1, 1})), "0|1000|1\n1000.01|5000|2\n5000.01|999999.99|3\n");
    EXPECT_EQ(render(client.packet("getVdVrEvento", {1, 1})), "0|2000|7\n2000.01|8000|8\n");
    EXPECT_EQ(render(client.packet("getVdVrPromocao", {1, 1})), "0|500|10\n500.01|3000|11\n");
}

TEST_F(ReplyShape, UnknownNumbersGiveEmptyPacketsNotErrors) {
    EXPECT_EQ(render(client.packet("GetCargo", {999})), "");
    EXPECT_EQ(render(client.packet("GetPercentual", {1, 0, "CARGO"})), "");  // a rule not yet sent
    EXPECT_EQ(render(client.packet("GetPercentual", {1, 1.5, "CARGO"})), "");
    EXPECT_EQ(render(client.packet("getVdVrCargo", {2, 1})), "");  // rule 1 belongs to table 1
}

TEST_F(ReplyShape, SetMethodsAnswerNull) {
    const json r = client.result("SetComissao", json::array({insertLog(appserver::ListKind::Comissao, {})}));
    EXPECT_TRUE(r.is_null());
}
