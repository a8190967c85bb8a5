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
    itemsChanged();
}

int TimelineView::itemCount() const { return static_cast<int>(data_.tables.size() + data_.promotions.size()); }

const TimelineBar& TimelineView::bar(int item) const {
    const auto tables = static_cast<int>(data_.tables.size());
    return item < tables ? data_.tables[static_cast<std::size_t>(item)]
                         : data_.promotions[static_cast<std::size_t>(item - tables)];
}

QString TimelineView::itemName(int item) const {
    const TimelineBar& b = bar(item);
    const std::string window = b.start.brazilianDate() + " a " + b.end.brazilianDate();
    if (item < static_cast<int>(data_.tables.size()))
        return QString::fromStdString("Tabela " + b.label + ", de " + window);
    std::string name = "Promoção";
    if (b.lane >= 0 && b.lane < static_cast<int>(data_.lanes.size()))
        name += " " + data_.lanes[static_cast<std::size_t>(b.lane)];
    name += ", de " + window;
    if (b.baseDate >= 0 && b.baseDate < static_cast<int>(data_.baseDates.size()))
        name += ", " + data_.baseDates[static_cast<std::size_t>(b.baseDate)];
    return QString::fromStdString(name);
}

QRectF TimelineView::itemRect(int item) const {
    const TimelineLayout at = layout();
    return item < static_cast<int>(data_.tables.size()) ? at.tableBar(bar(item)) : at.promotionBar(bar(item));
}

void TimelineView::activate(int item) {
    const bool table = item < static_cast<int>(data_.tables.size());
    if (onBarClicked) onBarClicked({table ? TimelineHitKind::Table : TimelineHitKind::Promotion, bar(item).number});
}

QString TimelineView::fileStem() const {
    return FileStemOf(QStringLiteral("linha do tempo ") + QString::fromStdString(data_.promotionsTitle));
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
    setFocus(Qt::MouseFocusReason);
    const TimelineHit hit = HitTimeline(data_, layout(), event->position());
    if (hit.kind == TimelineHitKind::None) return;
    const int tables = static_cast<int>(data_.tables.size());
    for (int item = 0; item < itemCount(); ++item)
        if (hit.kind == (item < tables ? TimelineHitKind::Table : TimelineHitKind::Promotion) &&
            bar(item).number == hit.number)
            setCurrentItem(item);
    if (onBarClicked) onBarClicked(hit);
}

bool TimelineView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return ChartView::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const TimelineHit hit = HitTimeline(data_, layout(), help->pos());
    // Each bar's window once: a promotion's label is its window already.
    QString tip;
    const int tables = static_cast<int>(data_.tables.size());
    for (int item = 0; item < itemCount(); ++item) {
        const bool table = item < tables;
        if (hit.kind == (table ? TimelineHitKind::Table : TimelineHitKind::Promotion) && bar(item).number == hit.number)
            tip = itemName(item);
    }
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}

}  // namespace gui
