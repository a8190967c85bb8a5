// The timeline as a widget: drawn at its width, as tall as its lanes need; a click on a
// bar names the table or promotion under it.
#pragma once
#include <functional>

#include "gui/pictures/chart_view.h"
#include "gui/pictures/timeline.h"

namespace gui {

class TimelineView : public ChartView {
    Q_OBJECT

public:
    explicit TimelineView(QWidget* parent = nullptr);

    void setData(TimelineData data);
    const TimelineData& data() const { return data_; }
    TimelineLayout layout() const { return TimelineLayout(data_, width()); }
    QSize sizeHint() const override;

    // The tables' bars, then the promotions'.
    int itemCount() const override;
    QString itemName(int item) const override;
    QRectF itemRect(int item) const override;
    void activate(int item) override;
    QString fileStem() const override;

    // Runs with the bar a left click lands on.
    std::function<void(const TimelineHit&)> onBarClicked;

protected:
    void paintChart(QPainter& painter, QSizeF size) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void fitHeight();
    const TimelineBar& bar(int item) const;
    TimelineData data_;
};

}  // namespace gui
