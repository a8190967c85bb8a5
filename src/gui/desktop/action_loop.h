// Runs the user's actions on the toolkit the way a message loop dispatches them.
#pragma once
#include <functional>

#include "toolkit/notifier.h"
#include "toolkit/tapplication.h"

namespace gui {

class ActionLoop {
public:
    explicit ActionLoop(tk::TApplication& app) : app_(app) {}

    // Runs one user action: an EAbort ends it silently, any other failure is shown through
    // the application's view. When the outermost action ends, released forms are
    // destroyed and the AfterAction observers run (views re-read what the toolkit kept:
    // focus, page, column and row, which an abort may have left where they were).
    void run(const std::function<void()>& action);

    // True while an action runs (a modal dialog inside it included).
    bool busy() const { return depth_ > 0; }
    tk::TApplication& app() { return app_; }
    tk::Notifier<>& AfterAction() { return after_; }

private:
    tk::TApplication& app_;
    int depth_ = 0;
    tk::Notifier<> after_;
};

}  // namespace gui
