// The timeline and the band chart draw what the screen's data sets hold, follow them as the
// screen moves, and move the screen when a bar is clicked.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <cmath>

#include "gui/pictures/band_chart_view.h"
#include "gui/desktop_world.h"
#include "gui/desktop/screen_pictures.h"
#include "gui/pictures/timeline_view.h"
#include "toolkit/tclientdataset.h"

namespace guitest {
namespace {

using gui::TimelineBar;

class DesktopPictures : public DesktopWorld {
protected:
    gui::ScreenPictures& pictures() {
        auto* p = screen().findChild<gui::ScreenPictures*>();
        if (!p) throw std::runtime_error("the screen has no pictures");
        return *p;
    }
    static void screenshot(const QImage& image, const char* name) {
        QDir().mkpath(QStringLiteral(KTR_BIN_DIR "/../screenshots"));
        EXPECT_TRUE(image.save(QStringLiteral(KTR_BIN_DIR "/../screenshots/%1.png").arg(QLatin1String(name))));
    }
    static const TimelineBar& bar(const std::vector<TimelineBar>& bars, double number) {
        for (const auto& b : bars)
            if (b.number == number) return b;
        throw std::runtime_error("no bar " + std::to_string(number));
    }
};

wire::DateTime day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d); }

TEST_F(DesktopPictures, TimelineDrawsPeriodsAndGapsAndClicksMoveTheScreen) {
    const double summer = seedComissao("Tabela Verão", "2025-01-01", "2025-03-31");
    const double winter = seedComissao("Tabela Inverno", "2025-06-01", "2025-12-31");
    const double venda = seedPromocao(summer, "2025-02-01", "2025-02-28", "DATAEVENTO", "001", "Venda", "V");
    const double troca = seedPromocao(summer, "2025-03-10", "2025-03-20", "DATAFECHAMENTO", "002", "Troca", "S");
    openScreen();
    ASSERT_EQ(current("cdsComissao", "NRCOMISSAOOREV"), summer);
    EXPECT_TRUE(screen().action("mnuManutencao")->menu()->actions().contains(&pictures().timelineAction()));
    pictures().timelineAction().trigger();
    gui::TimelineView* view = pictures().timeline();
    ASSERT_NE(view, nullptr);

    // The screen is on its first page: the promotions come through its connection.
    const gui::TimelineData& data = view->data();
    ASSERT_EQ(data.tables.size(), 2u);
    ASSERT_EQ(data.promotions.size(), 2u);
    ASSERT_EQ(data.lanes, (std::vector<std::string>{"001 Venda · Vendedor", "002 Troca · Supervisor"}));
    const gui::TimelineLayout layout(data, 900);
    const QImage image = view->render(QSize(900, static_cast<int>(std::ceil(layout.height()))));
    screenshot(image, "timeline");
    auto pixel = [&](const wire::DateTime& at, const QRectF& bar) {
        return image.pixelColor(static_cast<int>(layout.xOf(at) + layout.dayWidth() / 2),
                                static_cast<int>(bar.bottom()) - 2);
    };
    const QRectF tableRow = layout.tableBar(bar(data.tables, summer));
    EXPECT_EQ(pixel(day(2025, 2, 15), tableRow), gui::TimelineTableColour(true));
    EXPECT_EQ(pixel(day(2025, 8, 15), tableRow), gui::TimelineTableColour(false));
    const QColor gap = pixel(day(2025, 5, 1), tableRow);
    EXPECT_NE(gap, gui::TimelineTableColour(true));
    EXPECT_NE(gap, gui::TimelineTableColour(false));
    const QRectF vendaRow = layout.promotionBar(bar(data.promotions, venda));
    const QRectF trocaRow = layout.promotionBar(bar(data.promotions, troca));
    EXPECT_EQ(pixel(day(2025, 2, 15), vendaRow), gui::TimelineBaseDateColour(0));
    EXPECT_NE(pixel(day(2025, 3, 15), vendaRow), gui::TimelineBaseDateColour(0));
    EXPECT_EQ(pixel(day(2025, 3, 15), trocaRow), gui::TimelineBaseDateColour(1));

    const QString png = QDir::temp().filePath(QStringLiteral("ktr-timeline-test.png"));
    const QString pdf = QDir::temp().filePath(QStringLiteral("ktr-timeline-test.pdf"));
    ASSERT_TRUE(view->exportPng(png));
    EXPECT_EQ(QImage(png).size(), view->size());
    ASSERT_TRUE(view->exportPdf(pdf));
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5).startsWith("%PDF"));
    QFile::remove(png);
    QFile::remove(pdf);

    // A click on the other table moves the screen there; the timeline follows.
    QCoreApplication::processEvents();
    auto click = [&](const QRectF& at) { QTest::mouseClick(view, Qt::LeftButton, {}, at.center().toPoint()); };
    click(view->layout().tableBar(bar(view->data().tables, winter)));
    EXPECT_EQ(current("cdsComissao", "NRCOMISSAOOREV"), winter);
    EXPECT_TRUE(bar(view->data().tables, winter).current);
    EXPECT_TRUE(view->data().promotions.empty());

    // Back, and a click on a promotion turns the screen to its page and row.
    click(view->layout().tableBar(bar(view->data().tables, summer)));
    ASSERT_EQ(view->data().promotions.size(), 2u);
    click(view->layout().promotionBar(bar(view->data().promotions, troca)));
    EXPECT_EQ(screen().pages()->currentWidget(), screen().widgetOf("tshPromocao"));
    EXPECT_EQ(current("cdsPromocao", "NRCOMISSAOPROMOREV"), troca);
    EXPECT_TRUE(bar(view->data().promotions, troca).current);
    EXPECT_TRUE(errors().empty()) << errors().front();
}

TEST_F(DesktopPictures, BandChartStepsFollowTheCurrentRuleWithHolesLeftOpen) {
    const double nr = seedComissao("Tabela 2026", "2026-01-01", "2026-12-31");
    const double vendedor = seedCargo(nr, "V");
    seedBands(nr, "CARGO", vendedor, {{0, 1000, 1.5}, {1000.01, 5000, 2}, {8000, 10000, 2.5}});
    const double supervisor = seedCargo(nr, "S");
    seedBands(nr, "CARGO", supervisor, {{0, 100, 9}});
    openScreen();
    pictures().bandChartAction().trigger();
    gui::BandChartView* chart = pictures().bandChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->data().steps.empty());
    EXPECT_FALSE(chart->data().note.empty());

    clickTab("tshFormulario");
    const gui::BandChartData& data = chart->data();
    EXPECT_EQ(data.title, "Tabela 2026 · Cargo: Vendedor");
    EXPECT_EQ(chart->fileStem().toStdString(), "faixas-tabela-2026-cargo-vendedor") << "an export names its table and rule";
    ASSERT_EQ(data.steps.size(), 3u);
    const QSize size(560, 340);
    const gui::BandChartLayout layout(data, QSizeF(size));
    const QImage image = chart->render(size);
    screenshot(image, "band-chart");
    // The first filled pixel from the top of a column: the level of the step there.
    auto levelAt = [&](double value) {
        const int x = static_cast<int>(layout.xOf(value));
        for (int y = static_cast<int>(layout.plot().top()); y < static_cast<int>(layout.plot().bottom()); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c == gui::BandFillColour(false) || c == gui::BandFillColour(true)) return y;
        }
        return -1;
    };
    const int low = levelAt(500), middle = levelAt(3000), high = levelAt(9000);
    EXPECT_GT(low, middle);
    EXPECT_GT(middle, high);
    EXPECT_GT(high, 0);
    EXPECT_NEAR(middle, layout.yOf(2), 3);
    EXPECT_EQ(levelAt(6500), -1) << "the hole between 5.000,00 and 8.000,00 is filled";

    clickCell(grid("dbgCargo"), 1, "IDCARGOVEND");
    EXPECT_EQ(chart->data().title, "Tabela 2026 · Cargo: Supervisor");
    ASSERT_EQ(chart->data().steps.size(), 1u);
    EXPECT_EQ(chart->data().steps[0].percentText, "9,00");
    EXPECT_TRUE(errors().empty()) << errors().front();
}

// The pictures by keyboard: Tab reaches the chart, the arrows go from bar to bar, Enter does
// what a click does, every bar has an accessible name saying its window once; the windows
// open inside a small main window's workspace.
TEST_F(DesktopPictures, BarsAreReachedByKeyboardAndNamedAndWindowsOpenInTheWorkspace) {
    const double first = seedComissao("Tabela Verão", "2025-01-01", "2025-03-31");
    const double second = seedComissao("Tabela Inverno", "2025-06-01", "2025-12-31");
    const double rule = seedCargo(first, "V");
    seedBands(first, "CARGO", rule, {{0, 1000, 1.5}, {1000.01, 5000, 2}});
    seedPromocao(first, "2025-02-01", "2025-02-28", "DATAEVENTO", "001", "Venda", "V");
    window->resize(640, 480);
    openScreen();
    pictures().timelineAction().trigger();
    QMdiSubWindow* timelineWindow = window->mdiArea().activeSubWindow();
    ASSERT_NE(timelineWindow, nullptr);
    EXPECT_TRUE(window->mdiArea().viewport()->rect().contains(timelineWindow->geometry()))
        << "a 920 pixels wide window in a 640 pixels wide one";

    gui::TimelineView* timeline = pictures().timeline();
    timelineWindow->widget()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), timeline);
    EXPECT_EQ(timeline->currentItem(), 0);
    QAccessibleInterface* named = QAccessible::queryAccessibleInterface(timeline);
    ASSERT_NE(named, nullptr);
    ASSERT_EQ(named->childCount(), 3);
    EXPECT_EQ(named->child(0)->text(QAccessible::Name).toStdString(), "Tabela Tabela Verão, de 01/01/2025 a 31/03/2025");
    const std::string promotion = named->child(2)->text(QAccessible::Name).toStdString();
    EXPECT_EQ(promotion, "Promoção 001 Venda · Vendedor, de 01/02/2025 a 28/02/2025, Data do Evento");
    QTest::keyClick(timeline, Qt::Key_Right);
    EXPECT_EQ(timeline->toolTip().toStdString(), "Tabela Tabela Inverno, de 01/06/2025 a 31/12/2025");
    QTest::keyClick(timeline, Qt::Key_Return);
    EXPECT_EQ(current("cdsComissao", "NRCOMISSAOOREV"), second);

    clickCell(grid("dbgPadrao"), 0, "DSCOMISSAOOREV");
    clickTab("tshFormulario");
    pictures().bandChartAction().trigger();
    gui::BandChartView* chart = pictures().bandChart();
    ASSERT_NE(chart, nullptr);
    ASSERT_EQ(chart->itemCount(), 2);
    EXPECT_EQ(chart->data().valueLabel, "Valor (R$)");
    EXPECT_EQ(chart->data().percentLabel, "Percentual (%)");
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_End);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(chart)->child(1)->text(QAccessible::Name).toStdString(),
              "Faixa de 1.000,01 a 5.000,00: 2,00 %");
    QTest::keyClick(chart, Qt::Key_Return);
    EXPECT_EQ(current("cdsPercCargo", "VRINICIAL"), 1000.01);
    EXPECT_TRUE(errors().empty()) << errors().front();
}

}  // namespace
}  // namespace guitest
