// Text built at its end without a check on every character: the room a line can take at most
// is asked once, filled through a pointer, and the pointer handed back.
#pragma once
#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace batch {

class TextBuffer {
public:
    // At least `n` characters of room at the end, to be written from the pointer returned and
    // closed with end(); anything appended before that is lost.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        limit_ = size_ + n;
        return data_.get() + size_;
    }
    // The text now ends at `at`, inside the room last asked: past it, a writer asked too little,
    // and that is a fault to stop at rather than memory to go on overwriting.
    void end(char* at) {
        const auto size = static_cast<std::size_t>(at - data_.get());
        if (size > limit_) throw std::logic_error("TextBuffer: written past the room asked");
        size_ = size;
    }

    void append(std::string_view text) { end(put(room(text.size()), text)); }
    void clear() { size_ = 0; }
    std::string_view view() const { return {data_.get(), size_}; }

    static char* put(char* at, std::string_view text) {
        if (!text.empty()) std::memcpy(at, text.data(), text.size());
        return at + text.size();
    }

private:
    void grow(std::size_t n) {
        const std::size_t capacity = std::max(capacity_ * 2, size_ + n);
        auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ != 0) std::memcpy(bigger.get(), data_.get(), size_);
        data_ = std::move(bigger);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0, capacity_ = 0;
    std::size_t limit_ = 0;  // where the room last asked ends
};

}  // namespace batch
