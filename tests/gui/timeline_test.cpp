// Where the timeline puts a table's days: both ends of its period drawn and clickable.
#include "gui/pictures/timeline.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

namespace guitest {
namespace {

wire::DateTime day(int y, int m, int d) { return wire::DateTime::fromYmd(y, m, d); }

// A table's last day is its own: drawn in its colour and taking a click, the day after neither.
TEST(Timeline, ATablesLastDayIsDrawnAndClickable) {
    gui::TimelineData data;
    data.tables = {{1, day(2025, 1, 1), day(2025, 1, 31), "Janeiro", 0, -1, true},
                   {2, day(2025, 2, 10), day(2025, 2, 28), "Fevereiro", 0, -1, false}};
    data.today = day(2025, 2, 15);
    const gui::TimelineLayout layout(data, 1000);
    ASSERT_GT(layout.dayWidth(), 8) << "days wide enough to aim at";
    QImage image(1000, static_cast<int>(std::ceil(layout.height())), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        gui::PaintTimeline(painter, data, layout);
    }
    const double barY = layout.tableBar(data.tables[0]).bottom() - 2;
    auto at = [&](const wire::DateTime& d) { return QPointF(layout.xOf(d) + layout.dayWidth() / 2, barY); };
    auto pixel = [&](const wire::DateTime& d) { return image.pixelColor(at(d).toPoint()); };

    EXPECT_EQ(pixel(day(2025, 1, 31)), gui::TimelineTableColour(true));
    EXPECT_NE(pixel(day(2025, 2, 1)), gui::TimelineTableColour(true));
    EXPECT_EQ(pixel(day(2025, 2, 28)), gui::TimelineTableColour(false));
    EXPECT_NE(pixel(day(2025, 3, 1)), gui::TimelineTableColour(false));

    const gui::TimelineHit last = gui::HitTimeline(data, layout, at(day(2025, 1, 31)));
    EXPECT_EQ(last.kind, gui::TimelineHitKind::Table);
    EXPECT_EQ(last.number, 1);
    EXPECT_EQ(gui::HitTimeline(data, layout, at(day(2025, 2, 1))).kind, gui::TimelineHitKind::None);
    EXPECT_EQ(gui::HitTimeline(data, layout, at(day(2025, 2, 28))).number, 2);
}

// Today on a month's tick: the red "Hoje" mark sits under the tick's label, not over it.
TEST(Timeline, TodayMarkNeverCoversATickLabel) {
    gui::TimelineData data;
    data.tables = {{1, day(2025, 1, 1), day(2025, 12, 31), "Ano", 0, -1, true}};
    data.today = day(2025, 6, 1);
    const gui::TimelineLayout layout(data, 1000);
    QImage image(1000, static_cast<int>(std::ceil(layout.height())), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        gui::PaintTimeline(painter, data, layout);
    }
    const int todayX = static_cast<int>(layout.xOf(data.today));
    int lowestInk = -1, highestRed = image.height();
    for (int y = 0; y < static_cast<int>(layout.plot().top()); ++y)
        for (int x = std::max(0, todayX - 40); x < std::min(image.width(), todayX + 60); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 110 && c.blue() < 110) highestRed = std::min(highestRed, y);
            if (c.red() == c.green() && c.green() == c.blue() && c.red() < 160) lowestInk = std::max(lowestInk, y);
        }
    ASSERT_GE(lowestInk, 0) << "the tick's label is drawn";
    ASSERT_LT(highestRed, image.height()) << "the mark is drawn";
    EXPECT_LT(lowestInk, highestRed);
}

}  // namespace
}  // namespace guitest
