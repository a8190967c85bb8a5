#include "gui/pictures/difference_chart_view.h"

namespace gui {

DifferenceChartView::DifferenceChartView(QWidget* parent) : ChartView(parent) {
    setObjectName(QStringLiteral("differenceChart"));
    setMinimumSize(360, 240);
}

void DifferenceChartView::setData(DifferenceChartData data) {
    data_ = std::move(data);
    update();
}

void DifferenceChartView::paintChart(QPainter& painter, QSizeF size) const {
    PaintDifferenceChart(painter, data_, DifferenceChartLayout(data_, size));
}

}  // namespace gui
