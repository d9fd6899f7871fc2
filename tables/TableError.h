#pragma once
// Errors raised while reading or writing the table files. The text is the
// message the operator sees; file and line say where it arose when known.

#include <stdexcept>
#include <string>
#include <string_view>

class TableError : public std::runtime_error {
public:
    explicit TableError(const std::string& message, std::string file = {}, int line = 0);

    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }  // 1-based; 0 when not known

    // "data/Quarnel.txt, line 17", "data/Quarnel.txt", or "" when nothing is known.
    std::string where() const;

    // The same error, now known to have arisen in this file and line (keeps the text).
    TableError at(std::string file, int line) const;

private:
    std::string file_;
    int line_ = 0;
};

// The system's own messages.
// "'%s' is not a valid integer value"; a text longer than kQuotedFieldLimit bytes is
// quoted by its beginning and "...".
std::string invalidIntegerMessage(std::string_view text);
inline constexpr std::size_t kQuotedFieldLimit = 100;
inline constexpr const char* kRangeCheckError = "Range check error";
std::string cannotOpenMessage(std::string_view path);       // "Cannot open file %s"
std::string cannotCreateMessage(std::string_view path);     // "Cannot create file %s"

// Our own message for a file beyond a table's fixed room:
// "<file> holds more than <capacity> <things>; only the first <capacity> are listed."
std::string tooManyMessage(std::string_view file, int capacity, std::string_view things);
