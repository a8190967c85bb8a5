// The desktop host's controls follow the toolkit: drop-downs, the edit button's search
// dialog, tabs and menu marks, questions, the navigator and the window's close box.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>

#include "gui/dialogs/data_dialogs.h"
#include "gui/desktop_world.h"
#include "toolkit/tclientdataset.h"

namespace guitest {
namespace {

using DesktopControls = DesktopWorld;

// Chooses `entry` from the pop-up menu that the next event loop shows.
void chooseFromNextPopup(const QString& entry) {
    QTimer::singleShot(0, [entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text() == entry) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        ADD_FAILURE() << "no entry " << entry.toStdString();
        menu->close();
    });
}

TEST_F(DesktopControls, PickListDropDownChoosesThePosition) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    clickTab("tshFormulario");
    auto& rules = grid("dbgCargo");
    clickBelowRows(rules);
    click("sbtIncluir");
    ASSERT_TRUE(rules.pickButton().isVisible());
    EXPECT_FALSE(rules.editButton().isVisible());
    chooseFromNextPopup(QStringLiteral("Gerente"));
    QTest::mouseClick(&rules.pickButton(), Qt::LeftButton);
    EXPECT_EQ(cell(rules, 0, "IDCARGOVEND"), "Gerente");
    click("sbtConfirmar");

    EXPECT_TRUE(errors().empty()) << errors().front();
    const json stored = rows("GetCargo", json::array({nr}));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][1], "G");
}

TEST_F(DesktopControls, RefusedExitKeepsTheFocusInTheRuleGrid) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    seedCargo(nr, "S");
    openScreen();
    clickTab("tshFormulario");
    auto& rules = grid("dbgCargo");
    auto& bands = grid("dbgPercCargo");
    clickBelowRows(rules);
    click("sbtIncluir");
    chooseFromNextPopup(QStringLiteral("Supervisor"));
    QTest::mouseClick(&rules.pickButton(), Qt::LeftButton);
    // The click into the band grid leaves the rule grid, whose check refuses the duplicate.
    clickBelowRows(bands);

    EXPECT_EQ(errors(), std::vector<std::string>{"Cargo já cadastrado."});
    EXPECT_EQ(form().ActiveControl(), rules.grid());
    // Once the message box is gone (and the window manager gives the window back) the
    // keyboard is in the rule grid again.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), &rules);
    EXPECT_EQ(rules.model()->rowCount(), 2);
    EXPECT_EQ(rules.grid()->DataSource()->State(), tk::TDataSetState::dsInsert);
    EXPECT_EQ(rows("GetCargo", json::array({nr})).size(), 1u);
}

TEST_F(DesktopControls, EditButtonOpensAFilterableSearchOverTheCatalogue) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    clickTab("tshEvento");
    auto& rules = grid("dbgEvento");
    clickBelowRows(rules);
    click("sbtIncluir");
    clickCell(rules, 0, "CDTIPOEVENTO");
    ASSERT_TRUE(rules.editButton().isVisible());

    int rowsShown = -1;
    answers.push_back([&rowsShown](QDialog& dialog) {
        auto* search = dynamic_cast<gui::SearchDialog*>(&dialog);
        ASSERT_NE(search, nullptr);
        QTest::keyClicks(&search->filter(), "troca");
        rowsShown = 0;
        for (int r = 0; r < search->rows().rowCount(); ++r) rowsShown += search->rows().isRowHidden(r) ? 0 : 1;
        QTest::keyClick(&search->filter(), Qt::Key_Return);
    });
    QTest::mouseClick(&rules.editButton(), Qt::LeftButton);

    EXPECT_EQ(shown, std::vector<std::string>{"search"});
    EXPECT_EQ(rowsShown, 1);
    EXPECT_EQ(cell(rules, 0, "CDTIPOEVENTO"), "002");
    EXPECT_EQ(cell(rules, 0, "NMTIPOEVENTO"), "Troca");
}

TEST_F(DesktopControls, TabsAndMenuMarksFollowTheEditState) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    QTabWidget& tabs = *screen().pages();
    const int cargo = tabs.indexOf(screen().widgetOf("tshFormulario"));
    EXPECT_TRUE(screen().action("mnuFolhaDados")->isChecked());
    EXPECT_FALSE(screen().action("mnuFormulario")->isChecked());

    click("sbtIncluir");
    // While a table is being typed the other pages are closed to the user.
    EXPECT_FALSE(tabs.isTabEnabled(cargo));
    EXPECT_FALSE(screen().action("mnuFormulario")->isEnabled());
    clickTab("tshFormulario");
    EXPECT_EQ(tabs.currentWidget(), screen().widgetOf("tshFolhaDados"));

    answers.push_back(yes());
    click("sbtCancelar");
    EXPECT_EQ(shown, std::vector<std::string>{"question: Confirma o cancelamento das alterações?"});
    EXPECT_TRUE(tabs.isTabEnabled(cargo));
    clickTab("tshFormulario");
    EXPECT_EQ(tabs.currentIndex(), cargo);
    EXPECT_TRUE(screen().action("mnuFormulario")->isChecked());
    EXPECT_FALSE(screen().action("mnuFolhaDados")->isChecked());

    // A menu item already checked stays checked when chosen again.
    screen().action("mnuFormulario")->trigger();
    EXPECT_TRUE(screen().action("mnuFormulario")->isChecked());
    screen().action("mnuFolhaDados")->trigger();
    EXPECT_EQ(tabs.currentWidget(), screen().widgetOf("tshFolhaDados"));
    EXPECT_TRUE(screen().action("mnuFolhaDados")->isChecked());
}

// The grid's row indicator marks the current row and no other: ▶ browsing, I editing,
// * inserting.
TEST_F(DesktopControls, TheRowIndicatorMarksTheCurrentRowAlone) {
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& g = grid("dbgPadrao");
    using Marks = std::vector<std::string>;
    auto marks = [&] {
        Marks out;
        for (int r = 0; r < g.model()->rowCount(); ++r)
            out.push_back(g.model()->headerData(r, Qt::Vertical, Qt::DisplayRole).toString().toStdString());
        return out;
    };
    EXPECT_EQ(marks(), (Marks{"\u25B6", ""}));
    clickCell(g, 1, "DSCOMISSAOOREV");
    EXPECT_EQ(marks(), (Marks{"", "\u25B6"}));
    click("sbtAlterar");
    EXPECT_EQ(marks(), (Marks{"", "I"}));

    answers.push_back(yes());
    click("sbtCancelar");
    EXPECT_EQ(marks(), (Marks{"", "\u25B6"}));
    click("sbtIncluir");
    Marks inserting(3, "");
    inserting.at(static_cast<std::size_t>(g.grid()->DataSource()->DataSet()->RecNo() - 1)) = "*";
    EXPECT_EQ(marks(), inserting);
}

TEST_F(DesktopControls, DeleteAnsweredNoKeepsTheTableAndYesRemovesIt) {
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& g = grid("dbgPadrao");
    clickCell(g, 0, "DSCOMISSAOOREV");
    answers.push_back(no());
    click("sbtExcluir");
    EXPECT_EQ(shown, std::vector<std::string>{"question: Confirma a exclusão do registro?"});
    EXPECT_EQ(g.model()->rowCount(), 1);
    EXPECT_EQ(rows("GetComissao", json::array()).size(), 1u);

    answers.push_back(yes());
    click("sbtExcluir");
    EXPECT_EQ(g.model()->rowCount(), 0);
    EXPECT_TRUE(rows("GetComissao", json::array()).empty());
}

TEST_F(DesktopControls, NavigatorMovesTheRowAndTheLabelFollows) {
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& g = grid("dbgPadrao");
    auto* label = qobject_cast<QLabel*>(screen().widgetOf("dbtNome"));
    ASSERT_NE(label, nullptr);
    const std::string first = cell(g, 0, "DSCOMISSAOOREV");
    const std::string second = cell(g, 1, "DSCOMISSAOOREV");
    EXPECT_EQ(label->text().toStdString(), first);

    auto* next = screen().widgetOf("dbnPadrao")->findChild<QToolButton*>(QStringLiteral("next"));
    ASSERT_NE(next, nullptr);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(g.currentIndex().row(), 1);
    EXPECT_EQ(label->text().toStdString(), second);

    // Up in the grid and a click on a row move the set the same way.
    QTest::keyClick(&g, Qt::Key_Up);
    EXPECT_EQ(g.currentIndex().row(), 0);
    EXPECT_EQ(label->text().toStdString(), first);
    clickCell(g, 1, "DTVALIDADEFIN");
    EXPECT_EQ(g.currentIndex().row(), 1);
    EXPECT_EQ(g.currentIndex().column(), columnOf(g, "DTVALIDADEFIN"));
    EXPECT_EQ(label->text().toStdString(), second);
}

TEST_F(DesktopControls, FindDialogMovesToTheRowHoldingTheText) {
    seedComissao("Tabela 2025", "2025-01-01", "2025-12-31");
    seedComissao("Outra 2026", "2026-01-01", "2026-12-31");
    openScreen();
    auto& g = grid("dbgPadrao");
    const int wanted = cell(g, 0, "DSCOMISSAOOREV") == "Outra 2026" ? 0 : 1;
    clickCell(g, 1 - wanted, "DSCOMISSAOOREV");
    answers.push_back([](QDialog& dialog) {
        auto* find = dynamic_cast<gui::FindDialog*>(&dialog);
        ASSERT_NE(find, nullptr);
        find->field().setCurrentIndex(find->field().findText(QStringLiteral("Descrição")));
        QTest::keyClicks(&find->text(), "outra");
        QTest::keyClick(&find->text(), Qt::Key_Return);
    });
    click("sbtProcurar");
    EXPECT_EQ(shown, std::vector<std::string>{"find"});
    EXPECT_EQ(g.currentIndex().row(), wanted);
}

TEST_F(DesktopControls, CloseBoxClosesTheScreenAndTheMenuOpensItAgain) {
    openScreen();
    QMdiSubWindow* child = window->mdiArea().subWindowList().first();
    child->showMaximized();
    EXPECT_EQ(form().WindowState(), tk::TWindowState::wsMaximized);
    child->showNormal();
    EXPECT_EQ(form().WindowState(), tk::TWindowState::wsNormal);
    child->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->screenView(), nullptr);
    EXPECT_TRUE(window->mdiArea().subWindowList().isEmpty());
    EXPECT_TRUE(app->Forms().empty());

    openScreen();
    EXPECT_EQ(window->mdiArea().subWindowList().size(), 1);
    EXPECT_NE(window->screenView(), nullptr);
}

}  // namespace
}  // namespace guitest
