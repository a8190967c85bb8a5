// The chart of the largest differences as a widget, drawn at whatever size its window gives it.
#pragma once
#include "gui/pictures/chart_view.h"
#include "gui/pictures/difference_chart.h"

namespace gui {

class DifferenceChartView : public ChartView {
    Q_OBJECT

public:
    explicit DifferenceChartView(QWidget* parent = nullptr);

    void setData(DifferenceChartData data);
    const DifferenceChartData& data() const { return data_; }
    DifferenceChartLayout layout() const { return DifferenceChartLayout(data_, QSizeF(size())); }
    QSize sizeHint() const override { return {640, 360}; }

    // One item a salesperson: their two bars.
    int itemCount() const override { return static_cast<int>(data_.bars.size()); }
    QString itemName(int item) const override;
    QRectF itemRect(int item) const override;
    QString fileStem() const override;

protected:
    void paintChart(QPainter& painter, QSizeF size) const override;

private:
    DifferenceChartData data_;
};

}  // namespace gui
