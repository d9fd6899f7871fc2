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
