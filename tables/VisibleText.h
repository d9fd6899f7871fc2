#pragma once
// Bytes of a table file quoted in a message. A tab or a control character would act
// rather than show, a byte order mark or a zero-width character would not show at all,
// and a byte that is not UTF-8 would show as a stand-in or spoil the whole text. So
// such bytes are written as \t, \xNN (the byte, two lower-case hex digits) or \uXXXX
// (the character, upper-case hex), and the text is valid UTF-8 in which every byte of
// the file can be seen. A backslash is written as it is.

#include <cstddef>
#include <string>
#include <string_view>

std::string visibleText(std::string_view bytes);
void appendVisibleText(std::string& text, std::string_view bytes);

// The length of the valid UTF-8 sequence at bytes[at]: 1 for a byte below 0x80, 0 when
// the bytes there are not UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at);
