// The timeline of the commission tables and of the current table's promotion windows:
// what it shows (read from the screen's data sets), where each thing lies, and the drawing.
#pragma once
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <string>
#include <vector>

#include "wire/datetime.h"

class QPainter;

namespace tk {
class TClientDataSet;
}

namespace gui {

struct TimelineBar {
    double number = 0;          // the table's or the promotion's number
    wire::DateTime start, end;  // both days included
    std::string label;
    int lane = 0;        // promotions: the lane of its event type and position
    int baseDate = -1;   // promotions: the base date's place in its code table; -1 unknown
    bool current = false;  // the row the screen stands on
};

struct TimelineData {
    std::vector<TimelineBar> tables;
    std::string promotionsTitle;
    std::vector<std::string> lanes;  // "001 Venda · Vendedor", by event type then position
    std::vector<TimelineBar> promotions;
    std::vector<std::string> baseDates;  // the legend: base date texts in code-table order
    wire::DateTime today;
};

// Reads every row of `tables` (the commission list) and of `promotions` (the current
// table's promotion rules; nullptr: none) with the texts their grids show. Rows lacking a
// date, or ending before they start, are left out. `markCurrent`: the promotion the set
// stands on is marked.
TimelineData ReadTimeline(const tk::TClientDataSet& tables, const tk::TClientDataSet* promotions, bool markCurrent,
                          std::string promotionsTitle, std::vector<std::string> baseDates, wire::DateTime today);

// Where everything lies when the timeline is drawn `width` pixels wide.
class TimelineLayout {
public:
    TimelineLayout(const TimelineData& data, double width);

    double width() const { return width_; }
    double height() const { return height_; }
    // The left edge of `day` on the date axis.
    double xOf(const wire::DateTime& day) const;
    double dayWidth() const { return scale_; }
    wire::DateTime firstShown() const;
    QRectF plot() const { return {plotLeft_, top_, plotRight_ - plotLeft_, height_ - top_}; }
    QRectF tableLane() const;
    QRectF promotionLane(int lane) const;
    QRectF tableBar(const TimelineBar& bar) const;
    QRectF promotionBar(const TimelineBar& bar) const;
    double legendTop() const { return legendTop_; }

private:
    std::int64_t firstDay_ = 0, lastDay_ = 0;  // days since 1970-01-01, both shown
    double width_, height_ = 0;
    double plotLeft_, plotRight_, scale_ = 1;
    double top_, tableTop_, promotionsTop_ = 0, legendTop_ = 0;
};

enum class TimelineHitKind { None, Table, Promotion };
struct TimelineHit {
    TimelineHitKind kind = TimelineHitKind::None;
    double number = 0;
};
// What lies under `point`: a promotion bar, a table bar, or nothing.
TimelineHit HitTimeline(const TimelineData& data, const TimelineLayout& layout, QPointF point);

void PaintTimeline(QPainter& painter, const TimelineData& data, const TimelineLayout& layout);

// The fills of the bars; tests look for them.
QColor TimelineTableColour(bool current);
QColor TimelineBaseDateColour(int baseDate);

}  // namespace gui
