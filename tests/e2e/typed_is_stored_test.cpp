// What the user sees in a cell is what reaches the store: the cell editor follows a field a
// handler fills, takes no more than its field holds and gives way after a refused value; the
// band grid refuses what the server would; a catalogue code of three characters is stored.
// Each journey is read back from the server's store.
#include "e2e/band_world.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;

class TypedIsStored : public BandWorld {};

// Digits typed before a search must not overwrite the catalogue row it picked, whether the
// rule is confirmed at once or its code column is left first.
TEST_F(TypedIsStored, ASearchPickReplacesWhatWasTypedInTheCell) {
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
column dbgEvento IDCARGOVEND
pick dbgEvento Vendedor
column dbgEvento CDTIPOEVENTO
type dbgEvento 1
search 2
button dbgEvento
grid dbgEvento
click sbtConfirmar
click sbtIncluir
type dbgEvento 1
search 3
button dbgEvento
column dbgEvento IDCARGOVEND
pick dbgEvento Gerente
click sbtConfirmar
tab tshPromocao
click sbtIncluir
type dbgPromocao 01032025
key dbgPromocao Tab
type dbgPromocao 31032025
key dbgPromocao Tab
pick dbgPromocao Data do Evento
column dbgPromocao IDCARGOVEND
pick dbgPromocao Vendedor
column dbgPromocao CDTIPOEVENTO
type dbgPromocao 1
search 2
button dbgPromocao
click sbtConfirmar
)");
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_TRUE(has(out, "grid: dbgEvento column=CDTIPOEVENTO editor=007\n")) << out;
    Strings rules;
    for (const auto& r : rows("GetEvento", json::array({nr})))
        rules.push_back(r.at(2).get<std::string>() + " " + r.at(3).get<std::string>() + " " + r.at(4).get<std::string>());
    std::sort(rules.begin(), rules.end());
    EXPECT_EQ(rules, (Strings{"007 Troca V", "012 Devolucao G"}));
    const auto promotions = rows("GetPromocao", json::array({nr}));
    ASSERT_EQ(promotions.size(), 1u) << out;
    EXPECT_EQ(promotions[0].at(5), "007");
    EXPECT_EQ(promotions[0].at(6), "Troca");
}

// A description takes the field's 30 characters and no more; a date or a number refused
// when its cell is left gives way to the next keystrokes instead of swallowing them.
TEST_F(TypedIsStored, ACellHoldsWhatItsFieldHoldsAndARefusedValueIsRetyped) {
    const auto out = run(R"(open
click sbtIncluir
type dbgPadrao Comissão dos vendedores de serviços 2027
grid dbgPadrao
key dbgPadrao Tab
type dbgPadrao 31042027
key dbgPadrao Tab
type dbgPadrao 30042027
key dbgPadrao Tab
type dbgPadrao 31122027
click sbtConfirmar
row dbgPadrao 1
tab tshFormulario
focus dbgPercCargo
click sbtIncluir
type dbgPercCargo 5-
key dbgPercCargo Tab
type dbgPercCargo 50
key dbgPercCargo Tab
type dbgPercCargo 100
key dbgPercCargo Tab
type dbgPercCargo 5
click sbtConfirmar
)");
    EXPECT_TRUE(has(out, "grid: dbgPadrao column=DSCOMISSAOOREV editor=Comissão dos vendedores de ser\n")) << out;
    EXPECT_EQ(messages(out),
              Strings{"Data inválida: \"31/04/2027\". Informe uma data existente no formato dd/mm/aaaa."})
        << out;
    EXPECT_EQ(linesStarting(out, "error: "),
              Strings{"error: '5-' não é um número válido para o campo Valor Inicial."})
        << out;
    bool stored2027 = false;
    for (const auto& r : storedComissoes())
        stored2027 |= r.at(1) == "Comissão dos vendedores de ser" && r.at(2) == "2027-04-30T00:00:00" &&
                      r.at(3) == "2027-12-31T00:00:00";
    EXPECT_TRUE(stored2027) << storedComissoes().dump();
    EXPECT_EQ(stored(), Strings{"50.0..100.0:5.0"});
}

// -5000000000 gets past the key filter, which has no lower limit; the check refuses it in
// the server's words and keeps the band for the user to correct.
TEST_F(TypedIsStored, ABandValueTheServerWouldRefuseIsRefusedAtTheCheckAndKept) {
    const auto out = run(R"(open
tab tshFormulario
focus dbgPercCargo
click sbtIncluir
type dbgPercCargo -5000000000
key dbgPercCargo Tab
type dbgPercCargo 100
key dbgPercCargo Tab
type dbgPercCargo 5
click sbtConfirmar
show cdsPercCargo
grid dbgPercCargo
type dbgPercCargo -999999999,999
click sbtConfirmar
type dbgPercCargo -50
click sbtConfirmar
)");
    const std::string limit = "Valor Inicial fora do limite: use de -999999999 a 999999999.";
    EXPECT_EQ(messages(out), (Strings{limit, limit})) << out;
    EXPECT_TRUE(has(out, "cdsPercCargo state=insert rows=1")) << out;
    EXPECT_TRUE(has(out, "grid: dbgPercCargo column=VRINICIAL")) << out;
    EXPECT_EQ(calls("SetPercCargo"), 1u);
    EXPECT_EQ(linesStarting(out, "error: "), Strings{}) << out;
    EXPECT_EQ(stored(), Strings{"-50.0..100.0:5.0"});
}

// The catalogue's codes are three characters, not always digits.
class CatalogueCodes : public ScopeWorld {
protected:
    CatalogueCodes() : ScopeWorld({{"001", "Venda"}, {"007", "Troca"}, {"A01", "Venda de serviço"}}) {}
};

TEST_F(CatalogueCodes, ACodeOfThreeCharactersIsStoredAndSimulated) {
    const auto out = run(R"(open
tab tshEvento
click sbtIncluir
search 3
button dbgEvento
column dbgEvento IDCARGOVEND
pick dbgEvento Vendedor
click sbtConfirmar
focus dbgPercEvento
click sbtIncluir
type dbgPercEvento 0
key dbgPercEvento Tab
type dbgPercEvento 1000
key dbgPercEvento Tab
type dbgPercEvento 5
click sbtConfirmar
simulate 10/03/2025 10/03/2025 A01 Vendedor 100
)");
    EXPECT_EQ(messages(out), Strings{}) << out;
    EXPECT_EQ(linesStarting(out, "error: "), Strings{}) << out;
    const auto stored = rows("GetEvento", json::array({nr}));
    ASSERT_EQ(stored.size(), 1u) << out;
    EXPECT_EQ(stored[0].at(2), "A01");
    EXPECT_EQ(stored[0].at(3), "Venda de serviço");
    EXPECT_TRUE(has(out, "simulation: table=" + shown(nr) + " scope=TIPOEVENTO rule=" + shown(stored[0].at(0).get<double>()) +
                             " band=")) << out;
    EXPECT_TRUE(has(out, " percent=5 commission=5\n")) << out;
}

}  // namespace
}  // namespace e2e
