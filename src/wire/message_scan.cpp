#include "wire/message_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace wire {

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool numberByte(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'; }

// True for a number's text that overflows a double (whatever the parser would make of the rest).
bool overflows(std::string_view number) {
    const std::string text(number);
    return std::isinf(std::strtod(text.c_str(), nullptr));
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

MessageScan scanMessage(std::string_view line, std::size_t maxDepth, std::size_t maxIds) {
    MessageScan scan;
    std::vector<char> open;  // the containers around the current byte, '{' or '['
    // Message objects sit at depth 1 (a single request) or 2 (inside the top-level array).
    std::size_t messageDepth = 0;
    bool inString = false, escaped = false, readingKey = false;
    bool expectKey = false;   // at message level: the next string is a member name
    bool keyIsId = false;     // the member being read is "id"
    bool capturing = false;   // reading the value of "id", which began at idStart
    std::size_t stringStart = 0, idStart = 0;
    std::size_t element = 0;  // the batch element being read
    bool elementSeen = false;

    auto atMessageObject = [&] { return open.size() == messageDepth && messageDepth > 0 && open.back() == '{'; };
    auto finishId = [&](std::size_t end) {
        capturing = false;
        const std::size_t index = scan.batch ? element : 0;
        if (index >= maxIds) return;
        if (scan.ids.size() <= index) scan.ids.resize(index + 1);
        scan.ids[index] = trimmed(line.substr(idStart, end - idStart));  // a repeated member: the last wins, as in the parser
    };

    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\0') {
            scan.verdict = MessageScan::Verdict::NulByte;
            return scan;
        }
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') {
                inString = false;
                if (readingKey) {
                    keyIsId = line.substr(stringStart, i + 1 - stringStart) == "\"id\"";
                    readingKey = false;
                    expectKey = false;
                }
            }
            continue;
        }
        if (blank(c)) continue;
        if (scan.batch && open.size() == 1 && c != ',' && c != ']') elementSeen = true;
        if (c == ',' || c == '[' || c == '{') ++scan.values;
        switch (c) {
            case '"':
                inString = true;
                stringStart = i;
                readingKey = expectKey && atMessageObject();
                break;
            case '{':
            case '[':
                if (open.empty()) {
                    scan.batch = c == '[';
                    messageDepth = scan.batch ? 2 : 1;
                }
                if (open.size() >= maxDepth) {
                    scan.verdict = MessageScan::Verdict::TooDeep;
                    return scan;
                }
                open.push_back(c);
                if (atMessageObject()) {
                    expectKey = true;
                    keyIsId = capturing = false;
                }
                break;
            case ':':
                if (atMessageObject() && keyIsId) {
                    capturing = true;
                    idStart = i + 1;
                }
                break;
            case ',':
                if (atMessageObject()) {
                    if (capturing) finishId(i);
                    expectKey = true;
                    keyIsId = false;
                } else if (scan.batch && open.size() == 1) {
                    ++element;
                }
                break;
            case '}':
            case ']':
                if (atMessageObject() && capturing) finishId(i);
                if (!open.empty()) open.pop_back();
                break;
            default:
                if (c == '-' || (c >= '0' && c <= '9')) {
                    std::size_t end = i;
                    while (end < line.size() && numberByte(line[end])) ++end;
                    if (overflows(line.substr(i, end - i)))
                        scan.hugeNumbers.push_back({i, end - i, scan.batch ? element : 0});
                    i = end - 1;
                }
                break;
        }
    }
    if (scan.batch) scan.batchSize = elementSeen ? element + 1 : 0;
    ++scan.values;
    const std::size_t want = scan.batch ? std::min(scan.batchSize, maxIds) : 1;
    if (scan.ids.size() < want) scan.ids.resize(want);
    return scan;
}

}  // namespace wire
