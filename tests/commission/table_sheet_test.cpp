// The spreadsheet file of a table read back: what a spreadsheet does to the report's file is
// read as the report meant it, and every refused line is named at once, not only the first.
#include <gtest/gtest.h>

#include "commission/sheet_checks.h"
#include "commission/table_sheet.h"
#include "wire/datetime.h"

namespace {

using commission::Scope;

long long day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d).days(); }

std::string findings(const commission::TableSheet& sheet) {
    std::string out;
    for (const auto& f : sheet.findings) out += std::to_string(f.line) + "|" + f.column + "|" + f.text + "\n";
    return out;
}

commission::TableSheet checked(const std::string& text) {
    commission::TableSheet sheet = commission::readTableSheet(text);
    commission::checkTableSheet(sheet, day(2026, 1, 1), day(2026, 12, 31));
    return sheet;
}

}  // namespace

TEST(TableSheet, AFileSavedByASpreadsheetReadsAsTheReportWroteIt) {
    // A mark, CRLF and LF mixed, columns moved and one added, every cell quoted on one line, a
    // name holding ";", a doubled quote and a line break, thousands points, codes beside words.
    const std::string text =
        "\xEF\xBB\xBF" "Escopo;Percentual;Cargo;Cód. Tipo Evento;Tipo Evento;Validade Inicial;Validade Final;"
        "Data Base;Valor Inicial;Valor Final;Observação\r\n"
        "Cargo;1,5;Vendedor;;;;;;0,00;1.234,56;revisar\r\n"
        "\"Cargo\";\"2,25\";\"Vendedor\";\"\";\"\";\"\";\"\";\"\";\"1.234,57\";\"1234567,5\";\"\"\r\n"
        "\r\n"
        "Tipo de Evento;3;S;001;\"Venda; \"\"balcão\"\"\nloja\";;;;-10;0,5;\n"
        "PROMOCAO;;G;002;Troca;1/3/2026;31/03/2026;DATAEVENTO;;;\r\n"
        "Promoção;4;gerente;002;Troca;01/04/2026;30/04/2026;Data de Fechamento;0;100;\r\n";
    const commission::TableSheet sheet = checked(text);
    EXPECT_EQ(findings(sheet), "");
    ASSERT_EQ(sheet.rules.size(), 4u);

    const auto& v = sheet.rules[0];
    EXPECT_EQ(v.rule.scope, Scope::Cargo);
    EXPECT_EQ(v.rule.cargo, "V");
    EXPECT_EQ(v.line, 2);
    ASSERT_EQ(v.rule.bands.size(), 2u);
    EXPECT_EQ(v.bandLines, (std::vector<int>{2, 3}));
    EXPECT_EQ(v.rule.bands[0].first, 0);
    EXPECT_EQ(v.rule.bands[0].last, 123456);
    EXPECT_EQ(v.rule.bands[0].percent, 1.5);
    EXPECT_EQ(v.rule.bands[1].first, 123457);
    EXPECT_EQ(v.rule.bands[1].last, 123456750);
    EXPECT_EQ(v.rule.bands[1].percent, 2.25);

    const auto& e = sheet.rules[1];
    EXPECT_EQ(e.rule.scope, Scope::TipoEvento);
    EXPECT_EQ(e.rule.cargo, "S");
    EXPECT_EQ(e.rule.tipoEvento, "001");
    EXPECT_EQ(e.rule.nomeTipoEvento, "Venda; \"balcão\"\nloja");
    EXPECT_EQ(e.line, 5);  // the blank line 4 counted
    ASSERT_EQ(e.rule.bands.size(), 1u);
    EXPECT_EQ(e.rule.bands[0].first, -1000);
    EXPECT_EQ(e.rule.bands[0].last, 50);

    const auto& empty = sheet.rules[2];  // a promotion without bands, the line after a quoted break
    EXPECT_EQ(empty.line, 7);
    EXPECT_EQ(empty.rule.base, "DATAEVENTO");
    EXPECT_EQ(empty.rule.firstDay, day(2026, 3, 1));
    EXPECT_EQ(empty.rule.lastDay, day(2026, 3, 31));
    EXPECT_TRUE(empty.rule.bands.empty());
    EXPECT_EQ(sheet.rules[3].rule.base, "DATAFECHAMENTO");
    EXPECT_EQ(sheet.rules[3].rule.cargo, "G");
}

TEST(TableSheet, EveryRefusedLineIsNamedWithItsColumnAndTheScreensText) {
    const std::string header =
        "Escopo;Cargo;Cód. Tipo Evento;Tipo Evento;Validade Inicial;Validade Final;Data Base;Valor Inicial;Valor Final;"
        "Percentual\r\n";
    const std::string text = header +
                             "Tipo de Evento;Vendedor;001;Venda;;;;0,00;100,00;2,00\r\n"             // 2
                             "Tipo de Evento;Vendedor;001;Venda;;;;100,01;200,00;0,00\r\n"           // 3: zero
                             "Tipo de Evento;Supervisor;002;Troca;;;;0,00;10,00;1,00\r\n"            // 4
                             "Tipo de Evento;Vendedor;001;Venda Balcão;;;;0,00;100,00;2,00\r\n"      // 5: repeated
                             "Promoção;Vendedor;001;Venda;15/12/2026;15/01/2027;Data do Evento;;;\r\n"  // 6: outside
                             "Cargo;Vendedor;;;;;;0,00;1.000,005;1,00\r\n"                           // 7: 3 decimals
                             "Cargo;Gerente;;;;;;0,00;50,00;1,00\r\n"                                // 8
                             "Cargo;Gerente;;;;;;40,00;60,00;1,00\r\n"                               // 9: overlaps 8
                             "Cargo;Gerente;;;;;;70,00;;\r\n"                                        // 10: no end, no %
                             "Cargo;Diretor;;;;;;0,00;50,00;1,00\r\n"                                // 11
                             // A rule without bands is one line alone: beside a band or a second
                             // blank line it is a band without its start.
                             "Cargo;Supervisor;;;;;;;;\r\n"                                         // 12
                             "Cargo;Supervisor;;;;;;0,00;50,00;1,00\r\n"                            // 13
                             "Tipo de Evento;Gerente;003;Garantia;;;;;;\r\n"                        // 14
                             "Tipo de Evento;Gerente;003;Garantia;;;;;;\r\n";                       // 15
    EXPECT_EQ(findings(checked(text)),
              "3|Percentual|Percentual de comissão deve ser maior que zero.\n"
              "5|Cód. Tipo Evento|Tipo de Evento e cargo já cadastrados.\n"
              "6|Validade Final|Data Inicial e Final da Promoção deve estar entre a data Inicial e Final da Comissão.\n"
              "7|Valor Final|Valor Final deve ter no máximo duas casas decimais.\n"
              "8|Valor Inicial|Intervalo de valores está contido parcial ou totalmente em outro já cadastrado.\n"
              "9|Valor Inicial|Intervalo de valores está contido parcial ou totalmente em outro já cadastrado.\n"
              "10|Valor Final|Valor Final deve ser cadastrado.\n"
              "10|Percentual|Percentual deve ser informado.\n"
              "11|Cargo|Cargo inválido: use Vendedor, Supervisor ou Gerente (ou V, S, G).\n"
              "12|Valor Inicial|Valor Inicial deve ser cadastrado.\n"
              "15|Valor Inicial|Valor Inicial deve ser cadastrado.\n");

    // A file without a band column is refused at its header, before any line is read.
    EXPECT_EQ(findings(checked("Escopo;Cargo;Valor Inicial;Valor Final\r\nCargo;V;0;1\r\n")),
              "1|Percentual|Coluna \"Percentual\" não encontrada no cabeçalho.\n");
}
