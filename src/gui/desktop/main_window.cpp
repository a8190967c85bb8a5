#include "gui/desktop/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>

#include "gui/desktop/form_view.h"
#include "gui/desktop/layout_memory.h"
#include "gui/desktop/screen_import.h"
#include "gui/desktop/screen_pictures.h"
#include "gui/desktop/screen_operations.h"
#include "gui/desktop/screen_questions.h"
#include "gui/desktop/screen_status.h"
#include "gui/desktop/window_menus.h"
#include "gui/desktop/workspace.h"

namespace gui {

MainWindow::MainWindow(tk::TApplication& app, GuiUserInterface& ui, host::ScreenModule module)
    : app_(app), ui_(ui), module_(std::move(module)), loop_(app), mdi_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("backoffice"));
    setWindowTitle(QStringLiteral("Backoffice"));
    mdi_->setObjectName(QStringLiteral("mdi"));
    // A window too small for a screen scrolls to the rest of it instead of cutting it off.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    // The size of a restored (not maximised) window when nothing was kept.
    resize(1024, 720);

    QMenu* cadastros = menuBar()->addMenu(QStringLiteral("&Cadastros"));
    openAction_ = cadastros->addAction(QStringLiteral("Comissão dos &Vendedores"));
    openAction_->setObjectName(QStringLiteral("openComissao"));
    connect(openAction_, &QAction::triggered, this, [this] { openScreen(); });
    cadastros->addSeparator();
    cadastros->addAction(QStringLiteral("&Sair"), this, [this] { close(); });
    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Janela"));
    windowMenu_->addAction(QStringLiteral("&Cascata"), mdi_, &QMdiArea::cascadeSubWindows);
    windowMenu_->addAction(QStringLiteral("&Lado a lado"), mdi_, &QMdiArea::tileSubWindows);
    restoreAction_ = windowMenu_->addAction(QStringLiteral("&Restaurar disposição"), this, [this] { restoreLayout(); });
    restoreAction_->setObjectName(QStringLiteral("restoreLayout"));
    windowMenus_ = std::make_unique<WindowMenus>(*menuBar(), *mdi_, *windowMenu_);
    statusBar();

    ui_.setDialogParent(this);
    ui_.onFormShown = [this](tk::TForm& form) { formShown(form); };
    ui_.onFormClosed = [this](tk::TForm& form) { formClosed(form); };
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) { activated(w); });
}

MainWindow::~MainWindow() {
    ui_.onFormShown = nullptr;
    ui_.onFormClosed = nullptr;
    ui_.setDialogParent(nullptr);
    for (auto& [form, window] : windows_)
        if (auto* view = qobject_cast<FormView*>(window->widget())) view->detach();
}

void MainWindow::showAsLeft() { LayoutMemory::showMainWindow(*this); }

void MainWindow::saveLayout() const {
    LayoutMemory::saveMainWindow(*this);
    for (const auto& [form, window] : windows_)
        if (auto* view = qobject_cast<FormView*>(window->widget())) LayoutMemory::saveView(*view, *window);
}

void MainWindow::restoreLayout() {
    LayoutMemory::forget();
    showMaximized();
    for (auto& [form, window] : windows_) {
        auto* view = qobject_cast<FormView*>(window->widget());
        if (!view) continue;
        if (!window->isMaximized() && !window->isMinimized()) {
            window->resize(designedSize(*form));
            KeepInWorkspace(*mdi_, *window);
        }
        view->restoreDesign();
    }
}

QSize MainWindow::designedSize(const tk::TForm& form) {
    return {form.Width > 0 ? form.Width : 640, form.Height > 0 ? form.Height : 480};
}

void MainWindow::openScreen() {
    loop_.run([this] { module_.open(); });
}

FormView* MainWindow::viewOf(const tk::TForm& form) const {
    for (const auto& [shown, window] : windows_)
        if (shown == &form) return qobject_cast<FormView*>(window->widget());
    return nullptr;
}

FormView* MainWindow::screenView() const {
    tk::TForm* form = module_.form ? module_.form() : nullptr;
    // The module's variable keeps its value after the screen is gone: only a form with a
    // window counts.
    return form ? viewOf(*form) : nullptr;
}

void MainWindow::formShown(tk::TForm& form) {
    QMdiSubWindow* window = nullptr;
    if (auto it = windows_.find(&form); it != windows_.end()) {
        window = it->second;
    } else {
        auto* view = new FormView(form, loop_);
        ScreenPictures::Attach(*view, *mdi_, loop_, ui_);
        ScreenQuestions::Attach(*view, *mdi_, loop_, ui_);
        ScreenImport::Attach(*view, *mdi_, loop_, ui_);
        ScreenOperations::Attach(*view, *mdi_, loop_, ui_);
        ScreenStatus::Attach(*view, loop_, ui_, *statusBar());
        window = AddToWorkspace(*mdi_, view, designedSize(form));
        window->setObjectName(view->objectName());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->installEventFilter(this);
        LayoutMemory::restoreView(*view, *window);
        KeepInWorkspace(*mdi_, *window);
        windows_[&form] = window;
        // Minimizing or maximizing the child is the form's window state too.
        tk::TForm* target = &form;
        connect(window, &QMdiSubWindow::windowStateChanged, this,
                [this, target, window](Qt::WindowStates, Qt::WindowStates now) {
                    if (windows_.count(target) == 0 || windows_[target] != window) return;
                    const tk::TWindowState state = (now & Qt::WindowMinimized)   ? tk::TWindowState::wsMinimized
                                                   : (now & Qt::WindowMaximized) ? tk::TWindowState::wsMaximized
                                                                                 : tk::TWindowState::wsNormal;
                    if (target->WindowState() != state) loop_.run([target, state] { target->SetWindowState(state); });
                });
    }
    window->show();
    window->raise();
    mdi_->setActiveSubWindow(window);
}

void MainWindow::formClosed(tk::TForm& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    QMdiSubWindow* window = it->second;
    windows_.erase(it);
    if (auto* view = qobject_cast<FormView*>(window->widget())) LayoutMemory::saveView(*view, *window);
    // The form goes at the end of the running action: stop listening now, let the widgets
    // go once the event that closed it is done with them.
    if (auto* view = qobject_cast<FormView*>(window->widget())) view->detach();
    window->removeEventFilter(this);
    window->hide();
    window->deleteLater();
}

void MainWindow::activated(QMdiSubWindow* window) {
    // Deactivation (no window) is the main window losing the focus, not a change of screen.
    if (!window) return;
    for (auto& [form, w] : windows_) {
        if (w != window || loop_.busy()) continue;
        tk::TForm* target = form;
        if (app_.ActiveForm() != form)
            loop_.run([this, target] { app_.ActivateForm(target); });  // its end puts the focus
        else if (auto* view = qobject_cast<FormView*>(w->widget()))
            // Back from another window (a picture, a list): the screen's keys work at once.
            view->syncFocus();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Every screen is asked to close first; one that stays open keeps the program running.
    std::vector<tk::TForm*> open;
    for (auto& [form, window] : windows_) open.push_back(form);
    saveLayout();
    for (tk::TForm* form : open) loop_.run([form] { form->Close(); });
    if (!windows_.empty())
        event->ignore();
    else
        event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (auto& [form, window] : windows_)
            if (window == watched) {
                event->ignore();
                tk::TForm* target = form;
                loop_.run([target] { target->Close(); });
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace gui
