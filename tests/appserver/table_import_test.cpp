// ImportaComissao: a spreadsheet file into a new table or an empty one, all or nothing: one
// refused line stores nothing and every refused line is named; an accepted file is stored in
// the file's order with the history naming the import.
#include <gtest/gtest.h>

#include "server_harness.h"

using namespace harness;
using nlohmann::json;

namespace {

const std::string kHeader =
    "\xEF\xBB\xBF" "Escopo;Cargo;Cód. Tipo Evento;Tipo Evento;Validade Inicial;Validade Final;Data Base;Valor Inicial;"
    "Valor Final;Percentual\r\n";

std::string money(int cents) {
    std::string whole = std::to_string(cents / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(static_cast<std::size_t>(at), ".");
    const int rest = cents % 100;
    return whole + "," + (rest < 10 ? "0" : "") + std::to_string(rest);
}

}  // namespace

TEST(TableImport, OneRefusedLineStoresNothingAndBothOverlappingBandsAreNamed) {
    TempDb db;
    ServerProcess server(db.path());
    Client c(server.port());
    const double empty = addComissao(c, "Tabela 2025", day(2025, 1, 1), day(2025, 12, 31));

    // 2,000 lines: the header, then bands of 100,00 each; line 41 starts where line 40 ends.
    std::string text = kHeader;
    for (int line = 2; line <= 2000; ++line) {
        const int from = (line - 2) * 10000 - (line == 41 ? 1 : 0);
        text += "Cargo;Vendedor;;;;;;" + money(from) + ";" + money((line - 2) * 10000 + 9999) + ";1,50\r\n";
    }
    const json refused = json::array(
        {{{"line", 40}, {"column", "Valor Inicial"},
          {"text", "Intervalo de valores está contido parcial ou totalmente em outro já cadastrado."}},
         {{"line", 41}, {"column", "Valor Inicial"},
          {"text", "Intervalo de valores está contido parcial ou totalmente em outro já cadastrado."}}});
    const std::string before = render(c.packet("GetComissao", json::array()));

    EXPECT_EQ(c.result("ImportaComissao", {"2026.csv", text, "Tabela 2026", "2026-01-01", "2026-12-31", "0001"}),
              (json{{"table", nullptr}, {"refused", refused}}));
    EXPECT_EQ(c.result("ImportaComissao", {"2026.csv", text, empty}), (json{{"table", nullptr}, {"refused", refused}}));
    EXPECT_EQ(render(c.packet("GetComissao", json::array())), before);  // no new table
    EXPECT_EQ(render(c.packet("GetCargo", {empty})), "");
    EXPECT_EQ(c.packet("GetHistorico", {empty}).rows.size(), 1u);  // its own creation only
}

TEST(TableImport, AnAcceptedFileIsStoredInItsOrderAndTheHistoryNamesTheImport) {
    TempDb db;
    ServerProcess server(db.path());
    Client c(server.port());
    addComissao(c, "Tabela 2025", day(2025, 1, 1), day(2025, 12, 31));
    const std::string text = kHeader +
                             "Cargo;Supervisor;;;;;;0,00;1.000,00;1,00\r\n"
                             "Cargo;Vendedor;;;;;;0,00;500,00;2,00\r\n"
                             "Cargo;Vendedor;;;;;;500,01;9.000,00;2,50\r\n"
                             "Tipo de Evento;Gerente;001;Venda;;;;0,00;100,00;3,00\r\n"
                             "Promoção;Vendedor;002;Troca;01/03/2026;31/03/2026;Data de Fechamento;;;\r\n";

    // A period that overlaps another table's refuses the request as the screen would.
    EXPECT_EQ(c.errorOf("ImportaComissao", {"2026.csv", text, "Tabela 2026", "2025-06-01", "2026-12-31", "0001"}),
              "Intervalo de data está contido parcial ou totalmente em outra já cadastrada.");
    const json made = c.result("ImportaComissao", {"2026.csv", text, "Tabela 2026", "2026-01-01", "2026-12-31", "0001"});
    ASSERT_TRUE(made["table"].is_number()) << made.dump();
    EXPECT_EQ(made["refused"], json::array());
    const double nr = made["table"].get<double>();
    const std::string t = wire::render(nr);
    EXPECT_EQ(render(c.packet("GetComissao", json::array())).substr(render(c.packet("GetComissao", json::array())).find('\n') + 1),
              t + "|Tabela 2026|2026-01-01|2026-12-31|0001\n");

    const auto cargos = c.packet("GetCargo", {nr});
    ASSERT_EQ(cargos.rows.size(), 2u);
    EXPECT_EQ(std::get<std::string>(cargos.rows[0][1]), "S");
    EXPECT_EQ(std::get<std::string>(cargos.rows[1][1]), "V");
    const auto bands = c.packet("GetPercentual", {nr, std::get<double>(cargos.rows[1][0]), "CARGO"});
    ASSERT_EQ(bands.rows.size(), 2u);
    EXPECT_EQ(std::get<double>(bands.rows[1][static_cast<std::size_t>(bands.fieldIndex("VRINICIAL"))]), 500.01);
    EXPECT_EQ(std::get<double>(bands.rows[1][static_cast<std::size_t>(bands.fieldIndex("VRCOMISSAO"))]), 2.5);
    EXPECT_EQ(c.packet("GetEvento", {nr}).rows.size(), 1u);
    const auto promos = c.packet("GetPromocao", {nr});
    ASSERT_EQ(promos.rows.size(), 1u);
    EXPECT_EQ(c.packet("GetPercentual", {nr, std::get<double>(promos.rows[0][0]), "PROMOCAO"}).rows.size(), 0u);

    // Table, four rules and four bands, each created by the import.
    const auto history = c.packet("GetHistorico", {nr});
    ASSERT_EQ(history.rows.size(), 9u);
    for (const auto& row : history.rows)
        EXPECT_EQ(std::get<std::string>(row[static_cast<std::size_t>(history.fieldIndex("DSANTES"))]),
                  "Importação da planilha 2026.csv");

    // A table with rules takes no import; the one refusal is the request's.
    EXPECT_EQ(c.errorOf("ImportaComissao", {"2026.csv", text, nr}),
              "A tabela já tem regras: importe numa tabela nova ou numa tabela ainda sem regras.");
    EXPECT_EQ(c.errorOf("ImportaComissao", {"2026.csv", text, 999}), "Comissão não cadastrada.");
    EXPECT_EQ(c.packet("GetCargo", {nr}).rows.size(), 2u);
}
