// Visual controls: a parent chain, enabled and visible flags, focus entry and exit.
#pragma once
#include <string>
#include <vector>

#include "toolkit/tcomponent.h"

namespace tk {

class TForm;

class TControl : public TComponent {
public:
    TControl(TComponent* owner, std::string name, TControl* parent);
    ~TControl() override;

    TControl* Parent() const { return parent_; }
    const std::vector<TControl*>& Children() const { return children_; }
    bool IsChildOf(const TControl* ancestor) const;  // strictly inside `ancestor`
    TForm* ParentForm() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    // Visible here and in every parent; a tab sheet counts as visible only while active.
    virtual bool Showing() const;
    // Showing, and enabled here and in every parent: the user can reach it with the mouse.
    bool Reachable() const;
    // Reachable, on a form, and a kind that takes the focus.
    bool CanFocus() const;
    // Focus through the parent form (see TForm::FocusControl). Returns whether it moved here.
    bool SetFocus();
    bool Focused() const;

    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::string Caption;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    // Only windowed controls (grids, page controls, forms) take the focus.
    virtual bool TakesFocus() const { return false; }
    friend class TForm;

private:
    TControl* parent_;
    std::vector<TControl*> children_;
    bool enabled_ = true;
    bool visible_ = true;
};

class TPanel : public TControl {
public:
    using TControl::TControl;
};

class TSplitter : public TControl {
public:
    using TControl::TControl;
};

class TLabel : public TControl {
public:
    using TControl::TControl;
    void SetCaption(std::string text);
};

}  // namespace tk
