#include "toolkit/tcomponent.h"

#include <algorithm>

namespace tk {

TComponent::TComponent(TComponent* owner, std::string name) : owner_(owner), name_(std::move(name)) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    if (owner_) std::erase(owner_->components_, this);
    // Components usually die before their owner; one that outlives it must not point back.
    for (TComponent* c : components_) c->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    for (TComponent* c : components_)
        if (c->name_ == name) return c;
    for (TComponent* c : components_)
        if (TComponent* found = c->FindComponent(name)) return found;
    return nullptr;
}

}  // namespace tk
