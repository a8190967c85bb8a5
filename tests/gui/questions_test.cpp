// Manutenção › Simular venda…, Verificar tabela and Histórico: a sale's answer and its reasons,
// bad input shown in place, a finding that moves the screen to its page and row, the table's changes.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

#include "gui/desktop_world.h"
#include "gui/dialogs/findings_view.h"
#include "gui/dialogs/history_view.h"
#include "gui/dialogs/sale_dialog.h"
#include "gui/desktop/screen_questions.h"
#include "toolkit/tclientdataset.h"

namespace guitest {
namespace {

class DesktopQuestions : public DesktopWorld {
protected:
    gui::ScreenQuestions& questions() {
        auto* q = screen().findChild<gui::ScreenQuestions*>();
        if (!q) throw std::runtime_error("the screen has no questions");
        return *q;
    }
    static void retype(QLineEdit& edit, const char* text) {
        edit.clear();
        QTest::keyClicks(&edit, QString::fromUtf8(text));
    }
};

TEST_F(DesktopQuestions, SaleAnswerWithReasonsAndAFindingMovesTheScreenToItsBand) {
    const double nr = seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    const double vendedor = seedCargo(nr, "V");
    seedBands(nr, "CARGO", vendedor, {{0, 100, 2}, {100.01, 200, 3}, {200.02, 300, 4}});
    const double supervisor = seedCargo(nr, "S");
    seedBands(nr, "CARGO", supervisor, {{0, 100, 1}});
    const double below = rows("GetPercentual", json::array({nr, vendedor, "CARGO"})).at(1).at(0).get<double>();
    openScreen();
    EXPECT_TRUE(screen().action("mnuManutencao")->menu()->actions().contains(&questions().simulateAction()));

    questions().simulateAction().trigger();
    gui::SaleDialog* dialog = questions().simulation();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->eventType().count(), 3);  // the local catalogue
    ASSERT_EQ(dialog->position().itemText(0).toStdString(), "Vendedor");
    retype(dialog->eventDate(), "31/02/2025");
    retype(dialog->closingDate(), "15/03/2025");
    retype(dialog->value(), "150");
    QTest::mouseClick(&dialog->simulateButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->answer().text().toStdString(),
              "Data do Evento inválida: \"31/02/2025\". Informe uma data existente no formato dd/mm/aaaa.");
    EXPECT_EQ(dialog->reasons().count(), 0);

    retype(dialog->eventDate(), "15/03/2025");
    QTest::mouseClick(&dialog->simulateButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->answer().text().toStdString(),
              "Comissão de 4,50: Tabela 2025, faixa de 100,01 a 200,00, 3,00 % (página Cargo).");
    EXPECT_EQ(dialog->value().text().toStdString(), "150,00");
    ASSERT_EQ(dialog->reasons().count(), 2);
    EXPECT_EQ(dialog->reasons().item(1)->text().toStdString(), "Nenhuma regra do tipo de evento 001 para Vendedor.");

    // The screen stands on the supervisor's rule, back on its first page.
    clickTab("tshFormulario");
    clickCell(grid("dbgCargo"), 1, "IDCARGOVEND");
    ASSERT_EQ(current("cdsCargo", "NRCOMISSAOCARGOOREV"), supervisor);
    clickTab("tshFolhaDados");

    questions().checkAction().trigger();
    gui::FindingsView* findings = questions().findings();
    ASSERT_NE(findings, nullptr);
    ASSERT_EQ(findings->findings().size(), 4u);  // the hole, and the three event types without a rule
    EXPECT_EQ(findings->list().item(0)->text().toStdString(),
              "Lacuna entre faixas · Cargo Vendedor (regra 1): nenhuma faixa contém o valor 200,01.");
    EXPECT_EQ(findings->findings()[3].kind, "TIPOEVENTO_SEM_REGRA");
    // Choosing a finding moves the screen, not the windows.
    auto arrangement = [this] {
        std::vector<std::pair<QRect, int>> windows{{window->geometry(), static_cast<int>(window->windowState())}};
        for (QMdiSubWindow* w : window->mdiArea().subWindowList())
            windows.emplace_back(w->geometry(), static_cast<int>(w->windowState()));
        return windows;
    };
    const auto before = arrangement();
    findings->list().setCurrentRow(0);
    QTest::keyClick(&findings->list(), Qt::Key_Return);
    EXPECT_EQ(arrangement(), before);
    EXPECT_EQ(screen().pages()->currentWidget(), screen().widgetOf("tshFormulario"));
    EXPECT_EQ(current("cdsCargo", "NRCOMISSAOCARGOOREV"), vendedor);
    EXPECT_EQ(current("cdsPercCargo", "NRFAIXACOMISSAOOREV"), below);

    questions().historyAction().trigger();
    ASSERT_NE(questions().history(), nullptr);
    QTableWidget& history = questions().history()->table();
    ASSERT_EQ(history.rowCount(), 7);  // the table, two rules and four bands, as seeded
    EXPECT_EQ(history.item(0, 1)->text().toStdString(), "(local)");
    // Local time as a user reads it, and the row in the grid's titles and formats.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"))
                    .match(history.item(0, 0)->text())
                    .hasMatch())
        << history.item(0, 0)->text().toStdString();
    EXPECT_EQ(history.horizontalHeaderItem(0)->text().toStdString(), "Quando");
    const std::string band = history.item(2, 5)->text().toStdString();
    EXPECT_NE(band.find("Valor Inicial: 0,00"), std::string::npos) << band;
    EXPECT_EQ(band.find("VRINICIAL"), std::string::npos) << band;
    EXPECT_EQ(history.item(0, 2)->text().toStdString(), "Comissão");
    EXPECT_EQ(history.item(6, 3)->text().toStdString(), "Inclusão");
    EXPECT_TRUE(errors().empty()) << errors().front();
}

}  // namespace
}  // namespace guitest
