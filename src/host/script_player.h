// Plays a host script against a loaded screen module, one command at a time, the way a
// message loop feeds user actions: failures are shown, the next command runs.
#pragma once
#include <optional>
#include <functional>
#include <istream>
#include <ostream>
#include <string_view>

#include "host/script_command.h"
#include "host/script_ui.h"
#include "toolkit/tapplication.h"
#include "toolkit/tdbgrid.h"

namespace host {

// What the player needs of a screen module; the real one comes from dlopen.
struct ScreenModule {
    std::function<void()> open;         // the module's entry (IniProc)
    std::function<tk::TForm*()> form;   // the screen variable; may be stale after a close
    std::function<bool()> created;      // the module's "an instance exists" flag
};

class ScriptPlayer {
public:
    // `ui` must be the view installed in `app`. Lines are written to `out`.
    ScriptPlayer(tk::TApplication& app, ScriptUserInterface& ui, ScreenModule module, std::ostream& out);

    // Checks every line of `script`, then plays them. Throws ScriptError (naming the line)
    // for a malformed line before anything runs, or at the first command that cannot be
    // played (what ran before it stays done).
    void play(std::istream& script);
    // Runs one command inside the loop's guard: an EAbort is silent, any other exception
    // prints "error: TEXT"; then released forms are destroyed. Throws ScriptError.
    void run(const ScriptCommand& command);

    // The screen form when the module's variable names a live form of the application.
    tk::TForm* screen() const;

private:
    void execute(const ScriptCommand& c);
    tk::TForm& requireScreen(const ScriptCommand& c) const;
    tk::TComponent& component(const ScriptCommand& c, std::string_view name) const;
    template <class T>
    T& find(const ScriptCommand& c, std::string_view name, const char* kind) const;
    // Moves the focus to `grid` as a click would; false (with a refused line) when it cannot.
    bool focusGrid(tk::TDBGrid& grid);
    void printState(tk::TForm& form);
    // `simulate` and `check`: asked through the screen's connection.
    void simulate(const ScriptCommand& c);
    void check(const ScriptCommand& c);
    void history(const ScriptCommand& c);
    // `copy`: asked through the screen's connection; the screen then moves to the new table.
    void copy(const ScriptCommand& c);
    // The number of the screen's current stored table; none (and `refusal` shown) without one.
    std::optional<double> currentTable(const ScriptCommand& c, const char* refusal);
    void refused(std::string_view name, std::string_view why = "disabled");

    tk::TApplication& app_;
    ScriptUserInterface& ui_;
    ScreenModule module_;
    std::ostream& out_;
};

}  // namespace host
