#include "toolkit/tform.h"

#include <algorithm>
#include <vector>

#include "toolkit/tapplication.h"
#include "toolkit/tdbgrid.h"

namespace tk {

namespace {

// `outer` is `inner` or holds it.
bool within(const TControl* inner, const TControl* outer) {
    return inner && (inner == outer || inner->IsChildOf(outer));
}

// Resets a flag however the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

// Every control under `parent`, depth first, parents before their children.
void collect(TControl& parent, std::vector<TControl*>& out) {
    for (TControl* child : parent.Children()) {
        out.push_back(child);
        collect(*child, out);
    }
}

}  // namespace

TForm::TForm(TComponent* owner, std::string name) : TControl(owner, std::move(name), nullptr) {}

bool TForm::FocusControl(TControl* control) {
    if (control == active_) return true;
    if (control && (control->ParentForm() != this || !control->CanFocus())) return false;
    // A handler running while the focus is leaving may only keep it where it is (above);
    // starting a second move from inside the first would run the same exits twice.
    if (exiting_) return false;

    TControl* old = active_;
    {
        FlagScope scope(exiting_);
        // The old control, then each container that does not hold the new one, innermost first.
        for (TControl* c = old; c && c != this; c = c->Parent()) {
            if (within(control, c)) break;
            if (auto* grid = dynamic_cast<TDBGrid*>(c)) grid->beforeExit();
            if (c->OnExit) c->OnExit(*c);
        }
    }

    active_ = control;
    if (old) old->Changed();
    if (control) control->Changed();
    Changed();

    // Containers entered, outermost first, then the control itself.
    std::vector<TControl*> entered;
    for (TControl* c = control; c && c != this; c = c->Parent()) {
        if (within(old, c)) break;
        entered.push_back(c);
    }
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
        if ((*it)->OnEnter) (*it)->OnEnter(**it);
        // A handler that sent the focus elsewhere ends this move.
        if (active_ != control) break;
    }
    return active_ == control;
}

bool TForm::SelectNext(TControl* from, bool forward) {
    std::vector<TControl*> order;
    collect(*this, order);
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const auto at = std::find(order.begin(), order.end(), from) - order.begin();
    // From a control not in the form the walk starts at either end.
    const std::ptrdiff_t start = at < n ? at : (forward ? -1 : n);
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (forward ? step : -step)) % n + n) % n;
        TControl* candidate = order[static_cast<std::size_t>(i)];
        if (candidate == from) return false;
        if (candidate->CanFocus()) return FocusControl(candidate);
    }
    return false;
}

void TForm::SetWindowState(TWindowState s) {
    if (windowState_ == s) return;
    windowState_ = s;
    Changed();
}

void TForm::Show() {
    if (!shown_) {
        shown_ = true;
        Changed();
    }
    if (windowState_ == TWindowState::wsMinimized) SetWindowState(TWindowState::wsNormal);
    if (!TApplication::HasInstance()) return;
    TApplication& app = TApplication::Instance();
    app.UI().FormShown(*this);
    app.ActivateForm(this);
}

void TForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(*this, action);
    switch (action) {
    case TCloseAction::caNone:
        return;
    case TCloseAction::caMinimize:
        SetWindowState(TWindowState::wsMinimized);
        return;
    case TCloseAction::caHide:
    case TCloseAction::caFree:
        break;
    }
    if (shown_) {
        shown_ = false;
        Changed();
    }
    if (!TApplication::HasInstance()) return;
    TApplication& app = TApplication::Instance();
    if (app.ActiveForm() == this) app.ActivateForm(nullptr);
    if (action == TCloseAction::caFree) {
        app.Release(this);
        app.UI().FormClosed(*this);
    }
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(*this);
}

void TForm::DoActivate() {
    if (OnActivate) OnActivate(*this);
}

}  // namespace tk
