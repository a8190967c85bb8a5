// One line of a host script, parsed and checked: the verb and its arguments.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/keys.h"

namespace host {

enum class Verb {
    Open, Activate, Close, Tab, Menu, Click, Nav, Focus, Column, Row, Type, Key, Pick,
    Button, Answer, Search, Show, State, Wait,
    // Inspection and window helpers beyond the fixed set.
    Module, Window, Minimize, Maximize, Field, Grid,
    // Questions about the commission tables beside the screen's lists.
    Simulate, Check, History,
    // Next period's table from the current one.
    Copy,
};

struct ScriptCommand {
    Verb verb = Verb::Open;
    // Words after the verb; for `type`, `pick` and `copy` the last one is the rest of the line.
    std::vector<std::string> args;
    int line = 0;
    std::string text;  // the command as written, for messages
};

// Parses one script line. Blank lines and lines whose first non-blank character is '#'
// give nullopt; in commands that take only words a word starting with '#' begins a
// trailing comment, while the TEXT of `type` and `pick` is taken literally to the end of
// the line. Throws ScriptError ("line N: ...") for an unknown verb, a wrong number of
// arguments or an argument outside its set (nav, answer, search, row, key, wait).
std::optional<ScriptCommand> parseScriptLine(std::string_view line, int lineNo);

// The seconds of `wait SECONDS`: digits with an optional "." and fraction, at most a day;
// nullopt for anything else.
std::optional<double> waitSecondsOf(std::string_view text);

// A key of `key GRID NAME`: Enter, Tab, Backspace, Escape, Delete, Insert, Up, Down, Left
// or Right, in any letter case, optionally prefixed "Ctrl+" and/or "Shift+" ("Ctrl+Delete",
// "Ctrl+Shift+Tab").
struct KeyStroke {
    std::uint16_t vk = 0;
    tk::TShiftState shift = 0;
};
std::optional<KeyStroke> keyStrokeOf(std::string_view name);

// The code points of UTF-8 `text`; throws ScriptError for a malformed sequence.
std::u32string decodeUtf8(std::string_view text);

// `text` on one output line: line breaks become a literal "\n".
std::string oneLine(std::string_view text);

}  // namespace host
