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

protected:
    void paintChart(QPainter& painter, QSizeF size) const override;

private:
    DifferenceChartData data_;
};

}  // namespace gui
