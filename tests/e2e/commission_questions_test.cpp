// simulate and check through the headless host: answers from the server, bad input refused
// with a message before anything is asked, the screen untouched.
#include "e2e/scope_world.h"

namespace e2e {
namespace {

class CommissionQuestions : public ScopeWorld {};

TEST_F(CommissionQuestions, SimulateAnswersWithReasonsRefusesBadInputAndCheckAddsTheCatalogue) {
    const double vendedor = seedCargo(nr, "V");
    seedBand(nr, "CARGO", vendedor, 0, 1000, 2);
    seedBand(nr, "CARGO", vendedor, 1000.02, 5000, 3);
    const double evento = seedEvento(nr, "001", "Venda", "V");
    seedBand(nr, "TIPOEVENTO", evento, 0, 1000, 4);
    const double promo = seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAFECHAMENTO", "001", "Venda", "V");
    seedBand(nr, "PROMOCAO", promo, 0, 100, 10);

    const auto out = run(R"(open
simulate 15/01/2025 2025-03-31 1 vendedor 1.000,00
simulate 31/02/2025 31/03/2025 001 V 10
simulate 15/01/2025 31/03/2025 999 V 10
simulate 15/01/2025 31/03/2025 001 X 10
simulate 15/01/2025 31/03/2025 001 V 10,005
simulate 15/01/2025 31/03/2025 001 G 1.000.000.000
check
tab tshFormulario
show cdsCargo
)");
    EXPECT_EQ(out.substr(0, out.find("cdsCargo state=")),
              "simulation: table=1 scope=TIPOEVENTO rule=1 band=3 percent=4 commission=40\n"
              "reason: Promoção de 01/03/2025 a 31/03/2025 pela Data de Fechamento, tipo de evento 001 Venda, "
              "Vendedor (regra 1): nenhuma faixa contém o valor 1.000,00.\n"
              "message: Data do Evento inválida: \"31/02/2025\". Informe uma data existente no formato dd/mm/aaaa.\n"
              "message: Tipo de evento não cadastrado.\n"
              "message: Cargo inválido: \"X\". Use Vendedor, Supervisor ou Gerente.\n"
              "message: Valor da venda deve ter no máximo duas casas decimais.\n"
              "message: Valor da venda fora do limite: use de -999.999.999,00 a 999.999.999,00.\n"
              "check: table=1 findings=3\n"
              "finding: FAIXA_LACUNA tables=1 scope=CARGO rule=1 bands=1,2 text=Cargo Vendedor (regra 1): nenhuma "
              "faixa contém o valor 1.000,01.\n"
              "finding: TIPOEVENTO_SEM_REGRA tables=1 scope=TIPOEVENTO rule= bands= text=Tipo de evento 007 Troca não "
              "tem regra de tipo de evento nem promoção nesta comissão: suas vendas seguem a regra de cargo.\n"
              "finding: TIPOEVENTO_SEM_REGRA tables=1 scope=TIPOEVENTO rule= bands= text=Tipo de evento 012 Devolucao "
              "não tem regra de tipo de evento nem promoção nesta comissão: suas vendas seguem a regra de cargo.\n");
    // Refused input asks nothing; the screen goes on as it was.
    EXPECT_EQ(calls("SimulaComissao"), 1u);
    EXPECT_TRUE(has(out, "cdsCargo state=browse rows=1 current=1\n")) << out;
}

// An event type that only a promotion names has a rule: the check does not report it.
TEST_F(CommissionQuestions, CheckCountsAnEventTypeNamedOnlyByAPromotion) {
    seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAEVENTO", "007", "Troca", "V");
    const auto out = run("open\ncheck\n");
    EXPECT_FALSE(has(out, "Tipo de evento 007")) << out;
    EXPECT_TRUE(has(out, "Tipo de evento 012 Devolucao não tem regra")) << out;
}

}  // namespace
}  // namespace e2e
