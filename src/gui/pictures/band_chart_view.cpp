#include "gui/pictures/band_chart_view.h"

namespace gui {

BandChartView::BandChartView(QWidget* parent) : ChartView(parent) {
    setObjectName(QStringLiteral("bandChart"));
    setMinimumSize(320, 220);
}

void BandChartView::setData(BandChartData data) {
    data_ = std::move(data);
    update();
}

void BandChartView::paintChart(QPainter& painter, QSizeF size) const {
    PaintBandChart(painter, data_, BandChartLayout(data_, size));
}

}  // namespace gui
