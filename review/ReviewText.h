#pragma once
// The pieces of the review's texts that both files share.

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "SaveReview.h"

inline constexpr const char* kArrow = "\xE2\x86\x92";    // →
inline constexpr const char* kEnDash = "\xE2\x80\x93";   // –
inline constexpr const char* kOpenQuote = "\xE2\x80\x9C";   // “
inline constexpr const char* kCloseQuote = "\xE2\x80\x9D";  // ”

inline void appendNumber(std::string& text, long long number) {
    char digits[24];
    text.append(digits, std::to_chars(std::begin(digits), std::end(digits), number).ptr);
}

// Bytes of the file as shownBytes shows them: most are plain ASCII, as they are.
inline void appendShown(std::string& text, std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            text += shownBytes(bytes);
            return;
        }
    text += bytes;
}

// “text”, the bytes shown as names are.
inline std::string quotedText(std::string_view bytes) { return kOpenQuote + shownBytes(bytes) + kCloseQuote; }

// The lines a save writes that `diff` shows as changed, less those that carry a change of
// the operator: the lines changed only in form. One flag of each a line of the save.
inline int formLines(const std::vector<bool>& inserted, const std::vector<bool>& operatorLine) {
    int count = 0;
    for (std::size_t i = 0; i < inserted.size(); ++i) count += inserted[i] && !operatorLine[i];
    return count;
}
