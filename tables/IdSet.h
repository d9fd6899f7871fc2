#pragma once
// A set of monster numbers for many quick questions "is this number there?" (a spawn
// line's monster at loading, a monster's spots for the spawn page's icons): open
// addressing over a table at most half full, no allocation per number.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

class IdSet {
public:
    explicit IdSet(std::size_t expected) {
        std::size_t size = 16;
        while (size < 2 * expected) size *= 2;
        resize(size);
    }

    void insert(std::int32_t id) {
        std::size_t slot = home(id);
        while (slots_[slot] != kEmpty && slots_[slot] != id) slot = (slot + 1) & mask_;
        if (slots_[slot] == kEmpty) {
            slots_[slot] = id;
            // Kept at most half full, so a search always meets an empty slot soon.
            if (2 * ++size_ > slots_.size()) grow();
        }
    }

    bool contains(std::int32_t id) const {
        for (std::size_t slot = home(id);; slot = (slot + 1) & mask_) {
            if (slots_[slot] == id) return true;
            if (slots_[slot] == kEmpty) return false;
        }
    }

private:
    static constexpr std::int64_t kEmpty = std::numeric_limits<std::int64_t>::min();  // no 32-bit number

    // The top bits of a multiplicative hash, so numbers far apart by a power of two
    // land apart as well.
    std::size_t home(std::int32_t id) const {
        return static_cast<std::size_t>((static_cast<std::uint32_t>(id) * 0x9E3779B1u) >> shift_);
    }

    void resize(std::size_t size) {  // a power of two from 16 on
        slots_.assign(size, kEmpty);
        mask_ = size - 1;
        shift_ = 32;
        for (std::size_t s = size; s > 1; s /= 2) --shift_;
        size_ = 0;
    }

    void grow() {
        const std::vector<std::int64_t> old = slots_;
        resize(old.size() * 2);
        for (const std::int64_t id : old)
            if (id != kEmpty) insert(static_cast<std::int32_t>(id));
    }

    std::vector<std::int64_t> slots_;
    std::size_t mask_ = 0;
    int shift_ = 28;
    std::size_t size_ = 0;
};
