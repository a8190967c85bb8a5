#include "wire/line_framer.h"

namespace wire {

void emptyBuffer(std::string& buffer) {
    buffer.clear();
    if (buffer.capacity() > 64 * 1024) buffer.shrink_to_fit();
}

void LineFramer::feed(std::string_view bytes) {
    if (broken_) return;
    // Drop consumed bytes before growing, so a long stream of short lines stays cheap.
    if (start_ > 0 && start_ * 2 >= buffer_.size()) {
        buffer_.erase(0, start_);
        scanned_ -= start_;
        start_ = 0;
    }
    buffer_.append(bytes);
}

LineFramer::Status LineFramer::next(std::string& line) {
    if (broken_) return Status::TooLong;
    const std::size_t nl = buffer_.find('\n', scanned_);
    if (nl == std::string::npos) {
        scanned_ = buffer_.size();
        if (buffer_.size() - start_ > max_) {
            broken_ = true;
            emptyBuffer(buffer_);
            start_ = scanned_ = 0;
            return Status::TooLong;
        }
        return Status::NeedMore;
    }
    if (nl - start_ > max_) {
        broken_ = true;
        emptyBuffer(buffer_);
        start_ = scanned_ = 0;
        return Status::TooLong;
    }
    line.assign(buffer_, start_, nl - start_);
    start_ = nl + 1;
    scanned_ = start_;
    if (start_ == buffer_.size()) {
        emptyBuffer(buffer_);
        start_ = scanned_ = 0;
    }
    return Status::Line;
}

void LineFramer::clear() {
    emptyBuffer(buffer_);
    start_ = scanned_ = 0;
}

}  // namespace wire
