#include "gui/pictures/difference_chart_view.h"

namespace gui {

DifferenceChartView::DifferenceChartView(QWidget* parent) : ChartView(parent) {
    setObjectName(QStringLiteral("differenceChart"));
    setMinimumSize(360, 240);
}

void DifferenceChartView::setData(DifferenceChartData data) {
    data_ = std::move(data);
    itemsChanged();
}

QString DifferenceChartView::itemName(int item) const {
    const DifferenceBar& b = data_.bars[static_cast<std::size_t>(item)];
    return QStringLiteral("Vendedor %1: %2 %3, %4 %5, diferença %6%7")
        .arg(QString::fromStdString(b.vendedor), QString::fromStdString(data_.aLabel), Reais(b.aCents),
             QString::fromStdString(data_.bLabel), Reais(b.bCents), b.difference() > 0 ? QStringLiteral("+") : QString(),
             Reais(b.difference()));
}

QRectF DifferenceChartView::itemRect(int item) const {
    const DifferenceChartLayout at = layout();
    const auto index = static_cast<std::size_t>(item);
    return at.bar(index, false).united(at.bar(index, true));
}

QString DifferenceChartView::fileStem() const {
    return FileStemOf(QStringLiteral("diferencas ") + QString::fromStdString(data_.title));
}

void DifferenceChartView::paintChart(QPainter& painter, QSizeF size) const {
    PaintDifferenceChart(painter, data_, DifferenceChartLayout(data_, size));
}

}  // namespace gui
