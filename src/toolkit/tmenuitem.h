// Menu item with check mark; items nest.
#pragma once
#include <string>
#include <vector>

#include "toolkit/tcomponent.h"

namespace tk {

class TMenuItem : public TComponent {
public:
    // `parent` is the item it hangs under (nullptr for a top-level menu).
    TMenuItem(TComponent* owner, std::string name, TMenuItem* parent, std::string caption);
    ~TMenuItem() override;

    TMenuItem* Parent() const { return parent_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string c);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);

    // The key that chooses the item, as "Ctrl+I" or "F5" (empty: none). The view shows it
    // beside the caption and binds it.
    std::string ShortCut;

    TNotifyEvent OnClick;
    // Runs OnClick; false (and nothing run) when disabled or hidden.
    bool UserClick();

private:
    TMenuItem* parent_;
    std::vector<TMenuItem*> items_;
    std::string caption_;
    bool enabled_ = true, checked_ = false, visible_ = true;
};

}  // namespace tk
