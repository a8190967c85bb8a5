// Promotion rules through the headless host against a real server and local catalogue.
#include <sstream>

#include "e2e/scope_world.h"

namespace e2e {
namespace {

// Script lines that fill the rule being inserted or edited, in column order; an empty
// value leaves its cell (and column) alone.
std::string fill(const std::string& ini, const std::string& fin, const std::string& base, const std::string& code,
                 const std::string& cargo) {
    std::ostringstream s;
    if (!ini.empty()) s << "column dbgPromocao DTVALINICOMISPROMO\ntype dbgPromocao " << ini << "\n";
    if (!fin.empty()) s << "column dbgPromocao DTVALFINCOMISPROMO\ntype dbgPromocao " << fin << "\n";
    if (!base.empty()) s << "column dbgPromocao IDDTBASECOMISPROMO\npick dbgPromocao " << base << "\n";
    if (!code.empty()) s << "column dbgPromocao CDTIPOEVENTO\ntype dbgPromocao " << code << "\n";
    if (!cargo.empty()) s << "column dbgPromocao IDCARGOVEND\npick dbgPromocao " << cargo << "\n";
    return s.str();
}

std::string insertAndConfirm(const std::string& ini, const std::string& fin, const std::string& base,
                             const std::string& code, const std::string& cargo) {
    return "click sbtIncluir\n" + fill(ini, fin, base, code, cargo) + "click sbtConfirmar\n";
}

std::vector<std::string> messages(const std::string& out) {
    std::vector<std::string> found;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("message: ", 0) == 0) found.push_back(line.substr(9));
    return found;
}

const char* const kOutsidePeriod =
    "Data Inicial e Final da Promoção deve estar entre a data Inicial e Final da Comissão.";
const char* const kOverlap = "Intervalo de data está contido parcial em uma já cadastrada.";

class PromocaoRules : public ScopeWorld {
protected:
    std::string open() const { return "open\ntab tshPromocao\n"; }
    std::size_t storedRules() { return rows("GetPromocao", json::array({nr})).size(); }
};

TEST_F(PromocaoRules, AWindowEqualToTheTablesPeriodIsAccepted) {
    const auto out = run(open() + insertAndConfirm("01012025", "31122025", "Data de Fechamento", "12", "Gerente") +
                         "show cdsPromocao\n");
    EXPECT_TRUE(messages(out).empty()) << out;
    const auto shown = lastShow(out, "cdsPromocao");
    EXPECT_TRUE(has(shown, "state=browse rows=1 current=1")) << shown;
    EXPECT_TRUE(has(shown, "  [1] NRCOMISSAOPROMOREV=1;NRCOMISSAOOREV=1;DTVALINICOMISPROMO=2025-01-01;"
                           "DTVALFINCOMISPROMO=2025-12-31;IDDTBASECOMISPROMO=DATAFECHAMENTO;CDTIPOEVENTO=012;"
                           "NMTIPOEVENTO=Devolucao;IDCARGOVEND=G;"))
        << shown;
}

TEST_F(PromocaoRules, OneDayOutsideThePeriodIsRefusedWithoutAskingTheServer) {
    const auto out = run(open() + insertAndConfirm("31122024", "31012025", "Data do Evento", "7", "Vendedor") +
                         // The focus went back to the start date: what is typed next lands there.
                         "type dbgPromocao 02012025\n" + "key dbgPromocao Tab\n" +
                         "type dbgPromocao 01012026\n" + "click sbtConfirmar\n" + "show cdsPromocao\n");
    EXPECT_EQ(messages(out), (std::vector<std::string>{kOutsidePeriod, kOutsidePeriod})) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPromocao"), "state=insert rows=1 current=1\n"
                                                  "  [1] NRCOMISSAOPROMOREV=;NRCOMISSAOOREV=1;"
                                                  "DTVALINICOMISPROMO=2025-01-02;DTVALFINCOMISPROMO=2026-01-01;"))
        << out;
    EXPECT_EQ(calls("getVdDtPromo"), 0u);
    EXPECT_EQ(calls("SetPromocao"), 0u);
}

TEST_F(PromocaoRules, TouchingWindowsOfTheSameKindConflictOneDayApartDoNot) {
    seedPromocao(nr, "2025-01-01", "2025-01-31", "DATAEVENTO", "007", "Troca", "V");
    const auto out = run(open() + insertAndConfirm("31012025", "15022025", "Data do Evento", "7", "Vendedor") +
                         "show cdsPromocao\n" + "answer yes\n" + "click sbtCancelar\n" +
                         insertAndConfirm("01022025", "15022025", "Data do Evento", "7", "Vendedor") +
                         "show cdsPromocao\n");
    EXPECT_EQ(messages(out), std::vector<std::string>{kOverlap}) << out;
    EXPECT_TRUE(has(out, "cdsPromocao state=insert rows=2")) << out;
    EXPECT_EQ(storedRules(), 2u);
    // The reloaded list stands on the rule just posted, found by its five values.
    const auto shown = lastShow(out, "cdsPromocao");
    EXPECT_TRUE(has(shown, "state=browse rows=2 current=2\n")) << shown;
    EXPECT_TRUE(has(shown, "  [2] NRCOMISSAOPROMOREV=2;NRCOMISSAOOREV=1;DTVALINICOMISPROMO=2025-02-01;")) << shown;
}

TEST_F(PromocaoRules, TouchingWindowsOfADifferentKindAreAccepted) {
    seedPromocao(nr, "2025-01-01", "2025-01-31", "DATAEVENTO", "007", "Troca", "V");
    const auto out = run(open() + insertAndConfirm("31012025", "15022025", "Data de Fechamento", "7", "Vendedor") +
                         insertAndConfirm("31012025", "15022025", "Data do Evento", "1", "Vendedor") +
                         insertAndConfirm("15012025", "15022025", "Data do Evento", "7", "Supervisor"));
    EXPECT_TRUE(messages(out).empty()) << out;
    EXPECT_EQ(storedRules(), 4u);
}

// Each refused post leaves the focus on the offending cell; the next step fixes it.
TEST_F(PromocaoRules, TheChecksRunInTheirOrder) {
    seedPromocao(nr, "2025-01-01", "2025-01-31", "DATAEVENTO", "007", "Troca", "V");
    const auto out = run(open() + R"(click sbtIncluir
click sbtConfirmar
column dbgPromocao DTVALINICOMISPROMO
type dbgPromocao 10012025
click sbtConfirmar
column dbgPromocao DTVALFINCOMISPROMO
type dbgPromocao 09012025
click sbtConfirmar
column dbgPromocao DTVALINICOMISPROMO
column dbgPromocao DTVALFINCOMISPROMO
type dbgPromocao 10012025
click sbtConfirmar
column dbgPromocao IDDTBASECOMISPROMO
pick dbgPromocao Data do Evento
click sbtConfirmar
column dbgPromocao CDTIPOEVENTO
type dbgPromocao 99
click sbtConfirmar
search 2
button dbgPromocao
click sbtConfirmar
column dbgPromocao IDCARGOVEND
pick dbgPromocao Vendedor
click sbtConfirmar
column dbgPromocao DTVALINICOMISPROMO
type dbgPromocao 01022025
column dbgPromocao DTVALFINCOMISPROMO
type dbgPromocao 01022025
click sbtConfirmar
show cdsPromocao
)");
    EXPECT_EQ(messages(out), (std::vector<std::string>{
                                 "Data Inicial deve ser informada.",
                                 "Data Final deve ser informada.",
                                 "Data Inicial deve ser menor ou igual a Data Final.",
                                 "Data Base deve ser informada.",
                                 "Tipo de evento deve ser informado.",
                                 "Tipo de evento não cadastrado.",
                                 "Cargo deve ser informado.",
                                 kOverlap,
                             }))
        << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPromocao"), "state=browse rows=2 current=2")) << out;
    EXPECT_EQ(calls("getVdDtPromo"), 2u);
}

TEST_F(PromocaoRules, EditingAStoredRuleWithoutChangingItSaves) {
    seedPromocao(nr, "2025-01-01", "2025-01-31", "DATAEVENTO", "007", "Troca", "V");
    const auto out = run(open() + "click sbtAlterar\n" + "click sbtConfirmar\n" + "show cdsPromocao\n");
    EXPECT_TRUE(messages(out).empty()) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPromocao"), "state=browse rows=1 current=1")) << out;
}

TEST_F(PromocaoRules, PickListCellsTakeNoLettersAndABlankDateIsEmptied) {
    const auto out = run(open() + "click sbtIncluir\n" + fill("05012025", "", "", "", "") +
                         "column dbgPromocao IDDTBASECOMISPROMO\n" + "type dbgPromocao Data do Evento\n" +
                         "column dbgPromocao IDCARGOVEND\n" + "type dbgPromocao Vendedor\n" +
                         "column dbgPromocao DTVALINICOMISPROMO\n" + "show cdsPromocao\n" +
                         "key dbgPromocao Delete\n" + "column dbgPromocao DTVALFINCOMISPROMO\n" + "show cdsPromocao\n" +
                         "click sbtConfirmar\n");
    EXPECT_TRUE(has(out, "  [1] NRCOMISSAOPROMOREV=;NRCOMISSAOOREV=;DTVALINICOMISPROMO=2025-01-05;"
                         "DTVALFINCOMISPROMO=;IDDTBASECOMISPROMO=;CDTIPOEVENTO=;NMTIPOEVENTO=;IDCARGOVEND=;"))
        << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPromocao"), "DTVALINICOMISPROMO=;")) << out;
    EXPECT_EQ(messages(out), std::vector<std::string>{"Data Inicial deve ser informada."}) << out;
}

TEST_F(PromocaoRules, InsertStartReloadsTheBandsForRuleZeroAndAFailedSendRemovesTheRule) {
    const double p = seedPromocao(nr, "2025-01-01", "2025-01-31", "DATAEVENTO", "007", "Troca", "V");
    seedBand(nr, "PROMOCAO", p, 0, 10, 1);
    relay.failMethod("SetPromocao", "Falha ao gravar.");
    const auto out = run(open() + "show cdsPercPromocao\n" + "click sbtIncluir\n" + "show cdsPercPromocao\n" +
                         fill("01022025", "28022025", "Data do Evento", "7", "Vendedor") + "click sbtConfirmar\n" +
                         "show cdsPromocao\n" + "show cdsPercPromocao\n");
    EXPECT_TRUE(has(out, "cdsPercPromocao state=browse rows=1 current=1\n")) << out;
    EXPECT_TRUE(has(out, "cdsPercPromocao state=browse rows=0 current=0\n")) << out;
    const auto sent = bandRequests();
    EXPECT_NE(std::find(sent.begin(), sent.end(), 0.0), sent.end());
    EXPECT_TRUE(has(out, "Falha ao gravar.")) << out;
    EXPECT_TRUE(has(lastShow(out, "cdsPromocao"), "state=browse rows=1 current=1")) << out;
    EXPECT_EQ(storedRules(), 1u);
}

}  // namespace
}  // namespace e2e
