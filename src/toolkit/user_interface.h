// What a view (headless script player or desktop) must do for the toolkit: dialogs and
// the wait indicator. The toolkit asks; the view answers, as the user would.
#pragma once
#include <string>

namespace tk {

class TClientDataSet;
class TForm;

class IUserInterface {
public:
    virtual ~IUserInterface() = default;
    // A yes-or-no question identified by `key`; true for Yes.
    virtual bool Confirm(const std::string& key, const std::string& text) = 0;
    // A check's message, shown as an error.
    virtual void ShowMessageError(const std::string& text) = 0;
    // Any other failure shown to the user (a failed server call, an unexpected exception).
    virtual void ShowException(const std::string& text) = 0;
    // A search dialog over `data` (its rows, its visible fields). Returns true when the
    // user picked a row, with `data` standing on it; false when cancelled.
    virtual bool Search(TClientDataSet& data, const std::string& title) = 0;
    // A find dialog over `data`; moves it to the row found, if any.
    virtual void Find(TClientDataSet& data) = 0;
    virtual void WaitShow(int kind) = 0;
    virtual void WaitHide() = 0;
    // A form was created, shown or brought to the front, or closed.
    virtual void FormShown(TForm&) {}
    virtual void FormClosed(TForm&) {}
};

}  // namespace tk
