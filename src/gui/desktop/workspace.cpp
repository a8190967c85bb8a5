#include "gui/desktop/workspace.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace gui {
namespace {

constexpr int kCascadeStep = 24;
constexpr int kCascadeSteps = 6;

QRect visibleWorkspace(const QMdiArea& area) {
    const QRect room = area.viewport()->rect();
    // Before the main window is laid out the viewport is tiny: the area's own size is the
    // better guess.
    return room.width() < 100 || room.height() < 100 ? QRect(QPoint(0, 0), area.size()) : room;
}

}  // namespace

QMdiSubWindow* AddToWorkspace(QMdiArea& area, QWidget* content, QSize wanted) {
    int open = 0;
    for (const QMdiSubWindow* w : area.subWindowList())
        if (w->isVisible()) ++open;
    QMdiSubWindow* window = area.addSubWindow(content);
    const QRect room = visibleWorkspace(area);
    window->resize(wanted.boundedTo(room.size()));
    const int step = (open % kCascadeSteps) * kCascadeStep;
    window->move(room.topLeft() + QPoint(step, step));
    KeepInWorkspace(area, *window);
    return window;
}

void KeepInWorkspace(QMdiArea& area, QMdiSubWindow& window) {
    if (window.isMaximized() || window.isMinimized()) return;
    const QRect room = visibleWorkspace(area);
    QRect at = window.geometry();
    at.setSize(at.size().boundedTo(room.size()));
    at.moveLeft(std::clamp(at.left(), room.left(), room.right() + 1 - at.width()));
    at.moveTop(std::clamp(at.top(), room.top(), room.bottom() + 1 - at.height()));
    if (at != window.geometry()) window.setGeometry(at);
}

}  // namespace gui
