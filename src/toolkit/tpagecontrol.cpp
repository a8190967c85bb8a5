#include "toolkit/tpagecontrol.h"

#include <algorithm>

#include "toolkit/tform.h"

namespace tk {

TTabSheet::TTabSheet(TComponent* owner, std::string name, TPageControl& pageControl, std::string caption)
    : TControl(owner, std::move(name), &pageControl), pageControl_(pageControl) {
    Caption = std::move(caption);
    pageControl_.pages_.push_back(this);
    if (!pageControl_.active_) pageControl_.active_ = this;
}

TTabSheet::~TTabSheet() {
    // No parent left means the page control went first; its page list went with it.
    if (!Parent()) return;
    auto& pages = pageControl_.pages_;
    std::erase(pages, this);
    if (pageControl_.active_ == this) pageControl_.active_ = pages.empty() ? nullptr : pages.front();
}

int TTabSheet::PageIndex() const {
    if (!Parent()) return -1;
    const auto& pages = pageControl_.pages_;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

bool TTabSheet::Showing() const { return Parent() && pageControl_.active_ == this && TControl::Showing(); }

TPageControl::TPageControl(TComponent* owner, std::string name, TControl* parent)
    : TControl(owner, std::move(name), parent) {}

bool TPageControl::SetActivePage(TTabSheet* page) {
    if (!page || page == active_ || &page->PageControl() != this) return false;
    if (OnChanging) OnChanging(*this);
    if (TForm* form = ParentForm(); form && active_) {
        TControl* focused = form->ActiveControl();
        if (focused && focused->IsChildOf(active_)) {
            // The focus must not stay on a page that is about to be hidden. An exit handler
            // that throws keeps both the focus and the page.
            if (!form->FocusControl(this)) form->FocusControl(nullptr);
            focused = form->ActiveControl();
            if (focused && focused->IsChildOf(active_)) return false;
        }
    }
    active_ = page;
    Changed();
    if (OnChange) OnChange(*this);
    return true;
}

bool TPageControl::UserSelectTab(TTabSheet* page) {
    if (!page || &page->PageControl() != this) return false;
    if (!Reachable() || !page->Enabled() || !page->Visible()) return false;
    return SetActivePage(page);
}

}  // namespace tk
