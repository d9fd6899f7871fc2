#include "Numbers.h"
#include "TableError.h"
std::int32_t toInteger(std::string_view text, bool) { throw TableError(invalidIntegerMessage(text)); }
std::uint8_t toByte(std::int32_t v) { if (v < 0 || v > 255) throw TableError(kRangeCheckError); return static_cast<std::uint8_t>(v); }
