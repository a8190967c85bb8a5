// The headless view: answers the toolkit's dialogs from queued script answers and
// prints what the user would see, one line each.
#pragma once
#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "toolkit/user_interface.h"

namespace host {

class ScriptUserInterface : public tk::IUserInterface {
public:
    // Lines go to `out`. With `verbose` the wait indicator and form changes are printed too.
    explicit ScriptUserInterface(std::ostream& out, bool verbose = false);

    // Answers for the next questions and search dialogs, used in order.
    void queueAnswer(bool yes) { answers_.push_back(yes); }
    // A search pick: row (1-based), or nullopt to cancel the dialog.
    void queueSearch(std::optional<int> row) { searches_.push_back(row); }

    // Set when a dialog could not be answered from the queues; the dialog then threw a
    // ScriptAbort. The player turns it into a ScriptError.
    const std::optional<std::string>& failure() const { return failure_; }

    // Prints "error: TEXT": any failure other than a check's message, shown where the
    // user's action ends.
    void ShowException(const std::string& text) override;
    // Prints "message: TEXT".
    void ShowMessageError(const std::string& text) override;
    // Prints "question: KEY yes|no" with the next queued answer.
    bool Confirm(const std::string& key, const std::string& text) override;
    // Prints "search: TITLE rows=N", then picks the queued row or cancels.
    bool Search(tk::TClientDataSet& data, const std::string& title) override;
    // Prints "find: DATASET"; finds nothing.
    void Find(tk::TClientDataSet& data) override;
    void WaitShow(int kind) override;
    void WaitHide() override;
    void FormShown(tk::TForm& form) override;
    void FormClosed(tk::TForm& form) override;

private:
    [[noreturn]] void scriptFailure(std::string what);
    void line(const std::string& text);

    std::ostream& out_;
    bool verbose_;
    std::deque<bool> answers_;
    std::deque<std::optional<int>> searches_;
    std::optional<std::string> failure_;
};

}  // namespace host
