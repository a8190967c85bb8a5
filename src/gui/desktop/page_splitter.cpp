#include "gui/desktop/page_splitter.h"

#include <QResizeEvent>

namespace gui {

PageSplitter::PageSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent) {}

void PageSplitter::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    shown_ = true;
}

void PageSplitter::resizeEvent(QResizeEvent* event) {
    QList<int> panes = sizes();
    const int before = laidOutHeight_;
    QSplitter::resizeEvent(event);
    laidOutHeight_ = event->size().height();
    // The layout before the first showing is the designed one (the lower pane at its own
    // height); only changes after it are shared out, those made while the page was hidden
    // behind another tab included.
    if (!shown_ || before <= 0 || panes.size() != 2) return;
    const int change = laidOutHeight_ - before;
    if (change == 0) return;
    panes[0] += change - change / 2;
    panes[1] += change / 2;
    setSizes(panes);
}

}  // namespace gui
