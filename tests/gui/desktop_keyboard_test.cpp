// The desktop host for a person at it all day: the keyboard alone reaches every grid and
// command, the grid without the focus still shows its row, cut texts have tooltips, and
// the maximised screen uses the room it gets.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolTip>
#include <cstdlib>

#include "gui/desktop_world.h"
#include "toolkit/tclientdataset.h"

namespace guitest {
namespace {

using DesktopKeyboard = DesktopWorld;

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}
void typeText(const char* text) { QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text)); }

// The colour of a cell of grid row `row` (0-based), sampled away from its text and from
// the cell's buttons.
QColor rowColour(gui::GridView& g, int row, int column) {
    const QModelIndex index = g.model()->index(row, column);
    const QRect cell = g.visualRect(index);
    const bool right = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight;
    const int x = right ? cell.left() + cell.width() / 5 : cell.left() + cell.width() * 3 / 5;
    return g.viewport()->grab().toImage().pixelColor(x, cell.center().y());
}

// The style may shade a selection slightly; a colour is told from another within that.
::testing::AssertionResult looksLike(const QColor& seen, const QColor& wanted) {
    const int off = std::abs(seen.red() - wanted.red()) + std::abs(seen.green() - wanted.green()) +
                    std::abs(seen.blue() - wanted.blue());
    if (off <= 12) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << seen.name().toStdString() << " is not " << wanted.name().toStdString();
}
// Page by shortcut, band grid by Ctrl+Tab, a new band by shortcut, the keypad's decimal
// key, confirm by shortcut: the band reaches the server without the mouse.
TEST_F(DesktopKeyboard, BandTypedWithTheKeyboardAloneReachesTheServer) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    const double rule = seedCargo(nr, "V");
    openScreen();
    EXPECT_EQ(screen().action("mnuIncluir")->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_EQ(screen().action("mnuVerificar")->shortcut(), QKeySequence(Qt::Key_F5));
    press(Qt::Key_2, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), &grid("dbgCargo"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    auto& bands = grid("dbgPercCargo");
    ASSERT_EQ(QApplication::focusWidget(), &bands);
    press(Qt::Key_I, Qt::ControlModifier);
    typeText("12");
    press(Qt::Key_Period, Qt::KeypadModifier);
    typeText("5");
    EXPECT_EQ(cell(bands, 0, "VRINICIAL"), "12,5");
    press(Qt::Key_Tab);
    typeText("100");
    press(Qt::Key_Tab);
    typeText("3");
    press(Qt::Key_S, Qt::ControlModifier);

    EXPECT_TRUE(shown.empty()) << shown.front();
    const json stored = rows("GetPercentual", json::array({nr, rule, "CARGO"}));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][6], 12.5);
    // The page tabs come next; from them Right chooses the next page.
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form().ActiveControl()->Name(), "pgcPadrao");
    press(Qt::Key_Right);
    EXPECT_EQ(screen().pages()->currentWidget(), screen().widgetOf("tshEvento"));
}

TEST_F(DesktopKeyboard, GridWithoutTheFocusShowsItsRowInThePaleColour) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    const double rule = seedCargo(nr, "V");
    seedBand(nr, "CARGO", rule, 0, 100, 5);
    openScreen();
    clickTab("tshFormulario");
    auto& rules = grid("dbgCargo");
    auto& bands = grid("dbgPercCargo");
    const QPalette palette = QApplication::palette(&rules);
    const QColor active = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor pale = gui::GridView::inactiveRowColor(palette);
    ASSERT_NE(active, pale);
    EXPECT_TRUE(looksLike(rowColour(rules, 0, columnOf(rules, "IDCARGOVEND")), active));
    EXPECT_TRUE(looksLike(rowColour(bands, 0, columnOf(bands, "VRCOMISSAO")), pale)) << "the whole row, not one cell";

    clickCell(bands, 0, "VRFINAL");
    EXPECT_TRUE(looksLike(rowColour(rules, 0, columnOf(rules, "IDCARGOVEND")), pale));
    EXPECT_TRUE(looksLike(rowColour(bands, 0, columnOf(bands, "VRFINAL")), active));
    EXPECT_TRUE(looksLike(rowColour(bands, 0, columnOf(bands, "VRCOMISSAO")),
                          palette.color(QPalette::Active, QPalette::Base)));
}

TEST_F(DesktopKeyboard, CutTextsHaveTheirWholeTextInATooltip) {
    seedComissao("Tabela de comissões de 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& g = grid("dbgPadrao");
    const int description = columnOf(g, "DSCOMISSAOOREV");
    const int start = columnOf(g, "DTVALIDADEINI");
    g.setColumnWidth(start, 30);
    g.setColumnWidth(description, 40);
    EXPECT_EQ(g.headerToolTip(start).toStdString(), "Validade Inicial");
    EXPECT_EQ(g.cellToolTip(g.model()->index(0, description)).toStdString(), "Tabela de comissões de 2026");
    QHeaderView& header = *g.horizontalHeader();
    const QPoint at(header.sectionViewportPosition(start) + 5, header.height() / 2);
    QHelpEvent help(QEvent::ToolTip, at, header.viewport()->mapToGlobal(at));
    QApplication::sendEvent(header.viewport(), &help);
    EXPECT_EQ(QToolTip::text().toStdString(), "Validade Inicial");
    // Texts shown whole need none.
    g.setColumnWidth(start, 300);
    g.setColumnWidth(description, 400);
    EXPECT_TRUE(g.headerToolTip(start).isEmpty());
    EXPECT_TRUE(g.cellToolTip(g.model()->index(0, description)).isEmpty());

    const std::pair<const char*, const char*> navigator[] = {
        {"first", "Primeiro"}, {"prior", "Anterior"}, {"next", "Próximo"}, {"last", "Último"}};
    for (auto [name, tip] : navigator) {
        auto* button = screen().widgetOf("dbnPadrao")->findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolTip().toStdString(), tip);
    }
}

// A stored table's dates cannot be typed into: they look it before any keystroke; a new
// table's can.
TEST_F(DesktopKeyboard, StoredTablesDatesLookReadOnlyNewTablesDoNot) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& g = grid("dbgPadrao");
    auto background = [&g](const char* fieldName) {
        return g.model()->index(0, columnOf(g, fieldName)).data(Qt::BackgroundRole);
    };
    EXPECT_TRUE(background("DTVALIDADEINI").isValid());
    EXPECT_FALSE(background("DSCOMISSAOOREV").isValid());
    click("sbtIncluir");
    EXPECT_FALSE(background("DTVALIDADEINI").isValid());
}

// Maximised, the rule grid takes the room and the band grid keeps its height (four rows at
// least), the screen's menus join the main menu bar and the Janela menu lists the screen;
// restored, all goes back. A main window too small for the screen scrolls.
TEST_F(DesktopKeyboard, MaximisedScreenGivesTheRoomToTheRuleGridAndJoinsTheMenuBar) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    seedCargo(nr, "V");
    window->resize(1200, 1000);
    openScreen();
    clickTab("tshFormulario");
    QMdiSubWindow* child = window->mdiArea().subWindowList().first();
    auto& rules = grid("dbgCargo");
    auto& bands = grid("dbgPercCargo");
    const int rulesBefore = rules.height();
    const int bandsBefore = bands.height();
    auto menuTitles = [this] {
        std::vector<std::string> titles;
        for (QAction* a : window->menuBar()->actions()) titles.push_back(a->text().toStdString());
        return titles;
    };
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"&Cadastros", "&Janela"}));

    EXPECT_GE(bands.viewport()->height(), 4 * bands.verticalHeader()->defaultSectionSize());
    child->showMaximized();
    QApplication::processEvents();
    EXPECT_GT(rules.height() - rulesBefore, 200);
    EXPECT_EQ(bands.height(), bandsBefore);
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"&Cadastros", "&Operação", "&Manutenção", "&Janela"}));
    EXPECT_TRUE(screen().menuBar()->isHidden());
    emit window->windowMenu().aboutToShow();
    const QList<QAction*> entries = window->windowMenu().actions();
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.last()->text().toStdString(), "&1 Comissão dos Vendedores");
    EXPECT_TRUE(entries.last()->isChecked());
    QDir().mkpath(QStringLiteral(KTR_BIN_DIR "/../screenshots"));
    EXPECT_TRUE(window->grab().save(QStringLiteral(KTR_BIN_DIR "/../screenshots/maximized-tshFormulario.png")));

    child->showNormal();
    QApplication::processEvents();
    EXPECT_NEAR(bands.height(), bandsBefore, 1);
    EXPECT_NEAR(rules.height(), rulesBefore, 1);
    EXPECT_EQ(menuTitles(), (std::vector<std::string>{"&Cadastros", "&Janela"}));
    EXPECT_FALSE(screen().menuBar()->isHidden());

    window->resize(400, 300);
    QApplication::processEvents();
    EXPECT_GT(window->mdiArea().horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(window->mdiArea().verticalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace guitest
