#pragma once
// Integer conversion of table fields, with the system's messages on failure.

#include <cstdint>
#include <string_view>

// An optional sign and decimal digits, the whole text, within signed 32 bits.
// With allowHex, "$1F" and "0x1F" (after an optional sign) are read as hexadecimal too.
// Anything else throws TableError("'text' is not a valid integer value").
std::int32_t toInteger(std::string_view text, bool allowHex);

// Throws TableError("Range check error") unless 0 <= value <= 255.
std::uint8_t toByte(std::int32_t value);

// A whole number pulled into its bounds, as every bounded number field pulls it:
// lower and upper 0 mean no bounds, where only the signed 32-bit range holds it; an
// upper bound below the lower counts as the lower.
constexpr std::int32_t clampToBounds(long long value, std::int32_t lower, std::int32_t upper) {
    long long low = lower;
    long long high = upper;
    if (lower == 0 && upper == 0) {
        low = -2147483648LL;
        high = 2147483647LL;
    }
    if (high < low) high = low;
    return static_cast<std::int32_t>(value < low ? low : value > high ? high : value);
}
