// Opening, activating and closing the screen through the module's entry, played by the
// headless host against a real application server.
#include <gtest/gtest.h>

#include "e2e/screen_world.h"
#include "e2e/rpc_recorder.h"

namespace comissao_e2e {
namespace {

using LifecycleEndToEnd = ScreenWorld;

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST_F(LifecycleEndToEnd, OpenLoadsEveryStoredTableAndStandsOnTheFirst) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    auto r = run("open\nshow cdsComissao\nstate\n");
    EXPECT_NE(r.out.find("cdsComissao state=browse rows=2 current=1\n"
                         "  [1] NRCOMISSAOOREV=1;DSCOMISSAOOREV=Tabela 2024;DTVALIDADEINI=2024-01-01;"
                         "DTVALIDADEFIN=2024-12-31;CDFILIAL=0001\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("focus: dbgPadrao"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("error:"), std::string::npos) << r.out;
}

TEST_F(LifecycleEndToEnd, SecondEntryCallMakesNoNewInstanceAndRestoresTheWindow) {
    e2e::RpcRecorder relay(server.port());
    auto r = testsupport::runScript(relay.port(), catalogue.path(),
                                    "open\nminimize\nwindow\nopen\nwindow\nmodule\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("module: boIdCriado=true forms=1 cursor=0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("window: frmComissao minimized"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("window: frmComissao normal active"), std::string::npos) << r.out;
    EXPECT_EQ(relay.connections(), 1);
}

TEST_F(LifecycleEndToEnd, CloseEndsTheInstanceAndTheNextEntryConnectsAgain) {
    e2e::RpcRecorder relay(server.port());
    auto r = testsupport::runScript(relay.port(), catalogue.path(), "open\nclose\nmodule\nopen\nmodule\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("module: boIdCriado=false forms=0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("module: boIdCriado=true forms=1"), std::string::npos) << r.out;
    EXPECT_EQ(relay.connections(), 2);
    std::string calls;
    for (const auto& m : relay.methods()) calls += m + " ";
    EXPECT_EQ(calls, "GetComissao GetComissao ");
}

TEST_F(LifecycleEndToEnd, ActivationReloadsTheListAndReturnsToTheFirstRow) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    auto r = run("open\nrow dbgPadrao 1\nactivate\nshow cdsComissao\nrow dbgPadrao 2\nactivate\nshow cdsComissao\n");
    EXPECT_EQ(count(r.out, "cdsComissao state=browse rows=2 current=1"), 2) << r.out;
}

TEST_F(LifecycleEndToEnd, EmptyListLeavesTheSetOpenAndEmpty) {
    auto r = run("open\nshow cdsComissao\n");
    EXPECT_NE(r.out.find("cdsComissao state=browse rows=0 current=0"), std::string::npos) << r.out;
}

TEST_F(LifecycleEndToEnd, FailedReloadShowsTheFailureAndKeepsWhatTheListHeld) {
    seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    e2e::RpcRecorder relay(server.port());
    relay.failMethod("GetComissao", "Banco de dados indisponível.", 1);  // the first load works
    auto r = testsupport::runScript(relay.port(), catalogue.path(),
                                    "open\nrow dbgPadrao 2\nactivate\nshow cdsComissao\nfield cdsComissaoDTVALIDADEINI\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("error: Banco de dados indisponível."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cdsComissao state=browse rows=2 current=2"), std::string::npos) << r.out;
}

TEST_F(LifecycleEndToEnd, DateMasksAndThePrintButtonAreSetOnEveryActivation) {
    auto r = run(
        "open\nfield cdsComissaoDTVALIDADEINI\nfield cdsPromocaoDTVALFINCOMISPROMO\nactivate\n"
        "field cdsComissaoDTVALIDADEFIN\nfield cdsPromocaoDTVALINICOMISPROMO\n");
    EXPECT_EQ(count(r.out, "mask=!99/99/9999;1; "), 4) << r.out;
}

}  // namespace
}  // namespace comissao_e2e
