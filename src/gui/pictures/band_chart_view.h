// The band chart as a widget, drawn at whatever size its window gives it.
#pragma once
#include "gui/pictures/band_chart.h"
#include "gui/pictures/chart_view.h"

namespace gui {

class BandChartView : public ChartView {
    Q_OBJECT

public:
    explicit BandChartView(QWidget* parent = nullptr);

    void setData(BandChartData data);
    const BandChartData& data() const { return data_; }
    BandChartLayout layout() const { return BandChartLayout(data_, QSizeF(size())); }
    QSize sizeHint() const override { return {560, 340}; }

protected:
    void paintChart(QPainter& painter, QSizeF size) const override;

private:
    BandChartData data_;
};

}  // namespace gui
