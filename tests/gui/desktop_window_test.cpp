// The window a person works in all day: it opens with room and as it was left, every text
// whole, the screen's keys working as soon as it is chosen, safe answers on Enter, and a
// status line that says what happened.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <map>

#include "gui/desktop/desktop_lock.h"
#include "gui/desktop/layout_memory.h"
#include "gui/desktop/page_splitter.h"
#include "gui/desktop/screen_pictures.h"
#include "gui/desktop/screen_status.h"
#include "gui/desktop_world.h"
#include "gui/pictures/timeline_view.h"

namespace guitest {
namespace {

using DesktopWindow = DesktopWorld;

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

// Every column title and cell of a grid shown whole (none ends in "…" with a tooltip).
::testing::AssertionResult shownWhole(const gui::GridView& g) {
    for (int c = 0; c < g.model()->columnCount(); ++c) {
        if (g.isColumnHidden(c)) continue;
        if (!g.headerToolTip(c).isEmpty()) return ::testing::AssertionFailure() << "title cut: " << g.headerToolTip(c).toStdString();
        for (int r = 0; r < g.model()->rowCount(); ++r)
            if (const QString cut = g.cellToolTip(g.model()->index(r, c)); !cut.isEmpty())
                return ::testing::AssertionFailure() << "text cut: " << cut.toStdString();
    }
    return ::testing::AssertionSuccess();
}

// The underlined letter of a menu text; 0 for none.
QChar mnemonic(const QString& text) {
    for (int i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '&') {
            if (text[i + 1] != '&') return text[i + 1].toLower();
            ++i;
        }
    return {};
}

// The menus whose visible entries share an underlined letter, with the letter.
void collectClashes(const QList<QAction*>& entries, const QString& where, std::vector<std::string>& clashes) {
    std::map<QChar, QString> seen;
    for (QAction* entry : entries) {
        if (entry->isSeparator() || !entry->isVisible()) continue;
        if (const QChar letter = mnemonic(entry->text()); !letter.isNull()) {
            if (seen.count(letter))
                clashes.push_back((where + ": " + seen[letter] + " / " + entry->text()).toStdString());
            seen[letter] = entry->text();
        }
        if (entry->menu()) collectClashes(entry->menu()->actions(), entry->text(), clashes);
    }
}

TEST_F(DesktopWindow, OpensMaximisedFirstThenAsLeftAndRestoresTheFirstLayout) {
    const double nr = seedComissao("Tabela de comissões da rede 26", "2026-01-01", "2026-12-31");
    seedPromocao(nr, "2026-02-01", "2026-02-28", "DATAFECHAMENTO", "001", "Venda", "S");
    window->showAsLeft();
    EXPECT_TRUE(window->isMaximized()) << "nothing kept: the first run";

    openScreen();
    auto& tables = grid("dbgPadrao");
    EXPECT_TRUE(shownWhole(tables));
    clickTab("tshPromocao");
    EXPECT_TRUE(shownWhole(grid("dbgPromocao"))) << "\"Data de Fechamento\", \"Cód. Tipo Evento\"";
    clickTab("tshFolhaDados");

    // The user's layout: a narrower window, a column and the splitter moved.
    window->showNormal();
    window->resize(700, 500);
    QApplication::processEvents();
    const int description = columnOf(tables, "DSCOMISSAOOREV");
    const int fitted = tables.columnWidth(description);
    tables.horizontalHeader()->resizeSection(description, fitted + 77);
    clickTab("tshFormulario");
    auto* splitter = qobject_cast<gui::PageSplitter*>(grid("dbgCargo").parentWidget()->parentWidget());
    ASSERT_NE(splitter, nullptr);
    const int designed = splitter->lowerHeight();
    splitter->setSizes({splitter->sizes()[0] - 40, designed + 40});
    ASSERT_EQ(splitter->lowerHeight(), designed + 40);
    tk::TForm* shown = &form();
    window->loop().run([shown] { shown->Close(); });
    ASSERT_EQ(window->screenView(), nullptr);
    window->saveLayout();

    // The next run: as it was left.
    window->showMaximized();
    gui::LayoutMemory::showMainWindow(*window);
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(700, 500));
    openScreen();
    EXPECT_EQ(grid("dbgPadrao").columnWidth(description), fitted + 77);
    clickTab("tshFormulario");
    splitter = qobject_cast<gui::PageSplitter*>(grid("dbgCargo").parentWidget()->parentWidget());
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->lowerHeight(), designed + 40);

    // Janela › Restaurar disposição: as the first run opened it, and nothing kept.
    window->restoreAction().trigger();
    QApplication::processEvents();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(grid("dbgPadrao").columnWidth(description), fitted);
    EXPECT_EQ(splitter->lowerHeight(), designed);
    EXPECT_FALSE(QSettings().contains(QStringLiteral("janela/geometria")));
}

// Back on the screen from another window through the Janela menu, its shortcut keys and
// menus answer at once, without a Tab first.
TEST_F(DesktopWindow, ScreenChosenFromTheWindowMenuTakesItsKeysAtOnce) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto* pictures = screen().findChild<gui::ScreenPictures*>();
    ASSERT_NE(pictures, nullptr);
    pictures->timelineAction().trigger();
    ASSERT_NE(window->mdiArea().activeSubWindow()->widget()->findChild<gui::TimelineView*>(), nullptr);
    EXPECT_FALSE(QApplication::focusWidget() && screen().isAncestorOf(QApplication::focusWidget()));

    // Alt+J, then the screen's number, as a user at the keyboard does.
    QTest::keyClick(window->menuBar(), Qt::Key_J, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_EQ(menu, &window->windowMenu());
    QTest::keyClick(menu, Qt::Key_1);
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(screen().isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(screen().pages()->currentWidget(), screen().widgetOf("tshFormulario"));
}

// An empty grid with the focus is framed in the selection colour; without it, not.
TEST_F(DesktopWindow, EmptyGridWithTheFocusShowsIt) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    clickTab("tshFormulario");
    auto& rules = grid("dbgCargo");
    auto& bands = grid("dbgPercCargo");
    ASSERT_EQ(rules.model()->rowCount(), 0);
    const QRgb mark = QApplication::palette().color(QPalette::Active, QPalette::Highlight).rgb();
    auto edge = [](gui::GridView& g) {
        const QImage image = g.viewport()->grab().toImage();
        return image.pixelColor(image.width() / 2, 1).rgb();
    };
    clickBelowRows(rules);
    ASSERT_TRUE(rules.grid()->Focused());
    EXPECT_EQ(edge(rules), mark);
    EXPECT_NE(edge(bands), mark);
    clickBelowRows(bands);
    EXPECT_NE(edge(rules), mark);
    EXPECT_EQ(edge(bands), mark);
}

// Typing "S" in the position's pick list stands on Supervisor, which Enter picks; opened
// again, the list stands on the cell's entry.
TEST_F(DesktopWindow, PickListTakesTypeAheadAndOpensOnTheCurrentEntry) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    clickTab("tshFormulario");
    auto& rules = grid("dbgCargo");
    clickBelowRows(rules);
    click("sbtIncluir");
    QString standing;
    QTimer::singleShot(0, [] {
        QPointer<QWidget> menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_S);
        QTest::keyClick(menu, Qt::Key_Return);
        if (menu && menu->isVisible()) {
            ADD_FAILURE() << "Enter picked nothing";
            menu->close();
        }
    });
    QTest::mouseClick(&rules.pickButton(), Qt::LeftButton);
    EXPECT_EQ(cell(rules, 0, "IDCARGOVEND"), "Supervisor");
    QTimer::singleShot(0, [&standing] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_NE(menu->activeAction(), nullptr);
        standing = menu->activeAction()->text();
        menu->close();
    });
    QTest::mouseClick(&rules.pickButton(), Qt::LeftButton);
    EXPECT_EQ(standing.toStdString(), "Supervisor");
}

// No menu, the screen's merged into the main bar included, has two entries with the same
// underlined letter.
TEST_F(DesktopWindow, NoMenuHasTwoEntriesWithTheSameUnderlinedLetter) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    window->mdiArea().subWindowList().first()->showMaximized();
    QApplication::processEvents();
    emit window->windowMenu().aboutToShow();
    std::vector<std::string> clashes;
    collectClashes(window->menuBar()->actions(), QStringLiteral("barra"), clashes);
    EXPECT_TRUE(clashes.empty()) << clashes.front();
}

// Enter on the question that throws typing away keeps it.
TEST_F(DesktopWindow, EnterOnTheDiscardQuestionKeepsTheWork) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& tables = grid("dbgPadrao");
    clickCell(tables, 0, "DSCOMISSAOOREV");
    click("sbtAlterar");
    QTest::keyClicks(&tables, QStringLiteral("Tabela nova"));
    answers.push_back([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
    click("sbtCancelar");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "question: Confirma o cancelamento das alterações?");
    EXPECT_EQ(tables.grid()->DataSource()->State(), tk::TDataSetState::dsEdit);
    EXPECT_EQ(cell(tables, 0, "DSCOMISSAOOREV"), "Tabela nova");
}

// A saved band is said in the status line; a refused one names the band it overlaps there,
// the refusal itself being the screen's own message.
TEST_F(DesktopWindow, StatusLineSaysASaveAndNamesTheBandOverlapped) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    const double rule = seedCargo(nr, "V");
    seedBand(nr, "CARGO", rule, 0, 100, 2);
    openScreen();
    clickTab("tshFormulario");
    auto& bands = grid("dbgPercCargo");
    clickBelowRows(bands);
    auto typeBand = [&](const char* from, const char* to) {
        click("sbtIncluir");
        QTest::keyClicks(&bands, QString::fromLatin1(from));
        QTest::keyClick(&bands, Qt::Key_Tab);
        QTest::keyClicks(&bands, QString::fromLatin1(to));
        QTest::keyClick(&bands, Qt::Key_Tab);
        QTest::keyClicks(&bands, QStringLiteral("3"));
        click("sbtConfirmar");
    };
    typeBand("50", "150");
    EXPECT_EQ(errors(), std::vector<std::string>{"Intervalo de valores está contido parcial ou totalmente em outro já cadastrado."});
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(),
              "A faixa informada sobrepõe a faixa de 0,00 a 100,00.");

    answers.push_back(yes());
    click("sbtCancelar");
    typeBand("100,01", "200");
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), gui::ScreenStatus::kSaved);
    EXPECT_EQ(rows("GetPercentual", json::array({nr, rule, "CARGO"})).size(), 2u);
}

// A second desktop on the same server and catalogue is told, in Portuguese, to go back to
// the first; Enter takes that advice. Another server is no second desktop.
TEST(DesktopLock, SecondDesktopOnTheSameServerIsToldWhatToDo) {
    const QTemporaryDir folder;
    gui::DesktopLock first(QStringLiteral("127.0.0.1:5230"), QStringLiteral("local.db"), folder.path());
    gui::DesktopLock second(QStringLiteral("127.0.0.1:5230"), QStringLiteral("local.db"), folder.path());
    gui::DesktopLock elsewhere(QStringLiteral("127.0.0.1:5231"), QStringLiteral("local.db"), folder.path());
    ASSERT_TRUE(first.take());
    EXPECT_TRUE(elsewhere.take());
    QString told;
    QTimer::singleShot(0, [&told] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        told = box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(second.takeOrAsk(nullptr));
    EXPECT_TRUE(told.startsWith(QStringLiteral("Já há um Backoffice aberto neste computador para o servidor 127.0.0.1:5230")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("Volte à janela que já está aberta")));
}

}  // namespace
}  // namespace guitest
