#include "toolkit/edit_mask.h"

#include <cctype>

namespace tk {

EditMask::EditMask(std::string_view mask) {
    std::string_view body = mask.substr(0, mask.find(';'));
    if (auto semi = mask.find(';'); semi != std::string_view::npos) {
        std::string_view rest = mask.substr(semi + 1);
        std::string_view save = rest.substr(0, rest.find(';'));
        saveLiterals_ = save != "0";
        if (auto semi2 = rest.find(';'); semi2 != std::string_view::npos && semi2 + 1 < rest.size())
            blank_ = rest[semi2 + 1];
    }
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        switch (c) {
        case '!': case '>': case '<':
            continue;
        case '\\':
            if (i + 1 < body.size()) {
                kinds_ += '\0';
                literals_ += body[++i];
            }
            continue;
        case '0': case '9': case '#': case 'L': case 'l': case 'A': case 'a': case 'C': case 'c':
            kinds_ += c;
            literals_ += blank_;
            continue;
        default:
            kinds_ += '\0';
            literals_ += c;
        }
    }
}

std::string EditMask::Blank() const { return literals_; }

std::string EditMask::Conform(const std::string& text) const {
    if (text.size() != kinds_.size()) return Blank();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isInput(i)) {
            if (text[i] != blank_ && !accepts(kinds_[i], text[i])) return Blank();
        } else if (text[i] != literals_[i]) {
            return Blank();
        }
    }
    return text;
}

bool EditMask::accepts(char kind, char ch) {
    auto u = static_cast<unsigned char>(ch);
    switch (kind) {
    case '0': case '9': return std::isdigit(u) != 0;
    case '#': return std::isdigit(u) || ch == '+' || ch == '-';
    case 'L': case 'l': return std::isalpha(u) != 0;
    case 'A': case 'a': return std::isalnum(u) != 0;
    default: return std::isprint(u) != 0;
    }
}

std::size_t EditMask::cursor(const std::string& text) const {
    for (std::size_t i = text.size(); i > 0; --i)
        if (isInput(i - 1) && text[i - 1] != blank_) return i;
    return 0;
}

std::optional<std::string> EditMask::Type(const std::string& given, char32_t ch) const {
    if (ch >= 0x80) return std::nullopt;  // positions hold single ASCII characters
    const char c = static_cast<char>(ch);
    std::string text = Conform(given);
    std::size_t pos = cursor(text);
    for (; pos < text.size() && !isInput(pos); ++pos)
        if (literals_[pos] == c) return text;
    if (pos >= text.size() || !accepts(kinds_[pos], c)) return std::nullopt;
    text[pos] = c;
    return text;
}

std::string EditMask::Backspace(const std::string& given) const {
    std::string text = Conform(given);
    if (std::size_t pos = cursor(text); pos > 0) text[pos - 1] = blank_;
    return text;
}

bool EditMask::IsBlank(const std::string& text) const {
    if (text.size() != kinds_.size()) return text.empty();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (isInput(i) && text[i] != blank_) return false;
    return true;
}

std::string EditMask::FieldText(const std::string& text) const {
    if (IsBlank(text)) return "";
    if (saveLiterals_ || text.size() != kinds_.size()) return text;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (isInput(i)) out += text[i];
    return out;
}

}  // namespace tk
