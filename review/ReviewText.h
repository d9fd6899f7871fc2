#pragma once
// The pieces of the review's texts that both files share.

#include <string>
#include <string_view>
#include <vector>

#include "SaveReview.h"

inline constexpr const char* kArrow = "\xE2\x86\x92";    // →
inline constexpr const char* kEnDash = "\xE2\x80\x93";   // –
inline constexpr const char* kOpenQuote = "\xE2\x80\x9C";   // “
inline constexpr const char* kCloseQuote = "\xE2\x80\x9D";  // ”

// “text”, the bytes shown as names are.
inline std::string quotedText(std::string_view bytes) { return kOpenQuote + shownBytes(bytes) + kCloseQuote; }

// The lines a save writes that `diff` shows as changed, less those that carry a change of
// the operator: the lines changed only in form.
inline int formLines(const std::vector<bool>& inserted, const std::vector<bool>& operatorLine) {
    int count = 0;
    for (std::size_t i = 0; i < inserted.size(); ++i) count += inserted[i] && !(i < operatorLine.size() && operatorLine[i]);
    return count;
}
