#include "gui/pictures/band_chart_view.h"

#include <QMouseEvent>

namespace gui {

BandChartView::BandChartView(QWidget* parent) : ChartView(parent) {
    setObjectName(QStringLiteral("bandChart"));
    setMinimumSize(320, 220);
}

void BandChartView::setData(BandChartData data) {
    data_ = std::move(data);
    itemsChanged();
}

QString BandChartView::itemName(int item) const {
    const BandStep& s = data_.steps[static_cast<std::size_t>(item)];
    return QString::fromStdString("Faixa de " + s.iniText + " a " + s.finText + ": " + s.percentText + " %");
}

QRectF BandChartView::itemRect(int item) const { return layout().stepRect(data_.steps[static_cast<std::size_t>(item)]); }

void BandChartView::activate(int item) {
    if (onStepChosen) onStepChosen(data_.steps[static_cast<std::size_t>(item)]);
}

QString BandChartView::fileStem() const {
    return FileStemOf(QStringLiteral("faixas ") + QString::fromStdString(data_.title));
}

void BandChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    for (int item = 0; item < itemCount(); ++item)
        if (itemRect(item).contains(event->position())) {
            setCurrentItem(item);
            activate(item);
            return;
        }
}

void BandChartView::paintChart(QPainter& painter, QSizeF size) const {
    PaintBandChart(painter, data_, BandChartLayout(data_, size));
}

}  // namespace gui
