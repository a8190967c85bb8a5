// Text built at its end without a check on every character: the room a line can take at most
// is asked once, filled through a pointer, and the pointer handed back.
#pragma once
#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace batch {

class TextBuffer {
public:
    // At least `n` characters of room at the end, to be written from the pointer returned and
    // closed with end(); anything appended before that is lost.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return data_.get() + size_;
    }
    // The text now ends at `at`, inside the room last asked.
    void end(char* at) { size_ = static_cast<std::size_t>(at - data_.get()); }

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
};

}  // namespace batch
