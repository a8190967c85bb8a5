#include "toolkit/tspeedbutton.h"

namespace tk {

bool TSpeedButton::UserClick() {
    if (!Reachable()) return false;
    if (OnClick) OnClick(*this);
    return true;
}

}  // namespace tk
