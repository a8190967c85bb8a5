#include "wire/utf8.h"

namespace wire::utf8 {
namespace {

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += !continuation(c);
    return n;
}

void truncate(std::string& text, std::size_t chars) {
    if (text.size() <= chars) return;
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!continuation(text[i]) && ++seen > chars) {
            text.resize(i);
            return;
        }
    }
}

void append(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

void popBack(std::string& text) {
    while (!text.empty() && continuation(text.back())) text.pop_back();
    if (!text.empty()) text.pop_back();
}

Decoded decode(std::string_view text) {
    Decoded out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out.badByte = i;
            return out;
        }
        if (i + extra >= text.size()) {
            out.badByte = i;
            return out;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            if (!continuation(text[i + k])) {
                out.badByte = i;
                return out;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            out.badByte = i;
            return out;
        }
        out.chars.push_back(cp);
        i += extra + 1;
    }
    return out;
}

}  // namespace wire::utf8
