#include "toolkit/tcontrol.h"

#include <algorithm>

#include "toolkit/tform.h"

namespace tk {

TControl::TControl(TComponent* owner, std::string name, TControl* parent)
    : TComponent(owner, std::move(name)), parent_(parent) {
    if (parent_) parent_->children_.push_back(this);
}

TControl::~TControl() {
    // A dying control must not stay the focused one of its form.
    if (TForm* form = ParentForm(); form && form->ActiveControl() == this) form->SetInitialActiveControl(nullptr);
    if (parent_) std::erase(parent_->children_, this);
    for (TControl* c : children_) c->parent_ = nullptr;
}

bool TControl::IsChildOf(const TControl* ancestor) const {
    for (const TControl* p = parent_; p; p = p->parent_)
        if (p == ancestor) return true;
    return false;
}

TForm* TControl::ParentForm() const {
    for (TControl* p = parent_; p; p = p->parent_)
        if (auto* form = dynamic_cast<TForm*>(p)) return form;
    return nullptr;
}

void TControl::SetEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    Changed();
}

void TControl::SetVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    Changed();
}

bool TControl::Showing() const { return visible_ && (!parent_ || parent_->Showing()); }

bool TControl::Reachable() const {
    if (!Showing()) return false;
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

bool TControl::CanFocus() const { return TakesFocus() && ParentForm() && Reachable(); }

bool TControl::SetFocus() {
    TForm* form = ParentForm();
    return form && form->FocusControl(this);
}

bool TControl::Focused() const {
    TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

void TLabel::SetCaption(std::string text) {
    if (Caption == text) return;
    Caption = std::move(text);
    Changed();
}

}  // namespace tk
