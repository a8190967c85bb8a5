// The chart of the largest differences: which salespeople it keeps, in which order, and bars
// drawn to scale on either side of zero in each table's colour.
#include "gui/pictures/difference_chart.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

namespace guitest {
namespace {

TEST(DifferenceChart, KeepsTheLargestEitherWayAndDrawsThemToScale) {
    std::vector<gui::DifferenceBar> all{{"1", 1000, 1500}, {"2", 500, 500},   {"3", 4000, 1000},
                                        {"4", 0, -2000},   {"5", 100, 3100}, {"6", 200, 300}};
    const auto kept = gui::LargestDifferences(all, 3);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].vendedor, "3");  // -30,00
    EXPECT_EQ(kept[1].vendedor, "5");  // +30,00, a tie kept in the order given
    EXPECT_EQ(kept[2].vendedor, "4");  // -20,00
    EXPECT_EQ(gui::LargestDifferences(all, 10).size(), 5u);  // "2" changes nothing

    gui::DifferenceChartData data;
    data.title = "Maiores diferenças";
    data.aLabel = "Tabela atual";
    data.bLabel = "Tabela 2";
    data.bars = kept;
    const QSizeF size(640, 360);
    const gui::DifferenceChartLayout layout(data, size);
    // Heights in proportion to the amounts, zero inside the plot since one total is negative.
    const double zero = layout.yOf(0);
    EXPECT_GT(zero, layout.plot().top());
    EXPECT_LT(zero, layout.plot().bottom());
    EXPECT_NEAR(zero - layout.yOf(4000), 4 * (zero - layout.yOf(1000)), 1e-6);
    EXPECT_GE(layout.yOf(3100), layout.plot().top());
    EXPECT_LE(layout.yOf(-2000), layout.plot().bottom());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_LE(layout.bar(i, false).right(), layout.bar(i, true).left());
        if (i > 0) {
            EXPECT_LE(layout.bar(i - 1, true).right(), layout.bar(i, false).left());
        }
    }

    QImage image(size.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        gui::PaintDifferenceChart(painter, data, layout);
    }
    QDir().mkpath(QStringLiteral(KTR_BIN_DIR "/../screenshots"));
    EXPECT_TRUE(image.save(QStringLiteral(KTR_BIN_DIR "/../screenshots/diferencas.png")));
    auto colourAt = [&](std::size_t i, bool second, long long cents) {
        const double y = (layout.yOf(0) + layout.yOf(cents)) / 2;
        return image.pixelColor(QPoint(static_cast<int>(layout.bar(i, second).center().x()), static_cast<int>(y)));
    };
    EXPECT_EQ(colourAt(0, false, 4000), gui::DifferenceBarColour(false));
    EXPECT_EQ(colourAt(0, true, 1000), gui::DifferenceBarColour(true));
    EXPECT_EQ(colourAt(2, true, -2000), gui::DifferenceBarColour(true));  // below zero
}

}  // namespace
}  // namespace guitest
