#include "host/script_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "host/script_error.h"
#include "wire/utf8.h"

namespace host {
namespace {

struct VerbSpec {
    std::string_view name;
    Verb verb;
    int words;      // word arguments
    bool restText;  // a literal text to the end of the line follows the words
};

constexpr std::array<VerbSpec, 29> kVerbs{{
    {"open", Verb::Open, 0, false},
    {"activate", Verb::Activate, 0, false},
    {"close", Verb::Close, 0, false},
    {"tab", Verb::Tab, 1, false},
    {"menu", Verb::Menu, 1, false},
    {"click", Verb::Click, 1, false},
    {"nav", Verb::Nav, 1, false},
    {"focus", Verb::Focus, 1, false},
    {"column", Verb::Column, 2, false},
    {"row", Verb::Row, 2, false},
    {"type", Verb::Type, 1, true},
    {"key", Verb::Key, 2, false},
    {"pick", Verb::Pick, 1, true},
    {"button", Verb::Button, 1, false},
    {"answer", Verb::Answer, 1, false},
    {"search", Verb::Search, 1, false},
    {"show", Verb::Show, 1, false},
    {"state", Verb::State, 0, false},
    {"wait", Verb::Wait, 1, false},
    {"module", Verb::Module, 0, false},
    {"window", Verb::Window, 0, false},
    {"minimize", Verb::Minimize, 0, false},
    {"maximize", Verb::Maximize, 0, false},
    {"field", Verb::Field, 1, false},
    {"grid", Verb::Grid, 1, false},
    {"simulate", Verb::Simulate, 5, false},
    {"check", Verb::Check, 0, false},
    {"history", Verb::History, 0, false},
    {"copy", Verb::Copy, 2, true},
}};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view skipBlanks(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return s.substr(i);
}

// Takes the next word off the front of `rest`; empty when there is none.
std::string_view takeWord(std::string_view& rest) {
    rest = skipBlanks(rest);
    std::size_t i = 0;
    while (i < rest.size() && !isBlank(rest[i])) ++i;
    std::string_view word = rest.substr(0, i);
    rest.remove_prefix(i);
    return word;
}

bool isPositiveInteger(std::string_view s) {
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && value > 0;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

[[noreturn]] void fail(int lineNo, const std::string& what) {
    throw ScriptError("line " + std::to_string(lineNo) + ": " + what);
}

void checkArguments(const ScriptCommand& c, std::string_view verbName) {
    auto bad = [&](std::string_view arg, std::string_view allowed) {
        fail(c.line, std::string(verbName) + ": '" + std::string(arg) + "' is not " + std::string(allowed));
    };
    switch (c.verb) {
    case Verb::Nav:
        if (c.args[0] != "first" && c.args[0] != "prior" && c.args[0] != "next" && c.args[0] != "last")
            bad(c.args[0], "first, prior, next or last");
        break;
    case Verb::Answer:
        if (c.args[0] != "yes" && c.args[0] != "no") bad(c.args[0], "yes or no");
        break;
    case Verb::Search:
        if (c.args[0] != "cancel" && !isPositiveInteger(c.args[0])) bad(c.args[0], "a row number or cancel");
        break;
    case Verb::Row:
        if (!isPositiveInteger(c.args[1])) bad(c.args[1], "a row number");
        break;
    case Verb::Key:
        if (!keyStrokeOf(c.args[1])) bad(c.args[1], "a known key");
        break;
    case Verb::Wait:
        if (!waitSecondsOf(c.args[0])) bad(c.args[0], "a number of seconds from 0 to 86400");
        break;
    // Names are checked when the command runs; the others take any word or text.
    case Verb::Open: case Verb::Activate: case Verb::Close: case Verb::Tab: case Verb::Menu:
    case Verb::Click: case Verb::Focus: case Verb::Column: case Verb::Type: case Verb::Pick:
    case Verb::Button: case Verb::Show: case Verb::State: case Verb::Module: case Verb::Window:
    case Verb::Minimize: case Verb::Maximize: case Verb::Field: case Verb::Grid: case Verb::Simulate:
    case Verb::Check: case Verb::History: case Verb::Copy:
        break;
    }
}

}  // namespace

std::optional<ScriptCommand> parseScriptLine(std::string_view line, int lineNo) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view rest = skipBlanks(line);
    if (rest.empty() || rest.front() == '#') return std::nullopt;

    std::string_view verbName = takeWord(rest);
    auto verbDef = std::find_if(kVerbs.begin(), kVerbs.end(), [&](const VerbSpec& v) { return v.name == verbName; });
    if (verbDef == kVerbs.end()) fail(lineNo, "unknown command '" + std::string(verbName) + "'");

    ScriptCommand c;
    c.verb = verbDef->verb;
    c.line = lineNo;
    c.text = std::string(skipBlanks(line));
    for (int i = 0; i < verbDef->words; ++i) {
        std::string_view word = takeWord(rest);
        if (word.empty() || word.front() == '#')
            fail(lineNo, std::string(verbName) + " needs " + std::to_string(verbDef->words + (verbDef->restText ? 1 : 0)) +
                             " argument(s)");
        c.args.emplace_back(word);
    }
    if (verbDef->restText) {
        // One separator after the last word; everything else is the text, blanks included.
        if (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
        if (rest.empty()) fail(lineNo, std::string(verbName) + " needs a text");
        c.args.emplace_back(rest);
    } else {
        std::string_view extra = takeWord(rest);
        if (!extra.empty() && extra.front() != '#')
            fail(lineNo, std::string(verbName) + ": unexpected '" + std::string(extra) + "'");
    }
    checkArguments(c, verbName);
    return c;
}

std::optional<double> waitSecondsOf(std::string_view text) {
    const auto dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 5 || !digits(whole) || !digits(fraction) ||
        (dot != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    double seconds = 0;
    std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (seconds > 86400) return std::nullopt;
    return seconds;
}

std::optional<KeyStroke> keyStrokeOf(std::string_view name) {
    KeyStroke k;
    std::string n = lower(name);
    // Modifier prefixes in either order, each at most once.
    static constexpr std::array<std::pair<std::string_view, tk::TShiftState>, 2> modifiers{{
        {"ctrl+", tk::ssCtrl}, {"shift+", tk::ssShift},
    }};
    for (bool more = true; more;) {
        more = false;
        for (const auto& [prefix, bit] : modifiers) {
            if (!(k.shift & bit) && n.starts_with(prefix)) {
                k.shift |= bit;
                n.erase(0, prefix.size());
                more = true;
            }
        }
    }
    static constexpr std::array<std::pair<std::string_view, std::uint16_t>, 10> keys{{
        {"enter", tk::VK_RETURN}, {"tab", tk::VK_TAB}, {"backspace", tk::VK_BACK},
        {"escape", tk::VK_ESCAPE}, {"delete", tk::VK_DELETE}, {"insert", tk::VK_INSERT},
        {"up", tk::VK_UP}, {"down", tk::VK_DOWN}, {"left", tk::VK_LEFT}, {"right", tk::VK_RIGHT},
    }};
    for (auto& [keyName, vk] : keys) {
        if (keyName == n) {
            k.vk = vk;
            return k;
        }
    }
    return std::nullopt;
}

std::u32string decodeUtf8(std::string_view text) {
    wire::utf8::Decoded decoded = wire::utf8::decode(text);
    if (decoded.badByte)
        throw ScriptError("malformed UTF-8 at byte " + std::to_string(*decoded.badByte + 1) + " of '" +
                          std::string(text) + "'");
    return std::move(decoded.chars);
}

std::string oneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (text[i] == '\n') {
            out += "\\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace host
