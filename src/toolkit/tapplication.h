// The host's application object: its forms, the active form, the cursor, the view.
#pragma once
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "toolkit/tform.h"
#include "toolkit/user_interface.h"

namespace tk {

inline constexpr int crDefault = 0;
inline constexpr int crHourGlass = -11;

class TApplication : public TComponent {
public:
    explicit TApplication(IUserInterface& ui);
    ~TApplication() override;

    // The one application of this process, installed by the host before any module runs
    // (a module's entry takes no arguments, so this is how it finds its host).
    static TApplication& Instance();
    static bool HasInstance();
    static void SetInstance(TApplication* app);

    IUserInterface& UI() { return ui_; }

    // Builds a form owned by the application and runs its OnCreate. When construction or
    // OnCreate throws, the form is destroyed and the exception passes on.
    template <class T, class... Args>
    T& CreateForm(Args&&... args) {
        auto form = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& ref = *form;
        ref.DoCreate();
        adopt(std::move(form));
        return ref;
    }
    const std::vector<std::unique_ptr<TForm>>& Forms() const { return forms_; }
    TForm* MainForm = nullptr;

    TForm* ActiveForm() const { return active_; }
    // Makes `form` the active window (nullptr: another window); runs its OnActivate when it
    // was not active. Failures are shown through HandleException.
    void ActivateForm(TForm* form);
    // Destroys a closed form at the next safe point (after the running handler).
    void Release(TForm* form);
    // Destroys forms released so far; hosts call it between user actions.
    void ProcessReleased();

    // Shows a failure as the application's message loop does where a user's action ends:
    // EAbort silently, anything else through the view; then the failures noted on the way
    // (NoteFailure), in the order they happened. A null `e` shows the noted ones only.
    void HandleException(std::exception_ptr e);
    // A failure met while the action was already failing (an undo that failed too): it is
    // shown after the action's own, where the action ends.
    void NoteFailure(std::exception_ptr e);

    int Cursor() const { return cursor_; }
    void SetCursor(int c) { cursor_ = c; }

private:
    void adopt(std::unique_ptr<TForm> form);
    IUserInterface& ui_;
    std::vector<std::unique_ptr<TForm>> forms_;
    std::vector<std::unique_ptr<TForm>> released_;
    std::vector<std::exception_ptr> noted_;
    TForm* active_ = nullptr;
    int cursor_ = crDefault;
};

}  // namespace tk
