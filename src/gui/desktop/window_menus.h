// The main window's menus that follow its MDI children: the Janela menu lists the open
// windows, and a maximised child's own menu bar joins the main menu bar while it is the
// current child.
#pragma once
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;

namespace gui {

class WindowMenus : public QObject {
    Q_OBJECT

public:
    // Merged menus go into `bar` before the menu `windows`, which lists the children of
    // `area` after the entries it already holds. Must go before `bar` and `area` do.
    WindowMenus(QMenuBar& bar, QMdiArea& area, QMenu& windows);

    // Brings the menus up to date with the current child and its state (also done on every
    // activation, state change and opening of the Janela menu).
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listWindows();
    void mergeMenus();

    QMenuBar& bar_;
    QMdiArea& area_;
    QMenu& windows_;
    QList<QPointer<QAction>> listed_;   // the Janela menu's window entries
    QList<QPointer<QAction>> merged_;   // a child's menus shown in the main bar
    QPointer<QMenuBar> childBar_;       // the child menu bar hidden while merged
};

}  // namespace gui
