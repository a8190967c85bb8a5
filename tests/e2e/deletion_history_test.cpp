// The history of deleted rows: a rule deleted on the screen, and a table deleted with its
// rules and bands, leave a deletion in GetHistorico for every row that went, cascades
// included, so that the history of every row ends in its deletion.
#include <map>

#include "e2e/band_world.h"

namespace e2e {
namespace {

class DeletionHistory : public BandWorld {};

// "FIELD=value" of a history row's own number: the first field of the row it tells of.
std::string rowKey(const json& change) {
    const std::string& described = change.at(7).get<std::string>().empty() ? change.at(6).get<std::string>()
                                                                          : change.at(7).get<std::string>();
    return change.at(4).get<std::string>() + " " + described.substr(0, described.find(';'));
}

TEST_F(DeletionHistory, EveryRowADeletionTakesEndsItsHistoryWithItsOwnDeletion) {
    seedBands(nr, "CARGO", rule, {{0, 100, 1}, {101, 200, 2}});
    const double s = seedCargo(nr, "S");
    seedBand(nr, "CARGO", s, 0, 50, 3);
    const double e = seedEvento(nr, "001", "Venda", "V");
    seedBands(nr, "TIPOEVENTO", e, {{0, 10, 4}, {11, 20, 5}});
    const double p = seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAEVENTO", "007", "Troca", "V");
    seedBand(nr, "PROMOCAO", p, 0, 30, 6);
    const auto out = run(R"(open
tab tshFormulario
focus dbgCargo
answer yes
click sbtExcluir
tab tshFolhaDados
focus dbgPadrao
answer yes
click sbtExcluir
)");
    EXPECT_EQ(linesStarting(out, "error: "), std::vector<std::string>{}) << out;
    EXPECT_EQ(calls("SetCargo"), 1u);
    EXPECT_EQ(calls("SetComissao"), 1u);
    ASSERT_EQ(storedComissoes().size(), 0u);

    const json history = rows("GetHistorico", json::array({nr}));
    std::map<std::string, std::string> last;  // row -> its last operation
    std::map<std::string, int> deletions;     // list -> deletions
    for (const auto& change : history) {
        last[rowKey(change)] = change.at(5).get<std::string>();
        if (change.at(5) == "EXCLUSAO") ++deletions[change.at(4).get<std::string>()];
    }
    EXPECT_EQ(last.size(), 11u) << history.dump();  // the table, four rules, six bands
    for (const auto& [row, op] : last) EXPECT_EQ(op, "EXCLUSAO") << row;
    EXPECT_EQ(deletions, (std::map<std::string, int>{{"COMISSAO", 1},
                                                     {"CARGO", 2},
                                                     {"TIPOEVENTO", 1},
                                                     {"PROMOCAO", 1},
                                                     {"FAIXACARGO", 3},
                                                     {"FAIXATIPOEVENTO", 2},
                                                     {"FAIXAPROMOCAO", 1}}))
        << history.dump();
    // A band taken with its rule tells what it held.
    bool told = false;
    for (const auto& change : history)
        told |= change.at(4) == "FAIXACARGO" && change.at(5) == "EXCLUSAO" &&
                change.at(6).get<std::string>().find("VRINICIAL=101; VRFINAL=200; VRCOMISSAO=2") != std::string::npos;
    EXPECT_TRUE(told) << history.dump();
}

}  // namespace
}  // namespace e2e
