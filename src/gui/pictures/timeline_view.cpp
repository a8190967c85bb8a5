#include "gui/pictures/timeline_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <cmath>

namespace gui {

TimelineView::TimelineView(QWidget* parent) : ChartView(parent) {
    setObjectName(QStringLiteral("timeline"));
    setMouseTracking(true);
    fitHeight();
}

void TimelineView::setData(TimelineData data) {
    data_ = std::move(data);
    fitHeight();
    update();
}

QSize TimelineView::sizeHint() const { return {900, static_cast<int>(TimelineLayout(data_, 900).height())}; }

void TimelineView::fitHeight() { setMinimumHeight(static_cast<int>(std::ceil(layout().height()))); }

void TimelineView::resizeEvent(QResizeEvent* event) {
    ChartView::resizeEvent(event);
    fitHeight();
}

void TimelineView::paintChart(QPainter& painter, QSizeF size) const {
    PaintTimeline(painter, data_, TimelineLayout(data_, size.width()));
}

void TimelineView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const TimelineHit hit = HitTimeline(data_, layout(), event->position());
    if (hit.kind != TimelineHitKind::None && onBarClicked) onBarClicked(hit);
}

bool TimelineView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return ChartView::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const TimelineHit hit = HitTimeline(data_, layout(), help->pos());
    auto text = [](const TimelineBar& b) {
        return QString::fromStdString(b.label + " (" + b.start.brazilianDate() + " a " + b.end.brazilianDate() + ")");
    };
    QString tip;
    const auto& bars = hit.kind == TimelineHitKind::Table ? data_.tables : data_.promotions;
    if (hit.kind != TimelineHitKind::None)
        for (const auto& b : bars)
            if (b.number == hit.number) tip = text(b);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}

}  // namespace gui
