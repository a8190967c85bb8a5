// Tabbed pages: enabled pages, the active page, change and exit events.
#pragma once
#include <string>
#include <vector>

#include "toolkit/tcontrol.h"

namespace tk {

class TPageControl;

class TTabSheet : public TControl {
public:
    TTabSheet(TComponent* owner, std::string name, TPageControl& pageControl, std::string caption);
    ~TTabSheet() override;
    TPageControl& PageControl() const { return pageControl_; }
    int PageIndex() const;
    // Only the active page shows.
    bool Showing() const override;

private:
    TPageControl& pageControl_;
};

class TPageControl : public TControl {
public:
    TPageControl(TComponent* owner, std::string name, TControl* parent);

    const std::vector<TTabSheet*>& Pages() const { return pages_; }
    TTabSheet* ActivePage() const { return active_; }
    // Makes `page` active: OnChanging runs first (an exception keeps the old page and
    // passes on); when the focus was on the old page it then moves to the page control (an
    // abort in an OnExit keeps the old page); then OnChange runs. Returns whether the page
    // changed. The first page added is active from the start.
    bool SetActivePage(TTabSheet* page);
    // A click on a tab: refused (false) for a disabled page, else SetActivePage.
    bool UserSelectTab(TTabSheet* page);

    TNotifyEvent OnChanging;  // the old page is still the active one
    TNotifyEvent OnChange;

protected:
    bool TakesFocus() const override { return true; }

private:
    friend class TTabSheet;
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

}  // namespace tk
