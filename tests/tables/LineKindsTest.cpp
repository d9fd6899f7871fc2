// Equal lines numbered alike: against a plain map's numbering, with the real hash and
// with hashes that make every line meet every other in the table; and the hash's
// promise that lines one byte apart never meet.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "LineKinds.h"

namespace {

// Every line starts where every other does and is compared with each in turn.
struct OneHash {
    std::uint64_t operator()(std::string_view) const { return 0; }
};
// The same, starting at the table's last slot, so that the search wraps round.
struct LastSlotHash {
    std::uint64_t operator()(std::string_view) const { return ~std::uint64_t{0}; }
};
// One start for all, but hashes that differ: lines are told apart by hash alone.
struct OneStartHash {
    std::uint64_t operator()(std::string_view line) const {
        return static_cast<std::uint64_t>(std::hash<std::string_view>{}(line)) << 32 | 0xFFFFu;
    }
};

LineKinds numberedByMap(const std::vector<std::string_view>& first, const std::vector<std::string_view>& second) {
    std::map<std::string_view, int> seen;
    const auto number = [&](const std::vector<std::string_view>& lines) {
        std::vector<int> out;
        for (const std::string_view line : lines) out.push_back(seen.try_emplace(line, static_cast<int>(seen.size())).first->second);
        return out;
    };
    LineKinds out;
    out.first = number(first);
    out.second = number(second);
    out.count = static_cast<int>(seen.size());
    return out;
}

std::vector<std::string_view> views(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.end()};
}

template <class Hash>
void expectNumberedAlike(const char* name, const std::vector<std::string>& first, const std::vector<std::string>& second) {
    const LineKinds expected = numberedByMap(views(first), views(second));
    const LineKinds got = lineKinds<Hash>(views(first), views(second));
    EXPECT_EQ(got.first, expected.first) << name;
    EXPECT_EQ(got.second, expected.second) << name;
    EXPECT_EQ(got.count, expected.count) << name;
}

TEST(LineKinds, NumbersEqualLinesAlikeWhateverTheirHashes) {
    struct Case {
        const char* name;
        std::vector<std::string> first, second;
    };
    std::vector<Case> cases = {
        {"none", {}, {}},
        {"only the second", {}, {"a\n", "a\n", "b\n"}},
        {"empty lines and a last line without feed", {"\n", "a\n", "\n", "a"}, {"a", "\n", "", "a\n"}},
        {"line ends", {"a\r\n", "a\n", "a\r"}, {"a\n", "a\r\n", "a"}},
    };
    // Lines alike but for their last byte, or a byte in their middle, at every length the
    // hash reads differently.
    Case last{"last byte", {}, {}}, middle{"middle byte", {}, {}};
    for (const std::size_t length : {1, 2, 3, 4, 5, 8, 9, 12, 16, 17, 24, 32, 33, 40, 64, 65, 100}) {
        for (const char c : {'x', 'y', 'z'}) {
            last.first.push_back(std::string(length - 1, '=') + c);
            last.second.push_back(std::string(length - 1, '=') + static_cast<char>(c + 1));
            std::string line(length, '=');
            line[length / 2] = c;
            middle.first.push_back(line);
            middle.second.insert(middle.second.begin(), line);
        }
    }
    cases.push_back(last);
    cases.push_back(middle);
    // Enough lines, many of them repeated, to fill long runs of the table.
    Case many{"many", {}, {}};
    for (int i = 0; i < 300; ++i) {
        many.first.push_back(std::to_string(i % 70) + "\n");
        many.second.push_back(std::to_string(i % 110 + 40) + "\n");
    }
    cases.push_back(many);
    for (const Case& c : cases) {
        expectNumberedAlike<LineHash>(c.name, c.first, c.second);
        expectNumberedAlike<OneHash>(c.name, c.first, c.second);
        expectNumberedAlike<LastSlotHash>(c.name, c.first, c.second);
        expectNumberedAlike<OneStartHash>(c.name, c.first, c.second);
    }
}

TEST(LineKinds, LinesOneByteApartHashApart) {
    const LineHash hash;
    for (std::size_t length = 1; length <= 80; ++length) {
        const std::string line(length, 'a');
        for (std::size_t at = 0; at < length; ++at) {
            for (const char c : {'b', '\0', '\xff'}) {
                std::string other = line;
                other[at] = c;
                EXPECT_NE(hash(line), hash(other)) << "length " << length << ", byte " << at;
            }
        }
    }
}

}  // namespace
