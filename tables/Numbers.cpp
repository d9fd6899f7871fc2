#include "Numbers.h"

#include <limits>

#include "TableError.h"

namespace {

int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t toInteger(std::string_view text, bool allowHex) {
    const auto invalid = [&] { return TableError(invalidIntegerMessage(text)); };

    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    bool hex = false;
    if (allowHex) {
        if (digits.starts_with('$')) {
            hex = true;
            digits.remove_prefix(1);
        } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
            hex = true;
            digits.remove_prefix(2);
        }
    }
    if (digits.empty()) throw invalid();

    // The magnitude may reach 2^31 for the most negative value; stop as soon as it
    // cannot fit, so a line of millions of digits costs no more than its first few.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (const char c : digits) {
        const int d = digitValue(c, hex);
        if (d < 0) throw invalid();
        magnitude = magnitude * base + static_cast<unsigned>(d);
        if (magnitude > limit) throw invalid();
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::uint8_t toByte(std::int32_t value) {
    if (value < 0 || value > 255) throw TableError(kRangeCheckError);
    return static_cast<std::uint8_t>(value);
}
