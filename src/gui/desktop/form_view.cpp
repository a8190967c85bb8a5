#include "gui/desktop/form_view.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "gui/desktop/grid_view.h"
#include "gui/desktop/page_splitter.h"
#include "toolkit/tdbgrid.h"
#include "toolkit/tdbnavigator.h"
#include "toolkit/tmenuitem.h"
#include "toolkit/tpagecontrol.h"
#include "toolkit/tspeedbutton.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Standard icons for the base screen's commands; other buttons show their caption only.
QIcon commandIcon(const std::string& name) {
    static const std::pair<const char*, QStyle::StandardPixmap> icons[] = {
        {"sbtIncluir", QStyle::SP_FileIcon},
        {"sbtAlterar", QStyle::SP_FileDialogDetailedView},
        {"sbtExcluir", QStyle::SP_TrashIcon},
        {"sbtConfirmar", QStyle::SP_DialogApplyButton},
        {"sbtCancelar", QStyle::SP_DialogCancelButton},
        {"sbtProcurar", QStyle::SP_FileDialogContentsView},
        {"sbtVerificar", QStyle::SP_BrowserReload},
        {"sbtImprimir", QStyle::SP_DialogSaveButton},
    };
    for (const auto& [button, pixmap] : icons)
        if (name == button) return QApplication::style()->standardIcon(pixmap);
    return {};
}

bool hasSpeedButtons(const tk::TControl& panel) {
    for (const tk::TControl* child : panel.Children())
        if (dynamic_cast<const tk::TSpeedButton*>(child)) return true;
    return false;
}

// Controls that take the room left in their row or column.
// The rows of the current rule's bands a scope page shows under its rule grid.
constexpr int kBandRowsShown = 4;

bool fills(const tk::TControl& control) {
    return dynamic_cast<const tk::TPageControl*>(&control) || dynamic_cast<const tk::TDBGrid*>(&control) ||
           dynamic_cast<const tk::TDBText*>(&control);
}

// An MDI area switches windows on Ctrl+Tab from an application-wide filter, before any
// widget sees the key. This one, installed after the area's and so asked first, gives
// Ctrl+Tab and Ctrl+Shift+Tab to the screen when they are meant for one of its widgets.
class CtrlTabRoute : public QObject {
public:
    using Route = std::function<bool(QObject* receiver, const QKeyEvent& key)>;
    CtrlTabRoute(QObject* parent, Route route) : QObject(parent), route_(std::move(route)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
        return tab && (key.modifiers() & Qt::ControlModifier) && route_(watched, key);
    }

private:
    Route route_;
};

}  // namespace

FormView::FormView(tk::TForm& form, ActionLoop& loop, QWidget* parent) : QWidget(parent), form_(&form), loop_(loop) {
    setObjectName(qs(form.Name()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    buildMenus();
    layout->setMenuBar(menuBar_);
    for (tk::TControl* child : form.Children()) build(*child, *layout);

    follow(form, [this] {
        setWindowTitle(qs(form_->Caption));
        auto* window = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (!window) return;
        if (!form_->IsShown()) {
            window->hide();
            return;
        }
        switch (form_->WindowState()) {
        case tk::TWindowState::wsMinimized:
            if (!window->isMinimized()) window->showMinimized();
            break;
        case tk::TWindowState::wsMaximized:
            if (!window->isMaximized()) window->showMaximized();
            break;
        case tk::TWindowState::wsNormal:
            if (window->isMinimized() || window->isMaximized()) window->showNormal();
            break;
        }
    });
    new CtrlTabRoute(this, [this](QObject* receiver, const QKeyEvent& key) {
        if (!form_) return false;
        for (GridView* g : grids_)
            if (receiver == g) return g->userKey(key);
        if (pages_ && (receiver == pages_ || receiver == pages_->tabBar())) return pageKey(key);
        return false;
    });
    afterActionId_ = loop_.AfterAction().subscribe([this] {
        if (!form_) return;
        for (GridView* g : grids_) g->sync();
        syncPages();
        syncFocus();
    });
}

FormView::~FormView() { detach(); }

void FormView::detach() {
    if (!form_) return;
    emit detaching();
    loop_.AfterAction().unsubscribe(afterActionId_);
    for (auto [component, id] : subscriptions_) component->OnChanged().unsubscribe(id);
    subscriptions_.clear();
    for (GridView* g : grids_) g->detach();
    form_ = nullptr;
    pageControl_ = nullptr;
}

void FormView::follow(tk::TComponent& component, std::function<void()> update) {
    update();
    subscriptions_.emplace_back(&component, component.OnChanged().subscribe([update](tk::TComponent&) { update(); }));
}

void FormView::build(tk::TControl& control, QLayout& into) {
    QWidget* widget = buildControl(control);
    if (!widget) return;
    if (auto* box = qobject_cast<QBoxLayout*>(&into))
        box->addWidget(widget, fills(control) ? 1 : 0);
    else
        into.addWidget(widget);
}

QWidget* FormView::buildControl(tk::TControl& control) {
    QWidget* widget = nullptr;
    if (auto* pages = dynamic_cast<tk::TPageControl*>(&control)) {
        widget = buildPages(*pages);
    } else if (auto* grid = dynamic_cast<tk::TDBGrid*>(&control)) {
        auto* view = new GridView(*grid, loop_, this);
        grids_.push_back(view);
        widget = view;
    } else if (dynamic_cast<tk::TDBNavigator*>(&control)) {
        widget = buildNavigator(control);
    } else if (auto* text = dynamic_cast<tk::TDBText*>(&control)) {
        auto* label = new QLabel(this);
        label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        label->setContentsMargins(6, 0, 0, 0);
        follow(*text, [label, text] { label->setText(qs(text->Text())); });
        widget = label;
    } else if (dynamic_cast<tk::TLabel*>(&control)) {
        auto* label = new QLabel(this);
        follow(control, [label, &control] { label->setText(qs(control.Caption)); });
        widget = label;
    } else if (auto* button = dynamic_cast<tk::TSpeedButton*>(&control)) {
        auto* tool = new QToolButton(this);
        tool->setText(qs(button->Caption));
        tool->setFocusPolicy(Qt::NoFocus);
        connect(tool, &QToolButton::clicked, this, [this, button] { loop_.run([button] { button->UserClick(); }); });
        widget = tool;
    } else if (dynamic_cast<tk::TPanel*>(&control)) {
        if (hasSpeedButtons(control)) {
            widget = buildToolbar(control);
        } else {
            widget = new QWidget(this);
            auto* row = new QHBoxLayout(widget);
            row->setContentsMargins(2, 2, 2, 2);
            bool filled = false;
            for (tk::TControl* child : control.Children()) {
                build(*child, *row);
                filled = filled || fills(*child);
            }
            if (!filled) row->addStretch(1);
        }
    }
    if (!widget) return nullptr;
    widget->setObjectName(qs(control.Name()));
    widgets_[&control] = widget;
    if (!dynamic_cast<tk::TDBGrid*>(&control))
        follow(control, [widget, &control] {
            widget->setVisible(control.Visible());
            widget->setEnabled(control.Enabled());
        });
    return widget;
}

QWidget* FormView::buildToolbar(tk::TControl& panel) {
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setFocusPolicy(Qt::NoFocus);
    for (tk::TControl* child : panel.Children()) {
        if (auto* button = dynamic_cast<tk::TSpeedButton*>(child)) {
            auto* action = bar->addAction(commandIcon(button->Name()), qs(button->Caption));
            action->setObjectName(qs(button->Name()));
            actions_[button->Name()] = action;
            connect(action, &QAction::triggered, this, [this, button] { loop_.run([button] { button->UserClick(); }); });
            follow(*button, [action, button] {
                action->setText(qs(button->Caption));
                action->setEnabled(button->Enabled());
                action->setVisible(button->Visible());
            });
            if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
                tool->setObjectName(qs(button->Name()));
                tool->setFocusPolicy(Qt::NoFocus);
                widgets_[button] = tool;
            }
        } else if (auto* label = dynamic_cast<tk::TLabel*>(child)) {
            // The screen's code sits at the far end of the toolbar.
            auto* spacer = new QWidget(bar);
            spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            bar->addWidget(spacer);
            auto* text = new QLabel(bar);
            text->setObjectName(qs(label->Name()));
            QFont bold = text->font();
            bold.setBold(true);
            text->setFont(bold);
            text->setContentsMargins(4, 0, 8, 0);
            follow(*label, [text, label] { text->setText(qs(label->Caption)); });
            bar->addWidget(text);
            widgets_[label] = text;
        }
    }
    return bar;
}

QWidget* FormView::buildPages(tk::TPageControl& pages) {
    pages_ = new QTabWidget(this);
    pageControl_ = &pages;
    pages_->setFocusPolicy(Qt::NoFocus);
    pages_->tabBar()->setFocusPolicy(Qt::NoFocus);
    pages_->tabBar()->installEventFilter(this);
    pages_->installEventFilter(this);
    for (tk::TTabSheet* page : pages.Pages()) {
        QWidget* content = buildPage(*page);
        content->setObjectName(qs(page->Name()));
        widgets_[page] = content;
        const int index = pages_->addTab(content, qs(page->Caption));
        follow(*page, [this, page, index] {
            pages_->setTabText(index, qs(page->Caption));
            pages_->setTabEnabled(index, page->Enabled());
            pages_->setTabVisible(index, page->Visible());
        });
    }
    follow(pages, [this] { syncPages(); });
    return pages_;
}

QWidget* FormView::buildPage(tk::TControl& page) {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto& children = page.Children();
    auto splitterAt = std::find_if(children.begin(), children.end(),
                                   [](tk::TControl* c) { return dynamic_cast<tk::TSplitter*>(c) != nullptr; });
    if (splitterAt == children.end()) {
        for (tk::TControl* child : children) build(*child, *layout);
        return content;
    }
    // What comes after the splitter starts at its own height, room for four rows of each
    // grid at least; what comes before fills the page and takes later changes of its height.
    int below = 0;
    std::vector<QWidget*> panes;
    for (auto part : {std::pair{children.begin(), splitterAt}, std::pair{splitterAt + 1, children.end()}}) {
        const bool lower = part.first != children.begin();
        auto* pane = new QWidget(content);
        auto* paneLayout = new QVBoxLayout(pane);
        paneLayout->setContentsMargins(0, 0, 0, 0);
        const std::size_t gridsBefore = grids_.size();
        for (auto it = part.first; it != part.second; ++it) {
            build(**it, *paneLayout);
            if (lower && !dynamic_cast<tk::TDBGrid*>(*it)) below += (*it)->Height;
        }
        if (lower)
            for (std::size_t g = gridsBefore; g < grids_.size(); ++g)
                below += std::max(grids_[g]->heightForRows(kBandRowsShown), grids_[g]->grid()->Height);
        panes.push_back(pane);
    }
    auto* splitter = new PageSplitter(content, below > 0 ? below : 105);
    splitter->setObjectName(qs((*splitterAt)->Name()));
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(std::max(3, (*splitterAt)->Height));
    for (QWidget* pane : panes) splitter->addWidget(pane);
    // Later changes of the page's height go to the rule pane alone.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({400, below > 0 ? below : 105});
    layout->addWidget(splitter);
    return content;
}

QWidget* FormView::buildNavigator(tk::TControl& control) {
    auto& navigator = static_cast<tk::TDBNavigator&>(control);
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const std::tuple<const char*, const char*, QStyle::StandardPixmap, tk::TNavigateBtn> buttons[] = {
        {"first", "Primeiro", QStyle::SP_MediaSkipBackward, tk::TNavigateBtn::nbFirst},
        {"prior", "Anterior", QStyle::SP_MediaSeekBackward, tk::TNavigateBtn::nbPrior},
        {"next", "Próximo", QStyle::SP_MediaSeekForward, tk::TNavigateBtn::nbNext},
        {"last", "Último", QStyle::SP_MediaSkipForward, tk::TNavigateBtn::nbLast},
    };
    for (const auto& [name, tip, pixmap, which] : buttons) {
        auto* tool = new QToolButton(bar);
        tool->setObjectName(QString::fromLatin1(name));
        tool->setToolTip(QString::fromUtf8(tip));
        tool->setIcon(QApplication::style()->standardIcon(pixmap));
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setAutoRaise(false);
        connect(tool, &QToolButton::clicked, this,
                [this, &navigator, which] { loop_.run([&navigator, which] { navigator.UserClick(which); }); });
        row->addWidget(tool);
    }
    return bar;
}

void FormView::buildMenus() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menu"));
    for (tk::TComponent* component : form_->Components()) {
        auto* root = dynamic_cast<tk::TMenuItem*>(component);
        if (!root || root->Parent()) continue;
        if (root->Caption().empty())
            addMenuItems(*root, *menuBar_);  // the menu bar itself
        else
            addMenuItems(*root, *menuBar_->addMenu(qs(root->Caption())));
    }
}

void FormView::addMenuItems(tk::TMenuItem& parent, QWidget& into) {
    for (tk::TMenuItem* item : parent.Items()) {
        QAction* action = nullptr;
        if (!item->Items().empty()) {
            QMenu* menu = new QMenu(qs(item->Caption()), &into);
            menu->setObjectName(qs(item->Name()));
            addMenuItems(*item, *menu);
            action = menu->menuAction();
            into.addAction(action);
        } else if (item->Caption() == "-") {
            action = new QAction(&into);
            action->setSeparator(true);
            into.addAction(action);
        } else {
            action = new QAction(qs(item->Caption()), &into);
            // The menu shows the key beside the caption; pressing it chooses the item.
            if (!item->ShortCut.empty())
                action->setShortcut(QKeySequence::fromString(qs(item->ShortCut), QKeySequence::PortableText));
            into.addAction(action);
            // Qt flips a checkable action's mark on its own; the toolkit's mark wins.
            auto apply = [action, item] {
                action->setCheckable(item->Checked());
                action->setChecked(item->Checked());
            };
            connect(action, &QAction::triggered, this, [this, item, apply] {
                loop_.run([item] { item->UserClick(); });
                if (form_) apply();
            });
        }
        action->setObjectName(qs(item->Name()));
        actions_[item->Name()] = action;
        follow(*item, [action, item] {
            if (!action->isSeparator()) action->setText(qs(item->Caption()));
            action->setEnabled(item->Enabled());
            action->setVisible(item->Visible());
            if (item->Items().empty() && !action->isSeparator()) {
                action->setCheckable(item->Checked());
                action->setChecked(item->Checked());
            }
        });
    }
}

void FormView::syncPages() {
    if (!pageControl_ || !pages_) return;
    const auto& pages = pageControl_->Pages();
    auto it = std::find(pages.begin(), pages.end(), pageControl_->ActivePage());
    if (it != pages.end()) pages_->setCurrentIndex(static_cast<int>(it - pages.begin()));
}

void FormView::syncFocus() {
    if (!form_) return;
    // A screen behind another window (the findings, a picture) keeps its focus for when it
    // is chosen again: setting it now would bring the screen to the front.
    if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget()))
        if (QMdiArea* area = window->mdiArea(); area && area->currentSubWindow() && area->currentSubWindow() != window)
            return;
    tk::TControl* active = form_->ActiveControl();
    auto it = active ? widgets_.find(active) : widgets_.end();
    QWidget* target = it != widgets_.end() ? it->second : this;
    if (target->isVisible()) target->setFocus(Qt::OtherFocusReason);
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (pages_ && watched == pages_->tabBar()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto& mouse = static_cast<QMouseEvent&>(*event);
            const int index = pages_->tabBar()->tabAt(mouse.position().toPoint());
            if (mouse.button() == Qt::LeftButton && index >= 0 && pageControl_) {
                tk::TPageControl* control = pageControl_;
                tk::TTabSheet* page = control->Pages()[static_cast<std::size_t>(index)];
                loop_.run([control, page] { control->UserSelectTab(page); });
            }
            return true;
        }
        case QEvent::KeyPress:
            return pageKey(static_cast<QKeyEvent&>(*event));
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        default:
            break;
        }
    }
    if (pages_ && watched == pages_ && event->type() == QEvent::KeyPress)
        return pageKey(static_cast<QKeyEvent&>(*event));
    return QWidget::eventFilter(watched, event);
}

bool FormView::pageKey(const QKeyEvent& event) {
    tk::TPageControl* control = pageControl_;
    if (!control || !form_) return true;
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        // With the focus on the page tabs, Tab and Ctrl+Tab go on to the next control.
        const bool forward = event.key() == Qt::Key_Tab && !(event.modifiers() & Qt::ShiftModifier);
        tk::TForm* form = form_;
        loop_.run([form, control, forward] { form->SelectNext(control, forward); });
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // The neighbouring tab the user may choose; a disabled one is passed over.
        const auto& pages = control->Pages();
        const int step = event.key() == Qt::Key_Right ? 1 : -1;
        const int count = static_cast<int>(pages.size());
        int at = static_cast<int>(std::find(pages.begin(), pages.end(), control->ActivePage()) - pages.begin());
        for (at += step; at >= 0 && at < count; at += step) {
            tk::TTabSheet* page = pages[static_cast<std::size_t>(at)];
            if (!page->Enabled() || !page->Visible()) continue;
            loop_.run([control, page] { control->UserSelectTab(page); });
            break;
        }
        break;
    }
    default:
        break;
    }
    return true;
}

QWidget* FormView::widgetOf(const std::string& name) const {
    if (!form_) return nullptr;
    auto* control = dynamic_cast<tk::TControl*>(form_->FindComponent(name));
    auto it = control ? widgets_.find(control) : widgets_.end();
    return it == widgets_.end() ? nullptr : it->second;
}

GridView* FormView::grid(const std::string& name) const { return dynamic_cast<GridView*>(widgetOf(name)); }

std::vector<PageSplitter*> FormView::splitters() const {
    const QList<PageSplitter*> found = findChildren<PageSplitter*>();
    return {found.begin(), found.end()};
}

void FormView::restoreDesign() {
    for (GridView* g : grids_) g->fitColumns(true);
    for (PageSplitter* splitter : splitters()) splitter->restoreDesign();
}

QAction* FormView::action(const std::string& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

}  // namespace gui
