// UTF-8 text as the user sees it: characters, not bytes.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wire::utf8 {

// Characters in `text` (continuation bytes do not count).
std::size_t length(std::string_view text);
// Cuts `text` to its first `chars` characters.
void truncate(std::string& text, std::size_t chars);
void append(std::string& out, char32_t ch);
// Removes the last character.
void popBack(std::string& text);

struct Decoded {
    std::u32string chars;
    std::optional<std::size_t> badByte;  // offset of the first malformed sequence
};
// The code points of `text`, up to the first malformed sequence (overlong forms, surrogates and
// values past U+10FFFF included).
Decoded decode(std::string_view text);

}  // namespace wire::utf8
