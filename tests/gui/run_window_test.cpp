// Operação › Apurar vendas…: a run on a small file against the real server shows each
// salesperson's totals and their sales, saves the three files, writes statements; a cancelled
// run leaves nothing; the files of a comparison show both totals and the chart.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "gui/desktop/run_window.h"
#include "gui/desktop/screen_operations.h"
#include "gui/desktop_world.h"
#include "gui/pictures/difference_chart_view.h"

namespace guitest {
namespace {

const char* const kSales =
    "VENDA;VENDEDOR;IDCARGOVEND;CDTIPOEVENTO;DTEVENTO;DTFECHAMENTO;VRVENDA;LOJA\n"
    "A1;010;V;001;20/03/2025;25/03/2025;150,00;Centro\n"
    "A2;010;V;001;10/03/2025;15/03/2025;50,5;Centro\n"
    "A3;2;V;001;05/04/2025;10/04/2025;1.300,00;Norte\n"
    "A4;2;V;001;31/02/2025;10/04/2025;10,00;Norte\n"
    "A5;2;S;001;01/05/2025;02/05/2025;80,00;Norte\n";

std::string slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write(const QString& path, const std::string& text) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << text;
}

std::string pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60'000);
    EXPECT_EQ(p.exitCode(), 0);
    return p.readAllStandardOutput().toStdString();
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class DesktopRun : public DesktopWorld {
protected:
    void SetUp() override {
        DesktopWorld::SetUp();
        ASSERT_TRUE(dir.isValid());
        const double nr = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
        seedBands(nr, "CARGO", seedCargo(nr, "V"), {{0, 100, 2}, {100.01, 200, 3}});
        openScreen();
        auto* ops = screen().findChild<gui::ScreenOperations*>();
        ASSERT_NE(ops, nullptr);
        ASSERT_TRUE(screen().action("mnuOperacao")->menu()->actions().contains(&ops->runAction()));
        ops->runAction().trigger();
        runWindow = ops->run();
        ASSERT_NE(runWindow, nullptr);
    }

    // The cell of grid row `row` under the file's column `column`.
    static std::string at(const QTableWidget& grid, int row, const char* column) {
        for (int c = 0; c < grid.columnCount(); ++c)
            if (grid.horizontalHeaderItem(c)->data(Qt::UserRole).toString() == QLatin1String(column)) {
                if (const QTableWidgetItem* item = grid.item(row, c)) return item->text().toStdString();
                break;
            }
        ADD_FAILURE() << "no cell " << row << " " << column;
        return {};
    }
    static std::string header(const QTableWidget& grid, const char* column) {
        for (int c = 0; c < grid.columnCount(); ++c)
            if (grid.horizontalHeaderItem(c)->data(Qt::UserRole).toString() == QLatin1String(column))
                return grid.horizontalHeaderItem(c)->text().toStdString();
        return {};
    }
    static void clickRow(QTableWidget& grid, int row) {
        ASSERT_NE(grid.item(row, 0), nullptr) << row;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualItemRect(grid.item(row, 0)).center());
    }
    void runFile(const QString& path) {
        runWindow->salesFile().setText(path);
        QTest::mouseClick(&runWindow->runButton(), Qt::LeftButton);
        runWindow->wait();
    }

    QTemporaryDir dir;
    gui::RunWindow* runWindow = nullptr;
};

TEST_F(DesktopRun, TotalsSalesFilesAndStatementsOfARun) {
    const QString sales = dir.filePath(QStringLiteral("vendas.csv"));
    write(sales, kSales);
    runFile(sales);
    EXPECT_TRUE(errors().empty()) << errors().front();

    // Salespeople in code order, with exact totals; the refused line reaches none.
    QTableWidget& people = runWindow->salespeople();
    ASSERT_EQ(people.rowCount(), 2);
    EXPECT_EQ(at(people, 0, "VENDEDOR"), "2");
    EXPECT_EQ(at(people, 0, "QTVENDAS"), "2");
    EXPECT_EQ(at(people, 0, "VRVENDAS"), "1380,00");
    EXPECT_EQ(at(people, 0, "VRCOMISSAOVENDA"), "0,00");
    EXPECT_EQ(at(people, 0, "QTSEMCOMISSAO"), "2");
    EXPECT_EQ(at(people, 1, "VENDEDOR"), "010");
    EXPECT_EQ(at(people, 1, "VRVENDAS"), "200,50");
    EXPECT_EQ(at(people, 1, "VRCOMISSAOVENDA"), "5,51");
    EXPECT_EQ(header(people, "VRCOMISSAOVENDA_B"), "");  // no comparison, no second column
    EXPECT_TRUE(has(runWindow->summary().text().toStdString(), "Recusadas: 1")) << runWindow->summary().text().toStdString();

    // A click on a salesperson shows their sales with rule, band, commission and reason.
    clickRow(people, 1);
    QTableWidget& lines = runWindow->sales();
    ASSERT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(at(lines, 0, "VENDA"), "A1");
    EXPECT_EQ(at(lines, 0, "NRREGRA"), "1");
    EXPECT_EQ(at(lines, 0, "VRCOMISSAO"), "3,00");
    EXPECT_EQ(at(lines, 0, "VRCOMISSAOVENDA"), "4,50");
    EXPECT_EQ(at(lines, 1, "VRCOMISSAOVENDA"), "1,01");
    EXPECT_EQ(at(lines, 1, "MOTIVO"), "");
    clickRow(people, 0);
    ASSERT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(at(lines, 0, "VENDA"), "A3");
    EXPECT_EQ(at(lines, 0, "VRCOMISSAOVENDA"), "");
    EXPECT_NE(at(lines, 0, "MOTIVO"), "");
    EXPECT_EQ(at(lines, 1, "VENDA"), "A5");  // the refused A4 between them is not a sale

    // Saved: the three files of the run, as it wrote them.
    const QString saved = dir.filePath(QStringLiteral("maio"));
    runWindow->saveTo(saved + QStringLiteral(".csv"));
    for (const char* name : {"vendas", "vendedores", "recusadas"})
        EXPECT_EQ(slurp(saved + "-" + name + ".csv"), slurp(runWindow->prefix() + "-" + name + ".csv")) << name;
    EXPECT_TRUE(has(slurp(saved + "-recusadas.csv"), "5;DTEVENTO;"));
    EXPECT_TRUE(has(slurp(saved + "-vendas.csv"), "A1;010;V;001;20/03/2025;25/03/2025;150,00;Centro;1;CARGO;1;"));

    // The statement of the salesperson shown, and of every one on pages of their own.
    clickRow(people, 1);
    const QString one = dir.filePath(QStringLiteral("extrato.pdf"));
    runWindow->writeStatement(one, false);
    const std::string text = pdfText(one);
    EXPECT_TRUE(has(text, "Vendedor 010")) << text;
    EXPECT_TRUE(has(text, "10/03/2025 a 20/03/2025")) << text;  // the period, whatever the lines' order
    EXPECT_TRUE(has(text, "4,50")) << text;
    EXPECT_TRUE(has(text, "Total: 2 vendas · vendas 200,50 · comissão 5,51")) << text;
    EXPECT_FALSE(has(text, "A3")) << text;
    const QString all = dir.filePath(QStringLiteral("extratos.pdf"));
    runWindow->writeStatement(all, true);
    const std::string both = pdfText(all);
    EXPECT_TRUE(has(both, "Vendedor 2")) << both;
    EXPECT_TRUE(has(both, "Total: 2 vendas · vendas 1.380,00 · comissão 0,00")) << both;
    EXPECT_TRUE(has(both, "Página 2 de 2")) << both;
    EXPECT_TRUE(errors().empty()) << errors().front();
}

TEST_F(DesktopRun, ACancelledRunLeavesNothing) {
    // The run waits on a pipe until the test has cancelled it: it reads, and stops between chunks.
    const QString sales = dir.filePath(QStringLiteral("vendas.fifo"));
    ASSERT_EQ(::mkfifo(sales.toLocal8Bit().constData(), 0600), 0);
    runWindow->salesFile().setText(sales);
    QTest::mouseClick(&runWindow->runButton(), Qt::LeftButton);
    ASSERT_TRUE(runWindow->running());
    EXPECT_FALSE(runWindow->runButton().isEnabled());
    const QString prefix = runWindow->prefix();
    QTest::mouseClick(&runWindow->cancelButton(), Qt::LeftButton);
    write(sales, kSales);
    runWindow->wait();

    EXPECT_EQ(runWindow->summary().text().toStdString(), "Apuração cancelada: nenhum arquivo gravado.");
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(runWindow->salespeople().rowCount(), 0);
    EXPECT_FALSE(runWindow->saveButton().isEnabled());
    EXPECT_TRUE(runWindow->runButton().isEnabled());
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(prefix).path())) << prefix.toStdString();
}

TEST_F(DesktopRun, TheFilesOfAComparisonShowBothTotalsAndTheChart) {
    const QString prefix = dir.filePath(QStringLiteral("comparada"));
    write(prefix + "-vendedores.csv",
          "\xEF\xBB\xBFVENDEDOR;QTVENDAS;VRVENDAS;VRCOMISSAOVENDA;QTSEMCOMISSAO;VRCOMISSAOVENDA_B;DIFERENCA\n"
          "1;3;300,00;9,00;0;12,00;3,00\n"
          "2;1;100,00;2,00;0;2,00;0,00\n"
          "3;2;900,00;27,00;0;0,00;-27,00\n");
    write(prefix + "-vendas.csv", "VENDA;VENDEDOR;VRCOMISSAOVENDA;VRCOMISSAOVENDA_B;DIFERENCA;MOTIVO_B\n"
                                  "X;3;27,00;;-27,00;\"sem faixa; fora\"\n");
    ASSERT_TRUE(runWindow->showFiles(prefix));
    QTableWidget& people = runWindow->salespeople();
    ASSERT_EQ(people.rowCount(), 3);
    EXPECT_EQ(header(people, "VRCOMISSAOVENDA_B"), "Comissão da tabela comparada");
    EXPECT_EQ(at(people, 2, "DIFERENCA"), "-27,00");
    clickRow(people, 2);
    EXPECT_EQ(at(runWindow->sales(), 0, "MOTIVO_B"), "sem faixa; fora");

    // The largest differences either way, the unchanged salesperson left out.
    EXPECT_TRUE(runWindow->chart().isVisibleTo(runWindow));
    const auto& bars = runWindow->chart().data().bars;
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].vendedor, "3");
    EXPECT_EQ(bars[0].bCents, 0);
    EXPECT_EQ(bars[1].vendedor, "1");
    EXPECT_EQ(bars[1].bCents, 1200);
    QDir().mkpath(QStringLiteral(KTR_BIN_DIR "/../screenshots"));
    EXPECT_TRUE(runWindow->grab().save(QStringLiteral(KTR_BIN_DIR "/../screenshots/apurar-vendas.png")));
    EXPECT_GE(runWindow->chart().height(), runWindow->chart().minimumHeight());
}

}  // namespace
}  // namespace guitest
