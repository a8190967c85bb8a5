// The desktop as its program prepares it: Qt's own dialogs in Portuguese, texts a person can
// read (measured on the rendered pixels), file dialogs in the user's folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "gui/desktop/layout_memory.h"
#include "gui/desktop/readable_palette.h"

namespace guitest {
namespace {

// The strongest contrast between the pixel at `ground` and any pixel of `image` (the text's
// own colour, where its strokes are solid).
double textContrast(const QImage& image, QPoint ground) {
    const QColor background = image.pixelColor(ground);
    double best = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) best = std::max(best, gui::ContrastRatio(image.pixelColor(x, y), background));
    return best;
}

TEST(DesktopSetup, QtsOwnButtonsSpeakPortuguese) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pergunta"), QStringLiteral("Texto"),
                    QMessageBox::Cancel | QMessageBox::Save);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&').toStdString(), "Cancelar");
    QDialogButtonBox buttons(QDialogButtonBox::Close | QDialogButtonBox::Open);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Close)->text().remove('&').toStdString(), "Fechar");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&').toStdString(), "Abrir");
}

TEST(DesktopSetup, SelectedAndDisabledTextsReachFourAndAHalfToOne) {
    // Big bold letters: their strokes have pixels of the text's own colour.
    QFont big = QApplication::font();
    big.setPointSize(22);
    big.setBold(true);
    QLabel disabled(QStringLiteral("Desabilitado"));
    disabled.setFont(big);
    disabled.setEnabled(false);
    disabled.resize(260, 50);
    EXPECT_GE(textContrast(disabled.grab().toImage(), {1, 1}), 4.5);

    QTableWidget table(1, 1);
    table.setFont(big);
    table.verticalHeader()->setDefaultSectionSize(50);
    table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("Selecionado")));
    table.setColumnWidth(0, 260);
    table.resize(340, 140);
    table.show();
    table.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&table));
    table.setCurrentCell(0, 0);
    const QRect cell = table.visualItemRect(table.item(0, 0));
    const QImage image = table.viewport()->grab(cell).toImage();
    // Away from the text and from the focus frame at the cell's edge.
    const QPoint ground(image.width() - 10, image.height() / 2);
    const QColor drawn = image.pixelColor(ground);
    const QColor highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_LE(std::abs(drawn.red() - highlight.red()) + std::abs(drawn.green() - highlight.green()) +
                  std::abs(drawn.blue() - highlight.blue()),
              12)
        << "the cell is drawn selected";
    EXPECT_GE(textContrast(image, ground), 4.5);
}

TEST(DesktopSetup, FileDialogsOpenInTheDocumentsFolderThenInTheLastOneUsed) {
    EXPECT_EQ(gui::LayoutMemory::fileFolder(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QTemporaryDir folder;
    gui::LayoutMemory::rememberFile(folder.filePath(QStringLiteral("faixas.png")));
    EXPECT_EQ(gui::LayoutMemory::fileFolder(), folder.path());
    gui::LayoutMemory::forget();
    EXPECT_EQ(gui::LayoutMemory::fileFolder(), folder.path()) << "a layout restored keeps the folder";
}

}  // namespace
}  // namespace guitest
