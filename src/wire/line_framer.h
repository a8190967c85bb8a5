// Splits a byte stream into "\n"-terminated messages of bounded size; does no I/O.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace wire {

inline constexpr std::size_t kMaxMessageBytes = 16u * 1024u * 1024u;

class LineFramer {
public:
    enum class Status { NeedMore, Line, TooLong };

    explicit LineFramer(std::size_t maxBytes = kMaxMessageBytes) : max_(maxBytes) {}
    void feed(std::string_view bytes);
    // Line: `line` holds the next message without its "\n" (a trailing "\r" is kept).
    // TooLong: a message passed the limit; the stream cannot be trusted further.
    Status next(std::string& line);

private:
    std::size_t max_;
    std::string buffer_;
    std::size_t start_ = 0;    // first byte not yet handed out
    std::size_t scanned_ = 0;  // bytes already searched for "\n"
    bool broken_ = false;
};

}  // namespace wire
