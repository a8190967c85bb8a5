#include "toolkit/keys.h"

namespace tk {

namespace {
// The punctuation keys of a Brazilian ABNT2 / US keyboard that the toolkit needs.
constexpr std::uint16_t VK_SPACE = 32, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189, VK_OEM_PERIOD = 190;
}  // namespace

std::uint16_t virtualKeyOf(char32_t ch) {
    if (ch >= U'a' && ch <= U'z') return static_cast<std::uint16_t>(ch - U'a' + U'A');
    if (ch >= U'A' && ch <= U'Z') return static_cast<std::uint16_t>(ch);
    if (ch >= U'0' && ch <= U'9') return static_cast<std::uint16_t>(ch);
    switch (ch) {
        case U'\b': return VK_BACK;
        case U'\t': return VK_TAB;
        case U'\r':
        case U'\n': return VK_RETURN;
        case 27: return VK_ESCAPE;
        case U' ': return VK_SPACE;
        case U',': return VK_OEM_COMMA;
        case U'-': return VK_OEM_MINUS;
        case U'.': return VK_OEM_PERIOD;
        default: return 0;
    }
}

}  // namespace tk
