// Operação › Copiar tabela…: next year proposed from the current table, the screen moved to the
// copy and told what was left out; an overlapping period refused in the dialog, nothing stored.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "gui/desktop/screen_operations.h"
#include "gui/desktop_world.h"
#include "gui/dialogs/table_copy_dialog.h"

namespace guitest {
namespace {

class DesktopCopy : public DesktopWorld {
protected:
    gui::ScreenOperations& operations() {
        auto* o = screen().findChild<gui::ScreenOperations*>();
        if (!o) throw std::runtime_error("the screen has no operations");
        return *o;
    }
    static void retype(QLineEdit& edit, const char* text) {
        edit.clear();
        QTest::keyClicks(&edit, QString::fromUtf8(text));
    }
};

TEST_F(DesktopCopy, CopyMovesTheScreenToTheNewTableAndTellsWhatWasLeftOut) {
    const double nr = seedComissao("Tabela 2024", "2024-01-01", "2024-12-31");
    seedBands(nr, "CARGO", seedCargo(nr, "V"), {{0, 100, 2}});
    seedPromocao(nr, "2024-02-01", "2024-02-29", "DATAEVENTO", "001", "Venda", "V");
    seedPromocao(nr, "2024-11-01", "2024-11-30", "DATAEVENTO", "002", "Troca", "V");
    openScreen();
    EXPECT_TRUE(screen().action("mnuOperacao")->menu()->actions().contains(&operations().copyAction()));
    EXPECT_EQ(operations().copyAction().text().toStdString(), "C&opiar tabela…");

    std::string proposed, refused;
    // First an overlapping period, refused in the dialog, which stays open; then the shorter year.
    answers.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<gui::TableCopyDialog&>(d);
        proposed = dialog.description().text().toStdString() + " " + dialog.start().text().toStdString() + " " +
                   dialog.end().text().toStdString();
        retype(dialog.start(), "01/06/2024");
        QTest::mouseClick(&dialog.copyButton(), Qt::LeftButton);
        refused = dialog.problem().text().toStdString();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(storedComissoes().size(), 1u);
        retype(dialog.start(), "01/01/2025");
        retype(dialog.end(), "30/06/2025");
        QTest::mouseClick(&dialog.copyButton(), Qt::LeftButton);
    });
    operations().copyAction().trigger();
    EXPECT_EQ(proposed, "Tabela 2025 01/01/2025 31/12/2025");
    EXPECT_EQ(refused, "Intervalo de data está contido parcial ou totalmente em outra já cadastrada.");

    ASSERT_EQ(storedComissoes().size(), 2u);
    const double copy = current("cdsComissao", "NRCOMISSAOOREV");
    EXPECT_NE(copy, nr);
    EXPECT_EQ(rows("GetCargo", json::array({copy})).size(), 1u);
    // Told once: the window that was left outside the new end, named.
    ASSERT_EQ(errors().size(), 1u);
    const std::string told = errors().front();
    EXPECT_EQ(told.rfind("Tabela " + std::to_string(static_cast<int>(copy)) + " criada a partir da tabela 1.", 0), 0u)
        << told;
    EXPECT_NE(told.find("01/11/2024 a 30/11/2024"), std::string::npos) << told;
    EXPECT_EQ(told.find("01/02/2024"), std::string::npos) << told;  // moved to 28/02/2025 and copied
}

}  // namespace
}  // namespace guitest
