// The band chart as a widget, drawn at whatever size its window gives it; a click or Enter
// on a step names its band.
#pragma once
#include <functional>

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

    // The steps, by initial value.
    int itemCount() const override { return static_cast<int>(data_.steps.size()); }
    QString itemName(int item) const override;
    QRectF itemRect(int item) const override;
    void activate(int item) override;
    QString fileStem() const override;

    // Runs with the band of the step a click or Enter lands on.
    std::function<void(const BandStep&)> onStepChosen;

protected:
    void paintChart(QPainter& painter, QSizeF size) const override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    BandChartData data_;
};

}  // namespace gui
