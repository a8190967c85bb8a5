// Statements over several pages: every sale printed once, the column titles again on each page,
// each salesperson starting a page of their own, the pages counted over the whole file.
#include "gui/report/statement_pdf.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <regex>

namespace guitest {
namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(StatementPdf, LongStatementsBreakAcrossPagesLosingNoSale) {
    std::vector<gui::SalesStatement> statements(2);
    statements[0].vendedor = "7";
    statements[1].vendedor = "8";
    for (int i = 0; i < 150; ++i)
        statements[0].sales.push_back({"S" + std::to_string(1000 + i) + "X", "01/03/2025", "001", "V", "10,00", "2,00",
                                       "0,20", ""});
    statements[1].sales.push_back({"T1", "02/03/2025", "002", "G", "5,00", "", "", "Nenhuma faixa contém a venda."});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("extratos.pdf"));
    gui::WriteStatementPdf(statements, {"0001", "09/12/2026 10:00"}, path);

    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60'000);
    ASSERT_EQ(p.exitCode(), 0);
    const std::string text = p.readAllStandardOutput().toStdString();
    for (int i = 0; i < 150; ++i) EXPECT_EQ(count(text, "S" + std::to_string(1000 + i) + "X"), 1u) << i;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, std::regex("Página 1 de (\\d+)"))) << text;
    const int pages = std::stoi(m[1]);
    EXPECT_GE(pages, 3);  // 150 lines take more than one page, and the second salesperson one more
    for (int n = 1; n <= pages; ++n)
        EXPECT_EQ(count(text, "Página " + std::to_string(n) + " de " + std::to_string(pages)), 1u) << n;
    EXPECT_EQ(count(text, "Data do Evento"), static_cast<std::size_t>(pages));  // the titles on every page
    EXPECT_EQ(count(text, "Extrato de comissão · Vendedor 8"), 1u);  // a page of its own
    EXPECT_EQ(count(text, "Filial 0001"), static_cast<std::size_t>(pages));
    EXPECT_NE(text.find("Nenhuma faixa contém a venda."), std::string::npos);
}

}  // namespace
}  // namespace guitest
