// copy through the headless host: next year's table from the current one, the screen moved to
// it, what was left out printed, bad dates and a refused period leaving the screen as it was.
#include "e2e/scope_world.h"

namespace e2e {
namespace {

class TableCopy : public ScopeWorld {};

TEST_F(TableCopy, CopiesTheCurrentTableAndStandsOnTheNewOne) {
    seedBand(nr, "CARGO", seedCargo(nr, "V"), 0, 1000, 2);
    seedPromocao(nr, "2025-12-01", "2025-12-31", "DATAEVENTO", "001", "Venda", "V");

    const auto out = run(R"(open
copy 31/02/2026 30/11/2026 Tabela 2026
copy 01/06/2025 30/11/2026 Tabela 2026
copy 01/01/2026 30/11/2026   Tabela 2026  
show cdsComissao
tab tshFormulario
show cdsCargo
)");
    EXPECT_EQ(out.substr(0, out.find("cdsComissao state=")),
              "message: Data Inicial inválida: \"31/02/2026\". Informe uma data existente no formato dd/mm/aaaa.\n"
              "error: Intervalo de data está contido parcial ou totalmente em outra já cadastrada.\n"
              "copy: table=2 left=1\n"
              "left: Promoção de 01/12/2025 a 31/12/2025 pela Data do Evento, tipo de evento 001 Venda, Vendedor "
              "(regra 1): não copiada; iria de 01/12/2026 a 31/12/2026, fora da vigência da nova tabela.\n")
        << out;
    EXPECT_TRUE(has(out, "cdsComissao state=browse rows=2 current=2\n")) << out;
    EXPECT_TRUE(has(out, "DSCOMISSAOOREV=Tabela 2026;DTVALIDADEINI=2026-01-01;DTVALIDADEFIN=2026-11-30")) << out;
    // The rules page shows the new table's rule.
    EXPECT_TRUE(has(out, "cdsCargo state=browse rows=1 current=1\n")) << out;
    EXPECT_TRUE(has(out, "NRCOMISSAOOREV=2")) << out;
}

}  // namespace
}  // namespace e2e
