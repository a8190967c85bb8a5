// The history of changes: written with the change, in its transaction, and kept after a delete;
// a delete tells of every row it takes.
#include <gtest/gtest.h>

#include "server_harness.h"

using namespace harness;
using appserver::ListKind;
using nlohmann::json;

TEST(History, RecordsWhatWasAppliedAndNothingElse) {
    TempDb db;
    ServerProcess server(db.path());
    Client c(server.port());
    const double nr = addComissao(c, "Tabela", day(2030, 1, 1), day(2030, 12, 31));
    const wire::Row stored = c.packet("GetComissao", json::array()).rows.at(0);
    wire::Row renamed = stored;
    renamed[1] = str("Tabela \"nova\"; CDFILIAL=0002");  // reads as a field only if unquoted
    EXPECT_EQ(c.set("SetComissao", updateLog(ListKind::Comissao, stored, renamed)), "");

    // A log refused halfway leaves no trace of its first change either.
    const double cargo = addCargo(c, nr, "V");
    json refused = insertLog(ListKind::Cargo, {{wire::Null{}, str("S"), nr}, {wire::Null{}, str("S"), nr}});
    EXPECT_NE(c.set("SetCargo", refused), "");
    EXPECT_EQ(c.set("SetComissao", deleteLog(ListKind::Comissao, renamed)), "");

    EXPECT_EQ(render(c.packet("GetComissao", json::array())), "");
    auto history = c.packet("GetHistorico", {nr});
    ASSERT_EQ(history.rows.size(), 5u);
    // In order; a refused change may have used a number up, and some stores never give it again.
    double last = 0;
    for (auto& row : history.rows) {
        EXPECT_LT(last, std::get<double>(row[0]));
        last = std::get<double>(row[0]);
        row[0] = row[2] = wire::Null{};  // the time is the server's
    }
    const std::string before = R"(NRCOMISSAOOREV=1; DSCOMISSAOOREV="Tabela"; DTVALIDADEINI=2030-01-01; )"
                               R"(DTVALIDADEFIN=2030-12-31; CDFILIAL="0001")";
    const std::string after = R"(NRCOMISSAOOREV=1; DSCOMISSAOOREV="Tabela \"nova\"; CDFILIAL=0002"; )"
                              R"(DTVALIDADEINI=2030-01-01; DTVALIDADEFIN=2030-12-31; CDFILIAL="0001")";
    EXPECT_EQ(render(history),
              "|1||(local)|COMISSAO|INCLUSAO||" + before + "\n"
              "|1||(local)|COMISSAO|ALTERACAO|" + before + "|" + after + "\n"
              "|1||(local)|CARGO|INCLUSAO||NRCOMISSAOCARGOOREV=" + wire::render(cargo) + R"(; IDCARGOVEND="V"; NRCOMISSAOOREV=1)" "\n"
              // The rule goes with its table, and its history ends in its own deletion.
              "|1||(local)|CARGO|EXCLUSAO|NRCOMISSAOCARGOOREV=" + wire::render(cargo) + R"(; IDCARGOVEND="V"; NRCOMISSAOOREV=1)" "|\n"
              "|1||(local)|COMISSAO|EXCLUSAO|" + after + "|\n");
}
