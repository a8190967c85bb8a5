#include "gui/desktop/action_loop.h"

#include <exception>

namespace gui {

void ActionLoop::run(const std::function<void()>& action) {
    ++depth_;
    std::exception_ptr failure;
    try {
        action();
    } catch (...) {
        failure = std::current_exception();
    }
    app_.HandleException(failure);
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
