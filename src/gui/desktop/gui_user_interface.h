// The desktop view's answers to the toolkit: message boxes, search and find dialogs, the
// busy cursor, and the notices that a form was shown or closed.
#pragma once
#include <functional>

#include "toolkit/user_interface.h"

class QDialog;
class QWidget;

namespace gui {

class GuiUserInterface : public tk::IUserInterface {
public:
    GuiUserInterface() = default;
    ~GuiUserInterface() override;

    // Runs with every modal dialog this view opens, once its event loop is running; tests
    // answer dialogs through it with ordinary widget events.
    using DialogHook = std::function<void(QDialog& dialog)>;
    void setDialogHook(DialogHook hook) { dialogHook_ = std::move(hook); }
    // Dialogs are centred over this window (may be null).
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // Told when the toolkit shows or closes a form (the main window keeps its MDI children).
    std::function<void(tk::TForm&)> onFormShown, onFormClosed;
    // Told the text of every error shown, once the user has closed its box.
    std::function<void(const std::string&)> onError;

    // Yes/No question; No is the default button (Yes discards or deletes).
    bool Confirm(const std::string& key, const std::string& text) override;
    void ShowMessageError(const std::string& text) override;
    void ShowException(const std::string& text) override;
    // A filterable list of the set's rows; a pick moves the set to that row.
    bool Search(tk::TClientDataSet& data, const std::string& title) override;
    // Asks for a field and a text and moves to the next row whose text contains it.
    void Find(tk::TClientDataSet& data) override;
    // The wait animation is the busy cursor; showing it twice needs one hide, as the
    // framework's animation does.
    void WaitShow(int kind) override;
    void WaitHide() override;
    void FormShown(tk::TForm& form) override;
    void FormClosed(tk::TForm& form) override;

    // Runs `dialog` modally (through the hook when one is set); returns its result code.
    int runModal(QDialog& dialog);

private:
    void error(const std::string& title, const std::string& text);
    DialogHook dialogHook_;
    QWidget* dialogParent_ = nullptr;
    bool waiting_ = false;
};

}  // namespace gui
