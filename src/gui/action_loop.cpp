#include "gui/action_loop.h"

#include <exception>

namespace gui {

void ActionLoop::run(const std::function<void()>& action) {
    ++depth_;
    try {
        action();
    } catch (...) {
        app_.HandleException(std::current_exception());
    }
    --depth_;
    if (depth_ > 0) return;
    try {
        app_.ProcessReleased();
    } catch (...) {
        app_.HandleException(std::current_exception());
    }
    after_.notify();
}

}  // namespace gui
