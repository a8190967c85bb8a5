#include "gui/desktop/window_menus.h"

#include <QAction>
#include <QChildEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace gui {
namespace {

// The child whose menus and check mark count: the current one, as long as it is shown.
QMdiSubWindow* shownCurrent(const QMdiArea& area) {
    QMdiSubWindow* current = area.currentSubWindow();
    return current && current->isVisible() ? current : nullptr;
}

QMenuBar* ownMenuBar(const QMdiSubWindow& window) {
    QWidget* content = window.widget();
    return content ? content->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

}  // namespace

WindowMenus::WindowMenus(QMenuBar& bar, QMdiArea& area, QMenu& windows)
    : bar_(bar), area_(area), windows_(windows) {
    connect(&area_, &QMdiArea::subWindowActivated, this, [this] { refresh(); });
    connect(&windows_, &QMenu::aboutToShow, this, [this] { listWindows(); });
    // Children live in the area's viewport; each one's state changes are followed.
    area_.viewport()->installEventFilter(this);
}

bool WindowMenus::eventFilter(QObject* watched, QEvent* event) {
    // A child is whole only once polished (it is added while still being built).
    if (watched == area_.viewport() && event->type() == QEvent::ChildPolished) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
            connect(window, &QMdiSubWindow::windowStateChanged, this, &WindowMenus::refresh, Qt::UniqueConnection);
    }
    return QObject::eventFilter(watched, event);
}

void WindowMenus::refresh() {
    mergeMenus();
    listWindows();
}

void WindowMenus::mergeMenus() {
    for (const QPointer<QAction>& action : merged_)
        if (action) bar_.removeAction(action);
    merged_.clear();
    if (childBar_) childBar_->show();
    childBar_ = nullptr;

    QMdiSubWindow* current = shownCurrent(area_);
    QMenuBar* own = current && current->isMaximized() ? ownMenuBar(*current) : nullptr;
    if (!own) return;
    for (QAction* menu : own->actions()) {
        bar_.insertAction(windows_.menuAction(), menu);
        merged_.append(menu);
    }
    own->hide();
    childBar_ = own;
}

void WindowMenus::listWindows() {
    for (const QPointer<QAction>& action : listed_)
        if (action) {
            windows_.removeAction(action);
            delete action;
        }
    listed_.clear();
    const QMdiSubWindow* current = shownCurrent(area_);
    int number = 0;
    for (QMdiSubWindow* window : area_.subWindowList()) {
        if (!window->isVisible()) continue;
        if (number == 0) listed_.append(windows_.addSeparator());
        auto* entry = windows_.addAction(QStringLiteral("&%1 %2").arg(++number).arg(window->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == current);
        QPointer<QMdiSubWindow> target(window);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (!target) return;
            if (target->isMinimized()) target->showNormal();
            area_.setActiveSubWindow(target);
        });
        listed_.append(entry);
    }
}

}  // namespace gui
