// What happens between two actions: moves, reloads, failed sends, refused checks, idle
// time. Nothing typed is lost without a word and nothing is stored under a list the
// screen is not showing; each journey is read back from the server's store.
#include "e2e/band_world.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

// A new commission table for 2027, typed and confirmed on the commission page.
constexpr const char* kNewTable =
    "click sbtIncluir\ntype dbgPadrao Nova\nkey dbgPadrao Tab\ntype dbgPadrao 01012027\n"
    "key dbgPadrao Tab\ntype dbgPadrao 31122027\nclick sbtConfirmar\n";

// Two commission tables: 2025 with a position rule V (BandWorld), 2026 with a rule G.
class BetweenActions : public BandWorld {
protected:
    void SetUp() override {
        BandWorld::SetUp();
        nr2 = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
        seedCargo(nr2, "G");
    }

    // The position codes stored under commission table `table`, sorted.
    Strings positions(double table) {
        Strings codes;
        for (const auto& r : rows("GetCargo", json::array({table}))) codes.push_back(r.at(1).get<std::string>());
        std::sort(codes.begin(), codes.end());
        return codes;
    }

    double nr2 = 0;
};

TEST_F(BetweenActions, AfterActivationTheRulePageShowsAndFillsTheCurrentTable) {
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    const auto out = run(R"(open
tab tshFormulario
nav next
activate
show cdsCargo
show cdsPercCargo
click sbtIncluir
pick dbgCargo Gerente
focus dbgPercCargo
)");
    EXPECT_EQ(messages(out), Strings{}) << out;
    // Activation stands on the first table again; the open page shows that table's rules.
    EXPECT_TRUE(has(out, "cdsCargo state=browse rows=1 current=1\n  [1] NRCOMISSAOCARGOOREV=" + shown(rule) +
                             ";IDCARGOVEND=V;NRCOMISSAOOREV=" + shown(nr) + "\n"))
        << out;
    EXPECT_TRUE(has(out, "cdsPercCargo state=browse rows=1")) << out;
    EXPECT_EQ(positions(nr), (Strings{"G", "V"}));
    EXPECT_EQ(positions(nr2), Strings{"G"});
}

TEST_F(BetweenActions, ANewRuleIsPostedUnderItsOwnTableBeforeTheNavigatorMoves) {
    const auto out = run(R"(open
tab tshFormulario
click sbtIncluir
pick dbgCargo Vendedor
nav next
show cdsComissao
show cdsCargo
pick dbgCargo Supervisor
nav next
show cdsComissao
)");
    // A refused check keeps the user on the rule, and the navigator where it was.
    EXPECT_EQ(messages(out), Strings{"Cargo já cadastrado."}) << out;
    EXPECT_TRUE(has(out, "cdsComissao state=browse rows=2 current=1\n")) << out;
    EXPECT_TRUE(has(out, "cdsCargo state=insert rows=2")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsComissao"), "current=2")) << out;
    EXPECT_EQ(positions(nr), (Strings{"S", "V"}));
    EXPECT_EQ(positions(nr2), Strings{"G"});
}

TEST_F(BetweenActions, AHalfTypedBandIsPostedWhenItsPageIsLeft) {
    const auto out = run(R"(open
tab tshFormulario
focus dbgPercCargo
click sbtIncluir
type dbgPercCargo 0
key dbgPercCargo Tab
type dbgPercCargo 100
focus dbgCargo
tab tshEvento
state
type dbgPercCargo 5
focus dbgCargo
tab tshEvento
tab tshFormulario
show cdsPercCargo
)");
    // The band without its percentage is refused and the page is kept, the focus on it.
    EXPECT_EQ(messages(out), Strings{"Percentual deve ser informado."}) << out;
    EXPECT_TRUE(has(out, "tshFormulario enabled active\n")) << out;
    EXPECT_TRUE(has(out, "focus: dbgPercCargo\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "state=browse rows=1")) << out;
    EXPECT_EQ(stored(), Strings{"0.0..100.0:5.0"});
}

// Another rule, or an edit of this one, reloads the band list: the band goes first.
TEST_F(BetweenActions, AHalfTypedBandIsPostedBeforeItsRuleListMovesOrIsEdited) {
    seedCargo(nr, "S");
    const auto out = run(R"(open
tab tshFormulario
focus dbgPercCargo
click sbtIncluir
type dbgPercCargo 0
key dbgPercCargo Tab
type dbgPercCargo 100
key dbgPercCargo Tab
type dbgPercCargo 5
focus dbgCargo
row dbgCargo 2
focus dbgPercCargo
click sbtIncluir
type dbgPercCargo 7
focus dbgCargo
pick dbgCargo Gerente
show cdsCargo
)");
    // The second band has no final value: it is refused, and the rule is not touched.
    EXPECT_EQ(messages(out), Strings{"Valor Final deve ser cadastrado."}) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "state=browse rows=2 current=2\n")) << out;
    EXPECT_EQ(stored(), Strings{"0.0..100.0:5.0"});
    EXPECT_EQ(positions(nr), (Strings{"S", "V"}));
}

TEST_F(BetweenActions, ActivationLeavesAnEditAloneAndClosingAsksBeforeDroppingIt) {
    const auto out = run(R"(open
click sbtIncluir
type dbgPadrao Nova
activate
show cdsComissao
grid dbgPadrao
answer no
close
module
show cdsComissao
answer yes
close
module
)");
    EXPECT_TRUE(has(out, "cdsComissao state=insert rows=3 current=1\n")) << out;
    EXPECT_TRUE(has(out, "grid: dbgPadrao column=DSCOMISSAOOREV editor=Nova\n")) << out;
    EXPECT_TRUE(has(out, "question: Canc no\nmodule: boIdCriado=true forms=1")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsComissao"), "state=insert rows=3")) << out;
    EXPECT_TRUE(has(out, "question: Canc yes\nmodule: boIdCriado=false forms=0")) << out;
}

TEST_F(BetweenActions, AfterAFailedSendTheBandGridShowsTheBandsOfTheCurrentRule) {
    const double s = seedCargo(nr, "S");
    seedBand(nr, "CARGO", rule, 0, 100, 1);
    seedBand(nr, "CARGO", rule, 101, 200, 2);
    seedBand(nr, "CARGO", rule, 201, 300, 3);
    seedBand(nr, "CARGO", s, 0, 50, 4);
    relay.failMethod("SetCargo", "Banco de dados indisponível.");
    const auto out = run(R"(open
tab tshFormulario
click sbtIncluir
pick dbgCargo Gerente
focus dbgPercCargo
show cdsCargo
show cdsPercCargo
answer yes
focus dbgCargo
click sbtExcluir
show cdsCargo
show cdsPercCargo
)");
    const auto errors = linesStarting(out, "error: ");
    EXPECT_EQ(errors, (Strings{"error: Banco de dados indisponível.", "error: Banco de dados indisponível."}))
        << out;
    // The new rule vanished: the grid stands on V again, with V's three bands.
    EXPECT_TRUE(has(out, "cdsCargo state=browse rows=2 current=1\n")) << out;
    EXPECT_TRUE(has(out, "cdsPercCargo state=browse rows=3 current=1\n")) << out;
    // The deleted V came back; the grid stands on S and shows S's band.
    EXPECT_TRUE(has(lastShow(out, "cdsCargo"), "rows=2 current=2\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), "rows=1 current=1\n  [1] NRFAIXACOMISSAOOREV=")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPercCargo"), ";NRCOMISSAOCARGOOREV=" + shown(s) + ";")) << out;
}

TEST_F(BetweenActions, AfterARefusedCheckTheNextKeystrokesReplaceTheCell) {
    const auto out = run(R"(open
click sbtIncluir
type dbgPadrao Nova
key dbgPadrao Tab
type dbgPadrao 10032027
key dbgPadrao Tab
type dbgPadrao 09032027
click sbtConfirmar
type dbgPadrao 31122027
click sbtConfirmar
row dbgPadrao 1
tab tshFormulario
focus dbgPercCargo
click sbtIncluir
type dbgPercCargo 100
key dbgPercCargo Tab
type dbgPercCargo 50
click sbtConfirmar
type dbgPercCargo 150
key dbgPercCargo Tab
type dbgPercCargo 5
click sbtConfirmar
)");
    EXPECT_EQ(messages(out), (Strings{"Data Inicial deve ser menor ou igual a Data Final.",
                                      "Valor Inicial deve ser menor ou igual ao Valor Final."}))
        << out;
    bool stored2027 = false;
    for (const auto& r : rows("GetComissao", json::array()))
        stored2027 |= r.at(2) == "2027-03-10T00:00:00" && r.at(3) == "2027-12-31T00:00:00";
    EXPECT_TRUE(stored2027) << rows("GetComissao", json::array()).dump();
    EXPECT_EQ(stored(), Strings{"100.0..150.0:5.0"});
}

TEST_F(BetweenActions, InsertWithoutARuleAndDeleteOnAStoredDateAreRefused) {
    const auto out = run(R"(open
tab tshEvento
focus dbgPercEvento
key dbgPercEvento Insert
show cdsPercEvento
tab tshFolhaDados
column dbgPadrao DTVALIDADEINI
key dbgPadrao Delete
show cdsComissao
click sbtConfirmar
)");
    EXPECT_TRUE(has(out, "cdsPercEvento state=browse rows=0")) << out;
    EXPECT_TRUE(has(out, "cdsComissao state=browse rows=2 current=1\n  [1] NRCOMISSAOOREV=" + shown(nr) +
                             ";DSCOMISSAOOREV=Tabela 2025;DTVALIDADEINI=2025-01-01;"))
        << out;
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_EQ(rows("GetComissao", json::array()).at(0).at(2), "2025-01-01T00:00:00");
}

TEST_F(BetweenActions, AValueThatIsNoNumberIsRefusedInPortuguese) {
    const auto out = run("open\ntab tshFormulario\nfocus dbgPercCargo\nclick sbtIncluir\n"
                         "type dbgPercCargo 5-\nkey dbgPercCargo Tab\n");
    EXPECT_EQ(linesStarting(out, "error: "),
              Strings{"error: '5-' não é um número válido para o campo Valor Inicial."})
        << out;
}

TEST_F(BetweenActions, ALostReplyIsAFailureNeverSentAgainAndTheNextCallReconnects) {
    relay.loseReply("SetComissao");
    const auto out = run(std::string("open\n") + kNewTable + "click sbtVerificar\nshow cdsComissao\n");
    EXPECT_EQ(linesStarting(out, "error: "),
              Strings{"error: A conexão com o servidor de aplicação foi interrompida."})
        << out;
    EXPECT_EQ(calls("SetComissao"), 1u);
    EXPECT_EQ(rows("GetComissao", json::array()).size(), 3u);
    EXPECT_TRUE(has(lastShow(out, "cdsComissao"), "state=browse rows=3")) << out;
}

TEST(IdleConnection, AfterTheServerDropsAnIdleConnectionTheNextCallReconnects) {
    testsupport::ServerProcess server("", {"--idle-timeout", "1"});
    testsupport::LocalCatalogue catalogue;
    const auto r = testsupport::runScript(server.port(), catalogue.path(),
                                          std::string("open\nwait 2\n") + kNewTable +
                                              "show cdsComissao\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(linesStarting(r.out, "error: "), Strings{}) << r.out;
    EXPECT_EQ(testsupport::rpcResult(server.port(), "GetComissao", json::array()).at("rows").size(), 1u);
}

}  // namespace
}  // namespace e2e
