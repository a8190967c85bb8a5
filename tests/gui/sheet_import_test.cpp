// A table to a spreadsheet and back: the report's file imported into an empty table writes the
// same file again, byte for byte; the desktop lists every refused line at once and, once a file
// is stored, stands on the table it filled.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "gui/desktop/screen_import.h"
#include "gui/desktop_world.h"
#include "gui/dialogs/sheet_import_dialog.h"

namespace guitest {
namespace {

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

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using DesktopSheetImport = DesktopWorld;

TEST_F(DesktopSheetImport, TheReportsFileImportedWritesTheSameFileAndEveryRefusedLineIsListed) {
    const double nr = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    const double v = seedCargo(nr, "V");
    seedBands(nr, "CARGO", v, {{0, 1234.5, 1.5}, {1234.51, 999999.99, 2.25}});
    seedCargo(nr, "S");  // no bands
    seedBands(nr, "TIPOEVENTO", seedEvento(nr, "001", "Venda; \"balcão\"", "G"), {{-10, 0, 3}});
    seedBands(nr, "PROMOCAO", seedPromocao(nr, "2025-03-01", "2025-03-31", "DATAFECHAMENTO", "002", "Troca", "V"),
              {{0, 100, 4}});
    seedPromocao(nr, "2025-04-01", "2025-04-30", "DATAEVENTO", "002", "Troca", "V");

    QTemporaryDir dir;
    const QString report = QStringLiteral(KTR_BIN_DIR "/backoffice-report");
    const QString address = QString::fromStdString(server.address());
    const QString first = dir.filePath(QStringLiteral("2025.csv")), again = dir.filePath(QStringLiteral("again.csv"));
    ProcessRun r = run(report, {"--server", address, "--table", QString::number(nr), "--out", first, "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(contents(first).contains("Tipo de Evento;Gerente;001;\"Venda; \"\"balc\xC3\xA3o\"\"\";;;;-10,00;0,00;3,00\r\n"))
        << contents(first).toStdString();

    // The period is the old table's own: it goes first, and the file comes back into an empty one.
    json old = storedComissoes().at(0);
    testsupport::rpcResult(server.port(), "SetComissao",
                           {{{"fields", layout(wire::lists::comissao)}, {"changes", {{{"op", "delete"}, {"old", old}}}}}});
    r = run(QStringLiteral(KTR_BIN_DIR "/backoffice-import"),
            {"--server", address, "--branch", "0001", "--file", first, "--new", "Importada", "01/01/2025", "31/12/2025"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const double imported = storedComissoes().at(0).at(0).get<double>();
    EXPECT_NE(r.out.find("Tabela " + std::to_string(static_cast<long long>(imported)) + " importada"), std::string::npos);
    r = run(report, {"--server", address, "--table", QString::number(imported), "--out", again, "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contents(again).toStdString(), contents(first).toStdString());

    // In the desktop: a file with two refused lines lists both and stores nothing; the good
    // file then fills a new table, and the screen stands on it.
    const QString bad = dir.filePath(QStringLiteral("ruim.csv")), good = dir.filePath(QStringLiteral("boa.csv"));
    for (const auto& [path, text] : {std::pair(bad, "Cargo;V;0,00;100,00;1\nCargo;V;50,00;150,00;1\n"),
                                     std::pair(good, "Cargo;V;0,00;100,00;1\nCargo;V;100,01;150,00;1\n")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("Escopo;Cargo;Valor Inicial;Valor Final;Percentual\n") + text);
    }
    openScreen();
    auto* item = screen().findChild<gui::ScreenImport*>();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(screen().action("mnuOperacao")->menu()->actions().contains(&item->importAction()));
    std::vector<std::string> listed;
    answers.push_back([&](QDialog& dialog) {
        auto* d = qobject_cast<gui::SheetImportDialog*>(&dialog);
        ASSERT_NE(d, nullptr);
        d->file().setText(bad);
        d->description().setText(QStringLiteral("Tabela 2026"));
        d->start().setText(QStringLiteral("01/01/2026"));
        d->end().setText(QStringLiteral("31/12/2026"));
        QTest::mouseClick(&d->importButton(), Qt::LeftButton);
        for (int i = 0; i < d->refused().count(); ++i) listed.push_back(d->refused().item(i)->text().toStdString());
        d->file().setText(good);
        QTest::mouseClick(&d->importButton(), Qt::LeftButton);
    });
    item->openImport();
    EXPECT_TRUE(errors().empty()) << errors().front();
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "Linha 2, Valor Inicial: Intervalo de valores está contido parcial ou totalmente em outro já cadastrado.",
                          "Linha 3, Valor Inicial: Intervalo de valores está contido parcial ou totalmente em outro já cadastrado."}));
    const json tables = storedComissoes();
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(current("cdsComissao", "NRCOMISSAOOREV"), tables.at(1).at(0).get<double>());
}

}  // namespace
}  // namespace guitest
