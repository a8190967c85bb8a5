// Editing through the desktop host's widgets: key and mouse events reach the screen's
// handlers as in the headless host, and what they store reaches the server.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "gui/desktop_world.h"
#include "toolkit/tclientdataset.h"

namespace guitest {
namespace {

using DesktopEditing = DesktopWorld;

TEST_F(DesktopEditing, NewCommissionTableTypedInTheGridReachesTheServer) {
    openScreen();
    // A second choice of the menu entry brings the same screen to the front.
    window->openAction().trigger();
    EXPECT_EQ(window->mdiArea().subWindowList().size(), 1);
    QWidget* child = window->mdiArea().subWindowList().first();
    EXPECT_EQ(child->size(), QSize(649, 559));
    EXPECT_EQ(child->windowTitle().toStdString(), "Comissão dos Vendedores");
    auto* code = qobject_cast<QLabel*>(screen().widgetOf("lblCodTela"));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->text().toStdString(), "KTR52300");

    EXPECT_FALSE(enabled("sbtConfirmar"));
    click("sbtIncluir");
    EXPECT_TRUE(enabled("sbtConfirmar"));
    EXPECT_FALSE(enabled("sbtIncluir"));

    // The keyboard goes where the toolkit put the focus: the list of tables.
    auto& g = grid("dbgPadrao");
    ASSERT_EQ(QApplication::focusWidget(), &g);
    QTest::keyClicks(QApplication::focusWidget(), "Tabela GUI");
    EXPECT_EQ(cell(g, 0, "DSCOMISSAOOREV"), "Tabela GUI");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(g.currentIndex().column(), columnOf(g, "DTVALIDADEINI"));
    QTest::keyClicks(QApplication::focusWidget(), "01012026");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "31122026");
    click("sbtConfirmar");

    EXPECT_TRUE(errors().empty()) << errors().front();
    const json stored = rows("GetComissao", json::array());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][1], "Tabela GUI");
    EXPECT_EQ(stored[0][2], "2026-01-01T00:00:00");
    EXPECT_EQ(stored[0][3], "2026-12-31T00:00:00");
    // The grid shows the stored row the Brazilian way, and the buttons follow browse mode.
    EXPECT_EQ(cell(g, 0, "DTVALIDADEINI"), "01/01/2026");
    EXPECT_FALSE(enabled("sbtConfirmar"));
    EXPECT_TRUE(enabled("sbtIncluir"));
}

TEST_F(DesktopEditing, RefusedCheckShowsItsDialogAndKeepsTheRow) {
    openScreen();
    click("sbtIncluir");
    auto& g = grid("dbgPadrao");
    QTest::keyClicks(&g, "Invertida");
    QTest::keyClick(&g, Qt::Key_Tab);
    QTest::keyClicks(&g, "10032026");
    QTest::keyClick(&g, Qt::Key_Tab);
    QTest::keyClicks(&g, "09032026");
    click("sbtConfirmar");

    EXPECT_EQ(errors(), std::vector<std::string>{"Data Inicial deve ser menor ou igual a Data Final."});
    EXPECT_TRUE(rows("GetComissao", json::array()).empty());
    // The row stays in insert, with what was typed, selected in the widget.
    auto* data = g.grid()->DataSource()->DataSet();
    EXPECT_EQ(data->State(), tk::TDataSetState::dsInsert);
    ASSERT_EQ(g.model()->rowCount(), 1);
    EXPECT_EQ(cell(g, 0, "DSCOMISSAOOREV"), "Invertida");
    EXPECT_EQ(g.currentIndex().row(), 0);
    EXPECT_TRUE(enabled("sbtConfirmar"));
}

TEST_F(DesktopEditing, DateThatDoesNotConvertKeepsTheColumn) {
    openScreen();
    click("sbtIncluir");
    auto& g = grid("dbgPadrao");
    QTest::keyClicks(&g, "Tabela");
    QTest::keyClick(&g, Qt::Key_Tab);
    QTest::keyClicks(&g, "99999999");
    QTest::keyClick(&g, Qt::Key_Tab);
    ASSERT_EQ(errors().size(), 1u);
    // The toolkit kept the column; so does the widget, still showing what was typed.
    EXPECT_EQ(g.grid()->SelectedField()->FieldName(), "DTVALIDADEINI");
    EXPECT_EQ(g.currentIndex().column(), columnOf(g, "DTVALIDADEINI"));
    EXPECT_EQ(g.currentIndex().row(), 0);
    EXPECT_EQ(form().ActiveControl(), g.grid());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DesktopEditing, BandTypedUnderAPositionRuleReachesTheServer) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    const double rule = seedCargo(nr, "V");
    seedEvento(nr, "002", "Troca", "V");
    openScreen();
    clickTab("tshFormulario");
    EXPECT_EQ(screen().pages()->currentWidget(), screen().widgetOf("tshFormulario"));

    auto& rules = grid("dbgCargo");
    ASSERT_EQ(rules.model()->rowCount(), 1);
    auto& bands = grid("dbgPercCargo");
    clickBelowRows(bands);
    EXPECT_EQ(form().ActiveControl(), bands.grid());
    EXPECT_TRUE(bands.hasFocus());
    click("sbtIncluir");
    ASSERT_EQ(bands.model()->rowCount(), 1);
    clickCell(bands, 0, "VRINICIAL");
    QTest::keyClicks(&bands, "100");
    QTest::keyClick(&bands, Qt::Key_Tab);
    QTest::keyClicks(&bands, "200");
    QTest::keyClick(&bands, Qt::Key_Tab);
    QTest::keyClicks(&bands, "5");
    click("sbtConfirmar");

    EXPECT_TRUE(errors().empty()) << errors().front();
    const json stored = rows("GetPercentual", json::array({nr, rule, "CARGO"}));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][6], 100);
    EXPECT_EQ(stored[0][7], 200);
    EXPECT_EQ(stored[0][8], 5);
    EXPECT_EQ(cell(bands, 0, "VRINICIAL"), "100,00");

    // One screenshot a tab, for a person to look at.
    QDir().mkpath(QStringLiteral(KTR_BIN_DIR "/../screenshots"));
    QWidget* child = window->mdiArea().subWindowList().first();
    for (const char* page : {"tshFolhaDados", "tshFormulario", "tshEvento", "tshPromocao"}) {
        clickTab(page);
        EXPECT_EQ(screen().pages()->currentWidget(), screen().widgetOf(page)) << page;
        EXPECT_TRUE(child->grab().save(QStringLiteral(KTR_BIN_DIR "/../screenshots/tab-%1.png").arg(page)));
    }
}

TEST_F(DesktopEditing, FilteredKeystrokeLeavesNoTraceInTheCell) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    seedCargo(nr, "V");
    openScreen();
    clickTab("tshFormulario");
    auto& bands = grid("dbgPercCargo");
    clickBelowRows(bands);
    click("sbtIncluir");
    clickCell(bands, 0, "VRINICIAL");
    QTest::keyClicks(&bands, "12");
    EXPECT_EQ(cell(bands, 0, "VRINICIAL"), "12");
    QTest::keyClick(&bands, Qt::Key_A);
    QTest::keyClicks(&bands, "x");
    EXPECT_EQ(cell(bands, 0, "VRINICIAL"), "12");
    EXPECT_EQ(bands.grid()->EditorText(), "12");
    // Backspace is the grid's own key: it removes the last character, not the cell.
    QTest::keyClick(&bands, Qt::Key_Backspace);
    EXPECT_EQ(cell(bands, 0, "VRINICIAL"), "1");
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace guitest
