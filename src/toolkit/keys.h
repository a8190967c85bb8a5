// Virtual key codes and the control characters a key press carries.
#pragma once
#include <cstdint>

namespace tk {

using TShiftState = unsigned;  // bit set of the modifier keys
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4;

inline constexpr std::uint16_t VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_ESCAPE = 27,
                               VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
                               VK_INSERT = 45, VK_DELETE = 46;

// The virtual key code a typed character arrives with (letters as capitals, digits as
// themselves, ",", "-", "." as the keyboard's keys; 0 when there is none).
std::uint16_t virtualKeyOf(char32_t ch);

}  // namespace tk
