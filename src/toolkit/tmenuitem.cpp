#include "toolkit/tmenuitem.h"

#include <algorithm>

namespace tk {

TMenuItem::TMenuItem(TComponent* owner, std::string name, TMenuItem* parent, std::string caption)
    : TComponent(owner, std::move(name)), parent_(parent), caption_(std::move(caption)) {
    if (parent_) parent_->items_.push_back(this);
}

TMenuItem::~TMenuItem() {
    if (parent_) std::erase(parent_->items_, this);
    for (TMenuItem* i : items_) i->parent_ = nullptr;
}

void TMenuItem::SetCaption(std::string c) {
    if (caption_ == c) return;
    caption_ = std::move(c);
    Changed();
}

void TMenuItem::SetEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    Changed();
}

void TMenuItem::SetChecked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    Changed();
}

void TMenuItem::SetVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    Changed();
}

bool TMenuItem::UserClick() {
    // An item under a disabled or hidden menu cannot be reached either.
    for (const TMenuItem* i = this; i; i = i->parent_)
        if (!i->enabled_ || !i->visible_) return false;
    if (OnClick) OnClick(*this);
    return true;
}

}  // namespace tk
