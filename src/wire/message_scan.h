// One pass over a received line before it is parsed: what a JSON parser would let through (a NUL
// byte ends its input early), what would cost it dearly (deep nesting, a huge batch) and what it
// cannot give back (an id's exact text: 2^64 would return as 1.8446744073709552e+19) or cannot
// parse at all (a number too large for a double, such as 1e400).
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace wire {

struct MessageScan {
    enum class Verdict { Ok, NulByte, TooDeep };
    Verdict verdict = Verdict::Ok;
    bool batch = false;         // the line is a JSON array
    std::size_t batchSize = 0;  // its elements
    // About as many JSON values as the line holds (commas and opening brackets): what parsing it
    // whole would cost grows with this.
    std::size_t values = 0;
    // The text of the "id" member's value of the message (index 0), or of each of the first
    // elements of a batch, exactly as sent; empty where none was found. Trustworthy only when the
    // line parses, and only for a string or number id.
    std::vector<std::string_view> ids;
    // Numbers outside strings that no double can hold: where each is in the line, and the
    // message holding it (its batch element; 0 for a single message).
    struct HugeNumber {
        std::size_t offset = 0;
        std::size_t length = 0;
        std::size_t element = 0;
    };
    std::vector<HugeNumber> hugeNumbers;
};

// Views in the result point into `line`. Ids are kept for at most `maxIds` batch elements.
MessageScan scanMessage(std::string_view line, std::size_t maxDepth, std::size_t maxIds);

}  // namespace wire
