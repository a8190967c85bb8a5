// Splits a byte stream into "\n"-terminated messages of bounded size; does no I/O.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace wire {

inline constexpr std::size_t kMaxMessageBytes = 16u * 1024u * 1024u;

// Empties a buffer of messages and keeps at most 64 KiB of its room: enough for ordinary
// messages, while one long message does not pin its size to a connection for good.
void emptyBuffer(std::string& buffer);

class LineFramer {
public:
    enum class Status { NeedMore, Line, TooLong };

    explicit LineFramer(std::size_t maxBytes = kMaxMessageBytes) : max_(maxBytes) {}
    void feed(std::string_view bytes);
    // Line: `line` holds the next message without its "\n" (a trailing "\r" is kept).
    // TooLong: a message passed the limit; the stream cannot be trusted further.
    Status next(std::string& line);
    // Bytes received and not yet handed out: a line still incomplete, and complete ones waiting.
    std::size_t buffered() const { return buffer_.size() - start_; }
    // Forgets everything received (the connection gives up on its input).
    void clear();

private:
    std::size_t max_;
    std::string buffer_;
    std::size_t start_ = 0;    // first byte not yet handed out
    std::size_t scanned_ = 0;  // bytes already searched for "\n"
    bool broken_ = false;
};

}  // namespace wire
