#include "host/script_ui.h"

#include "host/script_command.h"
#include "host/script_error.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/tform.h"

namespace host {

ScriptUserInterface::ScriptUserInterface(std::ostream& out, bool verbose) : out_(out), verbose_(verbose) {}

void ScriptUserInterface::line(const std::string& text) { out_ << oneLine(text) << '\n'; }

void ScriptUserInterface::scriptFailure(std::string what) {
    // Keep the first: it is the cause, later ones follow from unwinding.
    if (!failure_) failure_ = std::move(what);
    throw ScriptAbort();
}

void ScriptUserInterface::ShowException(const std::string& text) { line("error: " + text); }

void ScriptUserInterface::ShowMessageError(const std::string& text) { line("message: " + text); }

bool ScriptUserInterface::Confirm(const std::string& key, const std::string& text) {
    if (answers_.empty()) scriptFailure("question " + key + " (" + oneLine(text) + ") asked with no answer queued");
    bool yes = answers_.front();
    answers_.pop_front();
    line("question: " + key + (yes ? " yes" : " no"));
    return yes;
}

bool ScriptUserInterface::Search(tk::TClientDataSet& data, const std::string& title) {
    int rows = data.RecordCount();
    line("search: " + title + " rows=" + std::to_string(rows));
    if (searches_.empty()) scriptFailure("search dialog " + oneLine(title) + " opened with no search queued");
    std::optional<int> pick = searches_.front();
    searches_.pop_front();
    if (!pick) return false;
    if (*pick > rows)
        scriptFailure("search " + std::to_string(*pick) + ": the dialog has " + std::to_string(rows) + " row(s)");
    data.SetRecNo(*pick);
    return true;
}

void ScriptUserInterface::Find(tk::TClientDataSet& data) { line("find: " + data.Name()); }

void ScriptUserInterface::WaitShow(int kind) {
    if (verbose_) line("wait: show " + std::to_string(kind));
}

void ScriptUserInterface::WaitHide() {
    if (verbose_) line("wait: hide");
}

void ScriptUserInterface::FormShown(tk::TForm& form) {
    if (verbose_) line("form: shown " + form.Name());
}

void ScriptUserInterface::FormClosed(tk::TForm& form) {
    if (verbose_) line("form: closed " + form.Name());
}

}  // namespace host
