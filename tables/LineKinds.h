#pragma once
// Equal lines numbered alike, for a line matcher that then compares numbers, not text.
// A diff of two whole tables numbers tens of thousands of lines per file, mostly
// distinct ones: the table here takes no allocation per line and reads each line once
// to hash it, and again only when its hash meets an equal one.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

// A hash of a line, read eight bytes at a time. Each step maps the state one to one,
// and for a given state the word one to one, so two lines of one length that differ
// in one word (or byte) always hash apart; the length goes in first.
struct LineHash {
    std::uint64_t operator()(std::string_view line) const {
        const auto word = [](const char* at) {
            std::uint64_t w;
            std::memcpy(&w, at, sizeof w);
            return w;
        };
        const auto half = [](const char* at) {
            std::uint32_t w;
            std::memcpy(&w, at, sizeof w);
            return std::uint64_t{w};
        };
        const auto step = [](std::uint64_t h, std::uint64_t w) { return (h ^ w) * 0x9E3779B97F4A7C15u; };
        // The multiplications carry each bit only upwards: the upper half is folded down
        // once every few words.
        const auto fold = [](std::uint64_t h) { return h ^ (h >> 32); };
        const char* at = line.data();
        std::size_t left = line.size();
        std::uint64_t h = fold(step(0, left));
        for (; left > 32; left -= 32, at += 32)
            h = fold(step(step(step(step(h, word(at)), word(at + 8)), word(at + 16)), word(at + 24)));
        if (left > 16) {
            h = fold(step(step(h, word(at)), word(at + 8)));
            left -= 16;
            at += 16;
        }
        if (left > 8) {
            h = step(h, word(at));
            left -= 8;
            at += 8;
        }
        // The last one to eight bytes as one word, from loads that may overlap: with the
        // length known, the word still tells every such tail from every other.
        if (left >= 4) {
            h = step(h, half(at) | half(at + left - 4) << 32);
        } else if (left > 0) {
            const auto byte = [at](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(at[i])}; };
            h = step(h, byte(0) | byte(left / 2) << 8 | byte(left - 1) << 16);
        }
        return fold(step(fold(h), 0));
    }
};

// Each line of two lists numbered by kind: equal lines, equal numbers, counted from 0
// in the order first met (the first list before the second).
struct LineKinds {
    std::vector<int> first, second;
    int count = 0;
};

template <class Hash = LineHash>
LineKinds lineKinds(std::span<const std::string_view> first, std::span<const std::string_view> second,
                    Hash hash = {}) {
    // Open addressing, at most half full, a slot holding its kind's number plus one (0
    // for none): four bytes a slot, as the table is cleared anew for every diff. Lines
    // are compared only when their whole hashes agree.
    struct Kind {
        const char* data;  // the first line of its kind
        std::size_t size;
        std::uint64_t hash;
    };
    const std::size_t lines = first.size() + second.size();
    std::vector<std::uint32_t> slots(std::bit_ceil(std::max<std::size_t>(2 * lines, 16)));
    const std::size_t mask = slots.size() - 1;
    const auto kinds = std::make_unique_for_overwrite<Kind[]>(lines);
    std::uint32_t count = 0;

    const auto number = [&](std::span<const std::string_view> list) {
        std::vector<int> numbers(list.size());
        std::uint32_t* const table = slots.data();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string_view line = list[i];
            const std::uint64_t h = hash(line);
            std::size_t at = h & mask;
            for (;; at = (at + 1) & mask) {
                const std::uint32_t slot = table[at];
                if (slot == 0) {
                    kinds[count] = {line.data(), line.size(), h};
                    table[at] = ++count;
                    numbers[i] = static_cast<int>(count - 1);
                    break;
                }
                const Kind& kind = kinds[slot - 1];
                if (kind.hash == h && std::string_view(kind.data, kind.size) == line) {
                    numbers[i] = static_cast<int>(slot - 1);
                    break;
                }
            }
        }
        return numbers;
    };
    LineKinds out;
    out.first = number(first);
    out.second = number(second);
    out.count = static_cast<int>(count);
    return out;
}
