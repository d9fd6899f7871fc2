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
    // The 1-based byte column, in the line as the file holds it, of the field at fault;
    // 0 when there is none or it is not known.
    int column() const noexcept { return column_; }

    // Why it failed, in words the operator can act on ("the line has 30 columns; a
    // monster line has 28", "/srv/game/data/monster.txt: Permission denied"); may be empty.
    const std::string& reason() const noexcept { return reason_; }

    // "data/Quarnel.txt, line 17", "data/Quarnel.txt", or "" when nothing is known.
    std::string where() const;
    // The second line of the report: where, then the reason after ": " (either may be
    // missing); "" when neither is known.
    std::string detail() const;

    // The same error, now known to have arisen in this file and line (keeps the text,
    // the reason and the column).
    TableError at(std::string file, int line) const;
    // The same error, now known to concern the field at this byte column.
    TableError inColumn(int column) const;
    // The same error with this reason.
    TableError because(std::string reason) const;

private:
    std::string file_;
    int line_ = 0;
    int column_ = 0;
    std::string reason_;
};

// The system's own messages.
// "'%s' is not a valid integer value"; a text longer than kQuotedFieldLimit bytes is
// quoted by its beginning and "...".
std::string invalidIntegerMessage(std::string_view text);
inline constexpr std::size_t kQuotedFieldLimit = 100;
inline constexpr const char* kRangeCheckError = "Range check error";
std::string cannotOpenMessage(std::string_view path);       // "Cannot open file %s"
std::string cannotCreateMessage(std::string_view path);     // "Cannot create file %s"

// Our own message for a file that starts with a UTF-8 byte order mark, which a table file
// may not hold: it stands in front of the first column of line 1, so the editor reads
// that line no further. The mark is named visibly, as \uFEFF.
std::string byteOrderMarkMessage();
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What a table reader reports for a line it cannot take: the error placed at the file,
// the 1-based line and the byte column of the field at fault (0: none). On line 1 of
// bytes that start with a byte order mark, the mark is what is wrong, and the error
// says so in its own message.
TableError lineError(const TableError& error, std::string_view fileBytes, std::string file, int line,
                     int column);

// Our own message for a file beyond a table's fixed room:
// "<file> holds more than <capacity> <things>; only the first <capacity> are listed."
std::string tooManyMessage(std::string_view file, int capacity, std::string_view things);

// Our own message for a file cut short by a NUL byte at this 1-based line: "<file> holds
// a NUL byte at line <line>; only the lines before it are shown, and the editor will
// not save over this file"
std::string nulByteMessage(std::string_view file, int line);

// Why a table read only in part is not saved: "<file> was not read completely (reading
// stopped at line <line>); saving now would lose the rest of it. Correct the file and
// start the editor again."
std::string notReadCompletelyMessage(std::string_view file, int line);
