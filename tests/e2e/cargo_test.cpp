// Position rules through the headless host against a real server.
#include "e2e/scope_world.h"

namespace e2e {
namespace {

class CargoRules : public ScopeWorld {};

TEST_F(CargoRules, SecondRuleWithAStoredPositionIsRefusedAndNothingIsSent) {
    seedCargo(nr, "S");
    const auto out = run(R"(open
tab tshFormulario
click sbtIncluir
pick dbgCargo Supervisor
click sbtConfirmar
show cdsCargo
state
)");
    EXPECT_TRUE(has(out, "message: Cargo já cadastrado.\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "cdsCargo state=insert rows=2")) << out;
    EXPECT_TRUE(has(out, "focus: dbgCargo")) << out;
    EXPECT_EQ(calls("SetCargo"), 0u);
    EXPECT_EQ(rows("GetCargo", json::array({nr})).size(), 1u);
}

TEST_F(CargoRules, LettersTypedIntoThePositionAreDroppedAndAnEmptyPositionIsRefused) {
    const auto out = run(R"(open
tab tshFormulario
click sbtIncluir
type dbgCargo Gerente
show cdsCargo
click sbtConfirmar
state
pick dbgCargo Gerente
key dbgCargo Enter
click sbtConfirmar
show cdsCargo
)");
    EXPECT_TRUE(has(out, "  [1] NRCOMISSAOCARGOOREV=;IDCARGOVEND=;NRCOMISSAOOREV=\n")) << out;
    EXPECT_TRUE(has(out, "message: Cargo deve ser informado.\n")) << out;
    EXPECT_TRUE(has(out, "focus: dbgCargo")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "IDCARGOVEND=G")) << out;
    EXPECT_EQ(calls("SetCargo"), 1u);
}

TEST_F(CargoRules, ChoosingGerenteStoresGAndTheReloadedListStandsOnIt) {
    seedCargo(nr, "V");
    seedCargo(nr, "S");
    const auto out = run(R"(open
tab tshFormulario
click sbtIncluir
pick dbgCargo Gerente
click sbtConfirmar
show cdsCargo
)");
    EXPECT_FALSE(has(out, "message:")) << out;
    const auto shown = lastShow(out, "cdsCargo");
    EXPECT_TRUE(has(shown, "cdsCargo state=browse rows=3 current=3")) << shown;
    const double g = numberOf("GetCargo", 1, "G");
    EXPECT_GT(g, 0);
    // The new rule carries the commission table's number; its own number came from the server.
    EXPECT_EQ(rows("GetCargo", json::array({nr})).back().at(2).get<double>(), nr);
    EXPECT_TRUE(has(shown, "IDCARGOVEND=G;NRCOMISSAOOREV=")) << shown;
}

// A rule edited and posted with its own position must not meet its stored copy.
TEST_F(CargoRules, EditingARuleWithoutChangingItSaves) {
    seedCargo(nr, "V");
    const auto out = run(R"(open
tab tshFormulario
click sbtAlterar
click sbtConfirmar
show cdsCargo
click sbtAlterar
focus dbgPercCargo
state
show cdsCargo
)");
    EXPECT_FALSE(has(out, "message:")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "cdsCargo state=browse rows=1 current=1")) << out;
    EXPECT_TRUE(has(out, "focus: dbgPercCargo")) << out;
}

TEST_F(CargoRules, EditingToAnotherRulesPositionIsRefusedAndToAFreeOneSaves) {
    seedCargo(nr, "V");
    const double s = seedCargo(nr, "S");
    const auto out = run(R"(open
tab tshFormulario
row dbgCargo 2
click sbtAlterar
pick dbgCargo Vendedor
click sbtConfirmar
pick dbgCargo Gerente
click sbtConfirmar
show cdsCargo
)");
    EXPECT_TRUE(has(out, "message: Cargo já cadastrado.\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "state=browse rows=2 current=2")) << out;
    EXPECT_EQ(numberOf("GetCargo", 1, "G"), s);
}

TEST_F(CargoRules, EachMoveInsertStartAndCancelledInsertReloadsTheBands) {
    const double v = seedCargo(nr, "V");
    const double s = seedCargo(nr, "S");
    seedBand(nr, "CARGO", v, 0, 100, 1);
    seedBand(nr, "CARGO", s, 0, 200, 2);
    seedBand(nr, "CARGO", s, 200.01, 300, 3);
    const auto out = run(R"(open
tab tshFormulario
show cdsPercCargo
row dbgCargo 2
show cdsPercCargo
click sbtIncluir
show cdsPercCargo
answer yes
click sbtCancelar
show cdsCargo
show cdsPercCargo
)");
    EXPECT_TRUE(has(out, "cdsPercCargo state=browse rows=1 current=1")) << out;
    EXPECT_TRUE(has(out, "cdsPercCargo state=browse rows=2 current=1")) << out;
    EXPECT_TRUE(has(out, "cdsPercCargo state=browse rows=0 current=0")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "state=browse rows=2 current=2")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "rows=2")) << out;
    const auto sent = bandRequests();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent.front(), v);
    const std::vector<double> tail(sent.end() - 3, sent.end());
    EXPECT_EQ(tail[0], s);
    EXPECT_EQ(tail[1], 0);  // the new rule has no number yet
    EXPECT_EQ(tail[2], s);  // the cancel stands on the supervisor rule again
}

TEST_F(CargoRules, AFailingSendAfterAnInsertRemovesTheRule) {
    seedCargo(nr, "V");
    relay.failMethod("SetCargo", "Falha ao gravar.");
    const auto out = run(R"(open
tab tshFormulario
click sbtIncluir
pick dbgCargo Gerente
click sbtConfirmar
show cdsCargo
)");
    EXPECT_TRUE(has(out, "Falha ao gravar.")) << out;
    const auto shown = lastShow(out, "cdsCargo");
    EXPECT_TRUE(has(shown, "state=browse rows=1")) << shown;
    EXPECT_FALSE(has(shown, "IDCARGOVEND=G")) << shown;
}

}  // namespace
}  // namespace e2e
