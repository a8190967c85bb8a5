// A toolkit form shown as widgets: its menu bar, toolbar, pages, grids, splitters,
// navigator and labels. Widgets follow the toolkit's change notices; user actions go
// back to the toolkit through the action loop.
#pragma once
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gui/desktop/action_loop.h"
#include "toolkit/tform.h"

class QAction;
class QKeyEvent;
class QLayout;
class QMenuBar;
class QTabWidget;

namespace tk {
class TMenuItem;
class TPageControl;
class TSpeedButton;
}  // namespace tk

namespace gui {

class GridView;
class PageSplitter;

class FormView : public QWidget {
    Q_OBJECT

public:
    FormView(tk::TForm& form, ActionLoop& loop, QWidget* parent = nullptr);
    ~FormView() override;

    tk::TForm* form() const { return form_; }
    // Stops listening to the toolkit; called before the form is destroyed.
    void detach();
    // Puts the keyboard focus where the toolkit has it.
    void syncFocus();

    // The widget showing a named control, action or menu item (nullptr when none).
    QWidget* widgetOf(const std::string& name) const;
    GridView* grid(const std::string& name) const;
    const std::vector<GridView*>& grids() const { return grids_; }
    std::vector<PageSplitter*> splitters() const;
    // Columns and splitters back as the screen first opened them.
    void restoreDesign();
    QAction* action(const std::string& name) const;  // toolbar button or menu item
    QTabWidget* pages() const { return pages_; }
    QMenuBar* menuBar() const { return menuBar_; }

signals:
    // The view is letting go of its form (the form is going away): what follows it must too.
    void detaching();

protected:
    // Tab clicks reach the toolkit's page control; the tab bar changes nothing itself.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(tk::TControl& control, QLayout& into);
    QWidget* buildControl(tk::TControl& control);
    QWidget* buildToolbar(tk::TControl& panel);
    QWidget* buildPages(tk::TPageControl& pages);
    QWidget* buildPage(tk::TControl& page);
    QWidget* buildNavigator(tk::TControl& navigator);
    void buildMenus();
    void addMenuItems(tk::TMenuItem& item, QWidget& menu);
    // Calls `update` now and after every change notice of `component`.
    void follow(tk::TComponent& component, std::function<void()> update);
    void syncPages();
    // Keys on the page tabs: Tab leaves them, Left and Right choose the neighbouring page.
    bool pageKey(const QKeyEvent& event);

    tk::TForm* form_;
    ActionLoop& loop_;
    QMenuBar* menuBar_ = nullptr;
    QTabWidget* pages_ = nullptr;
    tk::TPageControl* pageControl_ = nullptr;
    std::map<const tk::TControl*, QWidget*> widgets_;
    std::map<std::string, QAction*> actions_;
    std::vector<GridView*> grids_;
    std::vector<std::pair<tk::TComponent*, int>> subscriptions_;
    int afterActionId_ = 0;
};

}  // namespace gui
