#include "gui/desktop/page_splitter.h"

#include <QResizeEvent>
#include <algorithm>

namespace gui {

PageSplitter::PageSplitter(QWidget* parent, int lower) : QSplitter(Qt::Vertical, parent), lower_(lower) {}

void PageSplitter::restoreDesign() {
    pending_ = 0;
    applyLower(lower_);
}

int PageSplitter::lowerHeight() const {
    if (pending_ > 0) return pending_;
    const QList<int> panes = sizes();
    return panes.size() == 2 ? panes[1] : lower_;
}

void PageSplitter::setLowerHeight(int lower) {
    if (lower <= 0) return;
    if (shown_)
        applyLower(lower);
    else
        pending_ = lower;
}

void PageSplitter::applyLower(int lower) {
    const int room = std::max(0, height() - handleWidth());
    setSizes({std::max(0, room - lower), lower});
}

void PageSplitter::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    shown_ = true;
    if (pending_ > 0) applyLower(pending_);
    pending_ = 0;
}

void PageSplitter::resizeEvent(QResizeEvent* event) {
    QList<int> panes = sizes();
    const int before = laidOutHeight_;
    QSplitter::resizeEvent(event);
    laidOutHeight_ = event->size().height();
    // The layout before the first showing is the designed one (the lower pane at its own
    // height); changes after it, those made while the page was hidden behind another tab
    // included, go to the upper pane.
    if (!shown_ || before <= 0 || panes.size() != 2) return;
    const int change = laidOutHeight_ - before;
    if (change == 0) return;
    panes[0] += change;
    if (panes[0] < 0) {
        panes[1] = std::max(0, panes[1] + panes[0]);
        panes[0] = 0;
    }
    setSizes(panes);
}

}  // namespace gui
