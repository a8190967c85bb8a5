#include "gui/desktop/page_splitter.h"

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

}  // namespace gui
