#include "VisibleText.h"

#include <algorithm>
#include <array>

namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr char kUpperHex[] = "0123456789ABCDEF";

bool continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// A valid sequence of two to four bytes.
char32_t decode(std::string_view sequence) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    char32_t c = byte(0) & (0xFFu >> (sequence.size() + 1));
    for (std::size_t i = 1; i < sequence.size(); ++i) c = (c << 6) | (byte(i) & 0x3Fu);
    return c;
}

// Characters that show nothing, or move the text around them, where they stand: the
// C1 controls, the soft hyphen, zero-width spaces and joiners, direction marks,
// embeddings and isolates, line and paragraph separators, invisible operators, the
// byte order mark and the interlinear annotation marks.
bool invisible(char32_t c) {
    struct Range {
        char32_t first, last;
    };
    static constexpr std::array<Range, 10> kInvisible = {{{0x80, 0x9F},
                                                          {0xAD, 0xAD},
                                                          {0x61C, 0x61C},
                                                          {0x180E, 0x180E},
                                                          {0x200B, 0x200F},
                                                          {0x2028, 0x202E},
                                                          {0x2060, 0x2064},
                                                          {0x2066, 0x206F},
                                                          {0xFEFF, 0xFEFF},
                                                          {0xFFF9, 0xFFFB}}};
    return std::any_of(kInvisible.begin(), kInvisible.end(),
                       [c](const Range& r) { return c >= r.first && c <= r.last; });
}

void appendByte(std::string& text, unsigned char byte) {
    if (byte == '\t') {
        text += "\\t";
        return;
    }
    text += "\\x";
    text.push_back(kHex[byte >> 4]);
    text.push_back(kHex[byte & 0xF]);
}

// Every invisible character is below U+10000: four digits.
void appendCharacter(std::string& text, char32_t c) {
    text += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) text.push_back(kUpperHex[(c >> shift) & 0xF]);
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!continuation(byte(i))) return 0;
    return length;
}

std::string visibleText(std::string_view bytes) {
    std::string text;
    appendVisibleText(text, bytes);
    return text;
}

void appendVisibleText(std::string& text, std::string_view bytes) {
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7F;
    };
    while (!bytes.empty()) {
        const auto run = static_cast<std::size_t>(std::find_if_not(bytes.begin(), bytes.end(), plain) - bytes.begin());
        text.append(bytes.substr(0, run));
        bytes.remove_prefix(run);
        if (bytes.empty()) return;
        const auto byte = static_cast<unsigned char>(bytes.front());
        const std::size_t length = byte >= 0x80 ? utf8SequenceLength(bytes, 0) : 0;
        if (!length) {
            appendByte(text, byte);
            bytes.remove_prefix(1);
            continue;
        }
        const std::string_view sequence = bytes.substr(0, length);
        if (const char32_t c = decode(sequence); invisible(c))
            appendCharacter(text, c);
        else
            text.append(sequence);
        bytes.remove_prefix(length);
    }
}
