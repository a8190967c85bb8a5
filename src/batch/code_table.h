// Values by salesperson code in one open-addressed table: a code met again costs one probe in a
// small array of hashes and one visit to its entry, where a node-based map chases two pointers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

template <class T>
class CodeTable {
public:
    // The value of `code`, value-initialised when new. The reference lasts until the next call.
    T& operator[](std::string_view code) {
        const std::uint64_t h = std::hash<std::string_view>()(code);
        if ((entries_.size() + 1) * 2 > slots_.size()) grow();
        for (std::size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& s = slots_[i];
            if (s.entry == 0) {
                entries_.push_back({std::string(code), T{}});
                s = {static_cast<std::uint32_t>(h), static_cast<std::uint32_t>(entries_.size())};
                return entries_.back().value;
            }
            if (s.hash == static_cast<std::uint32_t>(h) && entries_[s.entry - 1].code == code) return entries_[s.entry - 1].value;
        }
    }

    struct Entry {
        std::string code;
        T value;
    };
    // In the order the codes were first met.
    const std::vector<Entry>& entries() const { return entries_; }

private:
    struct Slot {
        std::uint32_t hash = 0;   // its low bits, to pass over most others without visiting them
        std::uint32_t entry = 0;  // 1 + its index in entries_; 0: free
    };

    void grow() {
        std::vector<Slot> bigger(slots_.empty() ? 1024 : slots_.size() * 2);
        for (const Slot& s : slots_) {
            if (s.entry == 0) continue;
            const std::uint64_t h = std::hash<std::string_view>()(entries_[s.entry - 1].code);
            std::size_t i = h & (bigger.size() - 1);
            while (bigger[i].entry != 0) i = (i + 1) & (bigger.size() - 1);
            bigger[i] = s;
        }
        slots_ = std::move(bigger);
    }

    std::vector<Slot> slots_;  // a power of two long, at most half full
    std::vector<Entry> entries_;
};

}  // namespace batch
