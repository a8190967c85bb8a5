// The toolbar, page, menu and navigator commands and the enabling of every control,
// played through the headless host against a real application server.
#include <gtest/gtest.h>

#include "e2e/screen_world.h"
#include "e2e/rpc_recorder.h"

namespace comissao_e2e {
namespace {

using CommandsEndToEnd = ScreenWorld;

// The state block as the host prints it: seven buttons, four pages, four page items.
std::string block(const std::string& buttons, const std::string& pages, const std::string& focus) {
    return buttons + pages + "focus: " + focus + "\n";
}

const std::string kOnlyConfirmCancel =
    "sbtIncluir disabled\nsbtAlterar disabled\nsbtExcluir disabled\nsbtConfirmar enabled\n"
    "sbtCancelar enabled\nsbtProcurar disabled\nsbtVerificar disabled\n";

TEST_F(CommandsEndToEnd, EmptyCommissionListOffersOnlyInsertAndShutsTheScopePages) {
    auto r = run("open\nstate\nclick sbtIncluir\nstate\n");
    const auto states = stateBlocks(r.out);
    ASSERT_EQ(states.size(), 2u) << r.out;
    const std::string scopesShut =
        "tshFolhaDados enabled active\ntshFormulario disabled\ntshEvento disabled\ntshPromocao disabled\n"
        "mnuFolhaDados enabled checked\nmnuFormulario disabled\nmnuTipoEvento disabled\nmnuPromocao disabled\n";
    EXPECT_EQ(states[0], block("sbtIncluir enabled\nsbtAlterar disabled\nsbtExcluir disabled\nsbtConfirmar disabled\n"
                               "sbtCancelar disabled\nsbtProcurar disabled\nsbtVerificar disabled\n",
                               scopesShut, "dbgPadrao"));
    EXPECT_EQ(states[1], block(kOnlyConfirmCancel, scopesShut, "dbgPadrao"));
}

TEST_F(CommandsEndToEnd, EditingTheCommissionListShutsTheScopePagesAndTheirMenuItems) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    auto r = run("open\nstate\nclick sbtAlterar\nstate\nmenu mnuTipoEvento\ntab tshFormulario\n");
    const auto states = stateBlocks(r.out);
    ASSERT_EQ(states.size(), 2u) << r.out;
    EXPECT_EQ(states[0],
              block("sbtIncluir enabled\nsbtAlterar enabled\nsbtExcluir enabled\nsbtConfirmar disabled\n"
                    "sbtCancelar disabled\nsbtProcurar enabled\nsbtVerificar enabled\n",
                    "tshFolhaDados enabled active\ntshFormulario enabled\ntshEvento enabled\ntshPromocao enabled\n"
                    "mnuFolhaDados enabled checked\nmnuFormulario enabled\nmnuTipoEvento enabled\n"
                    "mnuPromocao enabled\n",
                    "dbgPadrao"));
    EXPECT_EQ(states[1], block(kOnlyConfirmCancel,
                               "tshFolhaDados enabled active\ntshFormulario disabled\ntshEvento disabled\n"
                               "tshPromocao disabled\nmnuFolhaDados enabled checked\nmnuFormulario disabled\n"
                               "mnuTipoEvento disabled\nmnuPromocao disabled\n",
                               "dbgPadrao"));
    EXPECT_TRUE(hasLine(r.out, "refused: mnuTipoEvento disabled")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "refused: tshFormulario disabled")) << r.out;
}

TEST_F(CommandsEndToEnd, EmptyRuleListAllowsOnlyInsertAndItsBandGridNothing) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    auto r = run(
        "open\ntab tshFormulario\nshow cdsCargo\nshow cdsPercCargo\nstate\n"
        "focus dbgPercCargo\nstate\nclick sbtIncluir\nshow cdsPercCargo\n");
    const auto states = stateBlocks(r.out);
    ASSERT_EQ(states.size(), 2u) << r.out;
    EXPECT_TRUE(hasLine(r.out, "cdsCargo state=browse rows=0 current=0")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "cdsPercCargo state=browse rows=0 current=0")) << r.out;
    const std::string allPages =
        "tshFolhaDados enabled\ntshFormulario enabled active\ntshEvento enabled\ntshPromocao enabled\n"
        "mnuFolhaDados enabled\nmnuFormulario enabled checked\nmnuTipoEvento enabled\nmnuPromocao enabled\n";
    EXPECT_EQ(states[0], block("sbtIncluir enabled\nsbtAlterar disabled\nsbtExcluir disabled\nsbtConfirmar disabled\n"
                               "sbtCancelar disabled\nsbtProcurar disabled\nsbtVerificar disabled\n",
                               allPages, "dbgCargo"));
    EXPECT_EQ(states[1], block("sbtIncluir disabled\nsbtAlterar disabled\nsbtExcluir disabled\nsbtConfirmar disabled\n"
                               "sbtCancelar disabled\nsbtProcurar disabled\nsbtVerificar disabled\n",
                               allPages, "dbgPercCargo"));
    EXPECT_TRUE(hasLine(r.out, "refused: sbtIncluir disabled")) << r.out;
}

TEST_F(CommandsEndToEnd, InsertingARuleShutsTheOtherPagesUntilItIsCancelled) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    auto r = run(
        "open\ntab tshFormulario\nclick sbtIncluir\nstate\n"
        "answer no\nclick sbtCancelar\nshow cdsCargo\n"
        "answer yes\nclick sbtCancelar\nshow cdsCargo\nstate\n");
    const auto states = stateBlocks(r.out);
    ASSERT_EQ(states.size(), 2u) << r.out;
    EXPECT_EQ(states[0], block(kOnlyConfirmCancel,
                               "tshFolhaDados disabled\ntshFormulario enabled active\ntshEvento disabled\n"
                               "tshPromocao disabled\nmnuFolhaDados disabled\nmnuFormulario enabled checked\n"
                               "mnuTipoEvento disabled\nmnuPromocao disabled\n",
                               "dbgCargo"));
    EXPECT_EQ(linesStarting(r.out, "question: "),
              (std::vector<std::string>{"question: Canc no", "question: Canc yes"}));
    EXPECT_EQ(linesStarting(r.out, "cdsCargo state="),
              (std::vector<std::string>{"cdsCargo state=insert rows=1 current=1",
                                        "cdsCargo state=browse rows=0 current=0"}));
    EXPECT_EQ(states[1], block("sbtIncluir enabled\nsbtAlterar disabled\nsbtExcluir disabled\nsbtConfirmar disabled\n"
                               "sbtCancelar disabled\nsbtProcurar disabled\nsbtVerificar disabled\n",
                               "tshFolhaDados enabled\ntshFormulario enabled active\ntshEvento enabled\n"
                               "tshPromocao enabled\nmnuFolhaDados enabled\nmnuFormulario enabled checked\n"
                               "mnuTipoEvento enabled\nmnuPromocao enabled\n",
                               "dbgCargo"));
}

TEST_F(CommandsEndToEnd, InsertingABandShutsEveryOtherPageButItsOwn) {
    const double nr = seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedEvento(nr, "001", "Venda", "V");
    auto r = run("open\nmenu mnuTipoEvento\nfocus dbgPercEvento\nclick sbtIncluir\nstate\n");
    const auto states = stateBlocks(r.out);
    ASSERT_EQ(states.size(), 1u) << r.out;
    EXPECT_EQ(states[0], block(kOnlyConfirmCancel,
                               "tshFolhaDados disabled\ntshFormulario disabled\ntshEvento enabled active\n"
                               "tshPromocao disabled\nmnuFolhaDados disabled\nmnuFormulario disabled\n"
                               "mnuTipoEvento enabled checked\nmnuPromocao disabled\n",
                               "dbgPercEvento"));
}

TEST_F(CommandsEndToEnd, DeleteAsksFirstAndOnlyYesRemovesTheTableFromTheServer) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    auto r = run(
        "open\nanswer no\nclick sbtExcluir\nshow cdsComissao\n"
        "answer yes\nclick sbtExcluir\nshow cdsComissao\n");
    EXPECT_EQ(linesStarting(r.out, "question: "),
              (std::vector<std::string>{"question: Excl no", "question: Excl yes"}));
    EXPECT_EQ(linesStarting(r.out, "cdsComissao state="),
              (std::vector<std::string>{"cdsComissao state=browse rows=2 current=1",
                                        "cdsComissao state=browse rows=1 current=1"}));
    const auto stored = storedComissoes();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][1], "Tabela 2025");
}

TEST_F(CommandsEndToEnd, CancelOnTheCommissionPageAsksAndOnlyYesDropsTheNewTable) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    auto r = run(
        "open\nclick sbtIncluir\ntype dbgPadrao Nova\n"
        "answer no\nclick sbtCancelar\nshow cdsComissao\n"
        "answer yes\nclick sbtCancelar\nshow cdsComissao\n");
    EXPECT_EQ(linesStarting(r.out, "question: "),
              (std::vector<std::string>{"question: Canc no", "question: Canc yes"}));
    EXPECT_EQ(linesStarting(r.out, "cdsComissao state="),
              (std::vector<std::string>{"cdsComissao state=insert rows=2 current=1",
                                        "cdsComissao state=browse rows=1 current=1"}));
    EXPECT_EQ(storedComissoes().size(), 1u);
}

TEST_F(CommandsEndToEnd, NavigatorOnAScopePageLoadsThePageOfTheNewTable) {
    const double t1 = seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    const double t2 = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    seedBand(t1, "CARGO", seedCargo(t1, "V"), 0, 1000, 5);
    seedBand(t2, "CARGO", seedCargo(t2, "G"), 0, 500, 3);
    auto r = run("open\ntab tshFormulario\nshow cdsCargo\nshow cdsPercCargo\nnav next\nshow cdsCargo\nshow cdsPercCargo\n");
    const auto rules = linesStarting(r.out, "  [1] NRCOMISSAOCARGOOREV=");
    ASSERT_EQ(rules.size(), 2u) << r.out;
    EXPECT_NE(rules[0].find("IDCARGOVEND=V;"), std::string::npos) << rules[0];
    EXPECT_NE(rules[1].find("IDCARGOVEND=G;"), std::string::npos) << rules[1];
    const auto bands = linesStarting(r.out, "  [1] NRFAIXACOMISSAOOREV=");
    ASSERT_EQ(bands.size(), 2u) << r.out;
    EXPECT_NE(bands[0].find("VRFINAL=1000;VRCOMISSAO=5"), std::string::npos) << bands[0];
    EXPECT_NE(bands[1].find("VRFINAL=500;VRCOMISSAO=3"), std::string::npos) << bands[1];
}

TEST_F(CommandsEndToEnd, NavigatorOnTheCommissionPageReloadsAndKeepsTheChosenTable) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    auto r = run("open\nnav next\nshow cdsComissao\nclick sbtVerificar\nshow cdsComissao\n");
    EXPECT_EQ(linesStarting(r.out, "cdsComissao state="),
              (std::vector<std::string>{"cdsComissao state=browse rows=2 current=2",
                                        "cdsComissao state=browse rows=2 current=1"}));
}

TEST_F(CommandsEndToEnd, EveryPageLoadAsksForTheRulesThenOnceForTheBandsOfTheFirstRuleOrOfRuleZero) {
    const double full = seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    const double empty = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    const double rule = seedCargo(full, "V");
    e2e::RpcRecorder relay(server.port());
    // A turn, a refresh, a turn on the other table, the navigator moving back to the first
    // table, and the navigator staying where it is.
    auto r = testsupport::runScript(relay.port(), catalogue.path(),
                                    "open\ntab tshFormulario\nclick sbtVerificar\ntab tshFolhaDados\n"
                                    "row dbgPadrao 2\ntab tshFormulario\nnav prior\nnav prior\n");
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    std::vector<std::string> scopeCalls;
    for (const auto& q : relay.requests()) {
        const std::string m = q["method"];
        if (m == "GetCargo" || m == "GetPercentual") scopeCalls.push_back(m + q["params"].dump());
    }
    const auto n = [](double v) { return nlohmann::json(v).dump(); };
    const std::vector<std::string> fullLoad = {"GetCargo[" + n(full) + "]",
                                               "GetPercentual[" + n(full) + "," + n(rule) + ",\"CARGO\"]"};
    const std::vector<std::string> emptyLoad = {"GetCargo[" + n(empty) + "]",
                                                "GetPercentual[" + n(empty) + ",0.0,\"CARGO\"]"};
    std::vector<std::string> expected;
    for (const auto* load : {&fullLoad, &fullLoad, &emptyLoad, &fullLoad, &fullLoad})
        expected.insert(expected.end(), load->begin(), load->end());
    EXPECT_EQ(scopeCalls, expected);
}

}  // namespace
}  // namespace comissao_e2e
