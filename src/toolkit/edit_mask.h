// Internal to the toolkit: fixed-position input masks ("!99/99/9999;1; ") for grid cells.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tk {

// One position per mask character (ASCII). Input positions take a character of their
// kind (0 9 # digits, L l letters, A a letters or digits, C c anything); every other
// character is a literal, filled in by the mask. "\x" makes x a literal; "!", ">" and "<"
// are flags and take no position. The part after the first ";" says whether literals are
// saved with the text ("0": no) and, after a second ";", the blank character.
class EditMask {
public:
    explicit EditMask(std::string_view mask);

    bool Empty() const { return kinds_.empty(); }
    // Every input position blank, every literal in place: "  /  /    ".
    std::string Blank() const;
    // `text` when it has the mask's shape, else the blank template.
    std::string Conform(const std::string& text) const;
    // Types `ch` after the last filled position, skipping literals. A character equal to
    // the literal at that point is accepted and only steps over it (text unchanged).
    // nullopt when the mask refuses it (wrong kind, or no free position left).
    std::optional<std::string> Type(const std::string& text, char32_t ch) const;
    // Blanks the last filled input position; unchanged when nothing is filled.
    std::string Backspace(const std::string& text) const;
    bool IsBlank(const std::string& text) const;
    // What the field receives: "" when nothing was typed, else the text (literals dropped
    // when the mask does not save them).
    std::string FieldText(const std::string& text) const;

private:
    bool isInput(std::size_t pos) const { return kinds_[pos] != 0; }
    static bool accepts(char kind, char ch);
    std::size_t cursor(const std::string& text) const;  // just after the last filled position

    std::string kinds_;     // per position: the input kind, or 0 for a literal
    std::string literals_;  // per position: the literal character (blank for inputs)
    bool saveLiterals_ = true;
    char blank_ = ' ';
};

}  // namespace tk
