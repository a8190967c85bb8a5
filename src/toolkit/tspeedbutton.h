// Toolbar button: never takes the focus.
#pragma once
#include "toolkit/tcontrol.h"

namespace tk {

class TSpeedButton : public TControl {
public:
    using TControl::TControl;
    TNotifyEvent OnClick;
    // Runs OnClick; false (and nothing run) when disabled or hidden.
    bool UserClick();
};

}  // namespace tk
