// A window: its focused control, activation, showing and closing.
#pragma once
#include <functional>
#include <string>

#include "toolkit/tcontrol.h"

namespace tk {

enum class TWindowState { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormStyle { fsNormal, fsMDIChild };

class TForm : public TControl {
public:
    TForm(TComponent* owner, std::string name);

    TControl* ActiveControl() const { return active_; }
    // Moves the focus to `control` (nullptr: to no control). Runs OnExit of the old control
    // and of each container it leaves (innermost first), then OnEnter of each container
    // entered and of the new control. An exception from an OnExit cancels the move and
    // propagates; an exception from an OnEnter propagates with the focus already moved.
    // Moving to the control that has the focus does nothing. Returns whether the focus is
    // on `control` afterwards.
    bool FocusControl(TControl* control);
    // Moves the focus from `from` to the next control that can take it, in the order the
    // controls sit in the form (parents before their children), wrapping at the end;
    // `forward` false goes the other way. A move as FocusControl; false when no other
    // control can take the focus or a handler kept it.
    bool SelectNext(TControl* from, bool forward);
    // Sets the first focused control without running any handler (before showing).
    void SetInitialActiveControl(TControl* control) { active_ = control; }

    TFormStyle FormStyle = TFormStyle::fsNormal;
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState s);

    // Makes the form visible and brings it to the front; the application activates it.
    void Show();
    // Runs OnClose; with caFree the application releases the form afterwards.
    void Close();
    bool IsShown() const { return shown_; }

    // Runs OnCreate (called by TApplication::CreateForm once the object is built).
    void DoCreate();
    // Runs OnActivate (called by the application when the form becomes the active window).
    void DoActivate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    std::function<void(TObject& sender, TCloseAction& action)> OnClose;

protected:
    bool TakesFocus() const override { return false; }

private:
    TControl* active_ = nullptr;
    bool exiting_ = false;  // exit handlers of a focus move are running
    TWindowState windowState_ = TWindowState::wsNormal;
    bool shown_ = false;
};

}  // namespace tk
