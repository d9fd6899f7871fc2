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
    const char* const end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    text.append(digits, static_cast<std::size_t>(end - digits));  // by length: the iterator form replaces
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

// A file's review begun: the bytes on disk, and the bytes the table's save would write,
// or why it would write nothing.
template <typename Table>
FileReview beginReview(const char* file, DiskFile& disk, const Table& table) {
    FileReview review;
    review.file = file;
    review.diskFailure = std::move(disk.failure);
    review.disk = std::move(disk.bytes);
    review.refusal = table.saveRefusal();
    if (review.refusal.empty()) review.saved = table.fileBytes();
    return review;
}

// The lines `diff` marks, and of those the save writes, the ones that carry no change of
// the operator (operatorLine: one flag a line of the save): the lines changed only in form.
inline FileReview finishReview(FileReview& review, const std::vector<bool>& operatorLine) {
    review.lines = changedLines(diffLines(review.disk), diffLines(review.saved));
    review.formLines = 0;
    for (std::size_t i = 0; i < review.lines.inserted.size(); ++i)
        review.formLines += review.lines.inserted[i] && !operatorLine[i];
    return std::move(review);
}
