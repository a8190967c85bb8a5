// The commission report: backoffice-report's PDF holds every band as the grids show it on
// numbered pages, its CSV reads back into the same rows, and the desktop writes the same.
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <sstream>

#include "gui/desktop_world.h"
#include "gui/desktop/screen_pictures.h"

namespace guitest {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct ProcessRun {
    int exitCode = -1;
    std::string out, err;
};

ProcessRun run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60'000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

std::string pdfText(const QString& path) {
    const ProcessRun r = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

// Reads ";"-separated lines ending in CRLF, with quoted cells, after a UTF-8 mark.
Rows readCsv(std::string text) {
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
    text.erase(0, 3);
    Rows rows(1);
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            rows.back().push_back(std::move(cell));
            cell.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(std::move(cell));
            cell.clear();
            rows.emplace_back();
            ++i;
        } else {
            cell += c;
        }
    }
    EXPECT_TRUE(rows.back().empty() && cell.empty()) << "the last line has no CRLF";
    rows.pop_back();
    return rows;
}

// Every band's three texts, in order, on one line of the extracted text.
void expectBandsIn(const std::string& text, const Rows& expected) {
    for (const auto& row : expected) {
        const std::string& ini = row[row.size() - 3];
        if (ini.empty()) continue;
        const std::string& fin = row[row.size() - 2];
        const std::string& percent = row.back();
        bool found = false;
        std::istringstream lines(text);
        for (std::string line; !found && std::getline(lines, line);) {
            const auto a = line.find(" " + ini + " ");
            const auto b = a == std::string::npos ? a : line.find(" " + fin + " ", a + ini.size());
            found = b != std::string::npos && line.find(" " + percent, b + fin.size()) != std::string::npos;
        }
        EXPECT_TRUE(found) << "no line with " << ini << " " << fin << " " << percent;
    }
}

using DesktopReport = DesktopWorld;

TEST_F(DesktopReport, ReportHoldsEveryBandAsTheGridsShowIt) {
    const double nr = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    // Enough bands for a second page: none may go missing at the break.
    const double vendedor = seedCargo(nr, "V");
    std::vector<Band> bands;
    Rows expected = {{"Escopo", "Cargo", "Cód. Tipo Evento", "Tipo Evento", "Validade Inicial", "Validade Final",
                      "Data Base", "Valor Inicial", "Valor Final", "Percentual"}};
    for (int i = 0; i < 70; ++i) {
        bands.push_back({i * 1000.0, i * 1000.0 + 999.99, i % 10 + 0.25});
        const std::string thousands = std::to_string(i);
        expected.push_back({"Cargo", "Vendedor", "", "", "", "", "", i == 0 ? "0,00" : thousands + ".000,00",
                            i == 0 ? "999,99" : thousands + ".999,99", std::to_string(i % 10) + ",25"});
    }
    seedBands(nr, "CARGO", vendedor, bands);
    const double evento = seedEvento(nr, "001", "Venda; balcão", "S");
    seedBands(nr, "TIPOEVENTO", evento, {{0, 1234.5, 2.75}});
    expected.push_back({"Tipo de Evento", "Supervisor", "001", "Venda; balcão", "", "", "", "0,00", "1.234,50", "2,75"});
    seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAEVENTO", "002", "Troca \"especial\"", "G");
    expected.push_back({"Promoção", "Gerente", "002", "Troca \"especial\"", "01/03/2025", "31/03/2025",
                        "Data do Evento", "", "", ""});

    QTemporaryDir dir;
    const QString program = QStringLiteral(KTR_BIN_DIR "/backoffice-report");
    const QString address = QString::fromStdString(server.address());
    const QString table = QString::number(nr);
    const QString pdf = dir.filePath(QStringLiteral("relatorio.pdf"));
    ProcessRun r = run(program, {"--server", address, "--table", table, "--out", pdf, "--branch", "0042"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string text = pdfText(pdf);
    expectBandsIn(text, expected);
    for (const char* words : {"Filial 0042", "Impresso em", "Página 1 de 2", "Página 2 de 2", "Vendedor",
                              "Supervisor", "Data do Evento", "Cód. Tipo Evento", "Nenhuma faixa cadastrada."})
        EXPECT_NE(text.find(words), std::string::npos) << words;

    const QString csv = dir.filePath(QStringLiteral("relatorio.csv"));
    r = run(program, {"--server", address, "--table", table, "--out", csv, "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(readCsv(file.readAll().toStdString()), expected);

    // A failed run leaves the last report as it was.
    r = run(program, {"--server", address, "--table", "999", "--out", csv, "--format", "csv"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Tabela de comissão 999 não encontrada."), std::string::npos) << r.err;
    file.seek(0);
    EXPECT_EQ(readCsv(file.readAll().toStdString()), expected);
    r = run(program, {"--server", address, "--table", table, "--out", dir.filePath(QStringLiteral("nada/r.pdf"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Não foi possível gravar o arquivo"), std::string::npos) << r.err;

    // The desktop prints the same report of the screen's current table, with the user's branch.
    openScreen();
    gui::ScreenPictures* pictures = screen().findChild<gui::ScreenPictures*>();
    ASSERT_NE(pictures, nullptr);
    EXPECT_TRUE(screen().action("mnuOperacao")->menu()->actions().contains(&pictures->reportAction()));
    EXPECT_TRUE(pictures->reportAction().isEnabled());
    const QString desktopPdf = dir.filePath(QStringLiteral("desktop.pdf"));
    pictures->writeReportPdf(desktopPdf);
    EXPECT_TRUE(errors().empty()) << errors().front();
    const std::string desktopText = pdfText(desktopPdf);
    expectBandsIn(desktopText, expected);
    EXPECT_NE(desktopText.find("Filial 0001"), std::string::npos);
}

}  // namespace
}  // namespace guitest
