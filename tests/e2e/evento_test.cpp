// Event-type rules through the headless host against a real server and local catalogue.
#include "e2e/scope_world.h"

namespace e2e {
namespace {

class EventoRules : public ScopeWorld {};

TEST_F(EventoRules, ACodeTypedAsSevenBecomes007AndTakesItsNameLettersAreDropped) {
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
type dbgEvento a7b
key dbgEvento Tab
show cdsEvento
key dbgEvento Tab
pick dbgEvento Gerente
click sbtConfirmar
show cdsEvento
)");
    EXPECT_FALSE(has(out, "message:")) << out;
    EXPECT_TRUE(has(out, "  [1] NRCOMISSAOTPEVENTOREV=;NRCOMISSAOOREV=;CDTIPOEVENTO=007;NMTIPOEVENTO=Troca;IDCARGOVEND=\n"))
        << out;
    EXPECT_TRUE(has(lastShow(out, "cdsEvento"), "CDTIPOEVENTO=007;NMTIPOEVENTO=Troca;IDCARGOVEND=G")) << out;
    const auto stored = rows("GetEvento", json::array({nr}));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].at(1).get<double>(), nr);
    EXPECT_EQ(stored[0].at(2), "007");
}

// The grid moves and cancels on Tab and Escape although the filters drop those characters
// (the first Escape takes back the choice, the second the row).
TEST_F(EventoRules, TabLeavesAndEscapeCancelsThroughTheFilteredColumns) {
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
type dbgEvento 1
key dbgEvento Tab
key dbgEvento Tab
pick dbgEvento Gerente
key dbgEvento Escape
key dbgEvento Escape
show cdsEvento
state
)");
    EXPECT_FALSE(has(out, "message:")) << out;
    EXPECT_TRUE(has(out, "cdsEvento state=browse rows=0 current=0")) << out;
    EXPECT_TRUE(has(out, "sbtConfirmar disabled")) << out;
    EXPECT_EQ(calls("SetEvento"), 0u);
}

TEST_F(EventoRules, AnUnknownCodeIsRefusedKeepingTheFittedCodeAndTheFormerName) {
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
type dbgEvento 7
key dbgEvento Tab
column dbgEvento CDTIPOEVENTO
type dbgEvento 99
key dbgEvento Tab
show cdsEvento
state
)");
    EXPECT_TRUE(has(out, "message: Tipo de evento não cadastrado.\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsEvento"), "CDTIPOEVENTO=099;NMTIPOEVENTO=Troca;")) << out;
    EXPECT_TRUE(has(out, "focus: dbgEvento")) << out;
    EXPECT_EQ(calls("SetEvento"), 0u);
}

TEST_F(EventoRules, AnEmptyCodePassesTheColumnButNotThePost) {
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
key dbgEvento Tab
key dbgEvento Tab
pick dbgEvento Vendedor
click sbtConfirmar
show cdsEvento
)");
    EXPECT_EQ(out.find("message:"), out.find("message: Tipo de evento deve ser informado.\n")) << out;
    EXPECT_TRUE(has(out, "message: Tipo de evento deve ser informado.\n")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsEvento"), "state=insert")) << out;
}

TEST_F(EventoRules, TheSearchFillsCodeAndNameOfANewAndOfAnEditedRule) {
    seedEvento(nr, "001", "Venda", "V");
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
search 2
button dbgEvento
show cdsEvento
key dbgEvento Tab
key dbgEvento Tab
pick dbgEvento Supervisor
click sbtConfirmar
row dbgEvento 1
click sbtAlterar
search cancel
button dbgEvento
show cdsEvento
search 3
button dbgEvento
click sbtConfirmar
show cdsEvento
)");
    EXPECT_FALSE(has(out, "message:")) << out;
    EXPECT_TRUE(has(out, "cdsEvento state=insert rows=2 current=1\n"
                         "  [1] NRCOMISSAOTPEVENTOREV=;NRCOMISSAOOREV=;CDTIPOEVENTO=007;NMTIPOEVENTO=Troca;IDCARGOVEND=\n"))
        << out;
    EXPECT_TRUE(has(out, "cdsEvento state=edit")) << out;
    const auto stored = rows("GetEvento", json::array({nr}));
    ASSERT_EQ(stored.size(), 2u);
    bool edited = false, added = false;
    for (const auto& r : stored) {
        edited |= r.at(2) == "012" && r.at(3) == "Devolucao" && r.at(4) == "V";
        added |= r.at(2) == "007" && r.at(3) == "Troca" && r.at(4) == "S";
    }
    EXPECT_TRUE(edited) << stored.dump();
    EXPECT_TRUE(added) << stored.dump();
}

TEST_F(EventoRules, TheSameEventTypeAndPositionIsRefusedAnotherPositionSaves) {
    seedEvento(nr, "007", "Troca", "V");
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
type dbgEvento 7
key dbgEvento Tab
key dbgEvento Tab
pick dbgEvento Vendedor
click sbtConfirmar
show cdsEvento
pick dbgEvento Gerente
click sbtConfirmar
show cdsEvento
)");
    EXPECT_TRUE(has(out, "message: Tipo de Evento e cargo já cadastrados.\n")) << out;
    EXPECT_EQ(calls("SetEvento"), 1u);
    // The reloaded list stands on the rule just posted, found by code and position.
    const auto shown = lastShow(out, "cdsEvento");
    EXPECT_TRUE(has(shown, "state=browse rows=2 current=2")) << shown;
    EXPECT_TRUE(has(shown, "  [2] NRCOMISSAOTPEVENTOREV=2;NRCOMISSAOOREV=1;CDTIPOEVENTO=007;NMTIPOEVENTO=Troca;IDCARGOVEND=G"))
        << shown;
}

// A rule edited and posted with its own event type and position must not meet its
// stored copy; another rule's pair is still refused.
TEST_F(EventoRules, EditingARuleWithoutChangingItSavesButTakingAnotherRulesPairIsRefused) {
    seedEvento(nr, "007", "Troca", "V");
    seedEvento(nr, "007", "Troca", "S");
    const auto out = run(R"(open
tab tshEvento
click sbtAlterar
click sbtConfirmar
show cdsEvento
click sbtAlterar
focus dbgPercEvento
state
click sbtAlterar
column dbgEvento IDCARGOVEND
pick dbgEvento Supervisor
click sbtConfirmar
show cdsEvento
)");
    const auto first = out.find("message:");
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_EQ(out.substr(first), out.substr(out.find("message: Tipo de Evento e cargo já cadastrados.\n")));
    EXPECT_TRUE(has(out, "cdsEvento state=browse rows=2 current=1\n")) << out;
    EXPECT_TRUE(has(out, "focus: dbgPercEvento")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsEvento"), "state=edit")) << out;
}

TEST_F(EventoRules, MovesAndInsertStartReloadTheBandsAndFailedSendsAreUndone) {
    const double a = seedEvento(nr, "001", "Venda", "V");
    const double b = seedEvento(nr, "007", "Troca", "V");
    seedBand(nr, "TIPOEVENTO", b, 0, 50, 5);
    relay.failMethod("SetEvento", "Falha ao gravar.");
    const auto out = run(R"(open
tab tshEvento
row dbgEvento 2
show cdsPercEvento
click sbtIncluir
search 3
button dbgEvento
key dbgEvento Tab
key dbgEvento Tab
pick dbgEvento Vendedor
click sbtConfirmar
show cdsEvento
answer yes
click sbtExcluir
show cdsEvento
)");
    EXPECT_TRUE(has(out, "cdsPercEvento state=browse rows=1 current=1\n"
                         "  [1] NRFAIXACOMISSAOOREV=1;NRCOMISSAOOREV=1;IDTIPOCOMISSAO=TIPOEVENTO;NRCOMISSAOCARGOOREV=;"
                         "NRCOMISSAOTPEVENTOREV=2;"))
        << out;
    const auto sent = bandRequests();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), a);
    EXPECT_NE(std::find(sent.begin(), sent.end(), b), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), 0.0), sent.end());  // the new rule, unnumbered
    EXPECT_TRUE(has(out, "Falha ao gravar.")) << out;
    // The new rule is gone after its failed send; the deleted one came back after its own.
    EXPECT_FALSE(has(out, "CDTIPOEVENTO=012")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsEvento"), "state=browse rows=2")) << out;
    EXPECT_EQ(calls("SetEvento"), 2u);
    EXPECT_EQ(rows("GetEvento", json::array({nr})).size(), 2u);
}

}  // namespace
}  // namespace e2e
