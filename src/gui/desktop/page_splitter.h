// The splitter between a scope page's rule grid and its band grid: when the page grows or
// shrinks (the window maximised or restored) both grids take an equal share of the change,
// so the band grid is not left at its first height under a tall, perhaps empty, rule grid.
#pragma once
#include <QSplitter>

namespace gui {

class PageSplitter : public QSplitter {
    Q_OBJECT

public:
    explicit PageSplitter(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool shown_ = false;
    int laidOutHeight_ = 0;  // the height the panes were last laid out for
};

}  // namespace gui
