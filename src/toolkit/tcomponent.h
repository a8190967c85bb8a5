// Base of every named component: an owner, a name to be found by, and change observers.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/notifier.h"

namespace tk {

class TComponent {
public:
    // Registers with `owner` (not owned by it: components are members of their owner).
    TComponent(TComponent* owner, std::string name);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    // A component of this owner, or of any component it owns, by exact name; nullptr if none.
    TComponent* FindComponent(std::string_view name) const;

    // Told after any visible property of this component changed.
    Notifier<TComponent&>& OnChanged() { return changed_; }

protected:
    void Changed() { changed_.notify(*this); }

private:
    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
    Notifier<TComponent&> changed_;
};

using TObject = TComponent;
using TNotifyEvent = std::function<void(TObject& sender)>;

}  // namespace tk
