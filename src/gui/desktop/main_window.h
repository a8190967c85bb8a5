// The desktop host's main window: an MDI area holding the screens a module opens, and a
// menu entry that opens the commission screen through the module's entry.
#pragma once
#include <QMainWindow>
#include <map>
#include <memory>

#include "gui/desktop/action_loop.h"
#include "gui/desktop/gui_user_interface.h"
#include "host/script_player.h"

class QMdiArea;
class QMenu;
class QMdiSubWindow;

namespace gui {

class FormView;
class WindowMenus;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `ui` must be the view installed in `app`; the window answers its form notices.
    MainWindow(tk::TApplication& app, GuiUserInterface& ui, host::ScreenModule module);
    // Detaches every view first: the forms may outlive the widgets by a moment.
    ~MainWindow() override;

    // The menu entry "Comissão dos Vendedores": runs the module's entry as a user action
    // (a second choice brings the open screen to the front).
    void openScreen();
    QAction& openAction() const { return *openAction_; }

    // Shows the window as the last run left it; maximised the first time.
    void showAsLeft();
    // Keeps the window's and every open screen's layout for the next run (also done when
    // the window closes and a screen closes).
    void saveLayout() const;
    // Janela › Restaurar disposição: forgets what was kept and puts the window, the
    // screens' windows, splitters and columns back as they first opened.
    void restoreLayout();
    QAction& restoreAction() const { return *restoreAction_; }

    QMdiArea& mdiArea() const { return *mdi_; }
    // The Janela menu: arrangement entries, then one entry per open window.
    QMenu& windowMenu() const { return *windowMenu_; }
    ActionLoop& loop() { return loop_; }
    // The view of a shown form, or nullptr.
    FormView* viewOf(const tk::TForm& form) const;
    // The view of the module's screen when it is open.
    FormView* screenView() const;

protected:
    // A click on an MDI child's close box asks the form to close (its handlers may refuse).
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void formShown(tk::TForm& form);
    void formClosed(tk::TForm& form);
    void activated(QMdiSubWindow* window);
    static QSize designedSize(const tk::TForm& form);

    tk::TApplication& app_;
    GuiUserInterface& ui_;
    host::ScreenModule module_;
    ActionLoop loop_;
    QMdiArea* mdi_;
    QAction* openAction_ = nullptr;
    QAction* restoreAction_ = nullptr;
    std::map<tk::TForm*, QMdiSubWindow*> windows_;
    QMenu* windowMenu_ = nullptr;
    std::unique_ptr<WindowMenus> windowMenus_;
};

}  // namespace gui
