#include "TableError.h"

TableError::TableError(const std::string& message, std::string file, int line)
    : std::runtime_error(message), file_(std::move(file)), line_(line) {}

std::string TableError::where() const {
    if (file_.empty()) return {};
    if (line_ <= 0) return file_;
    return file_ + ", line " + std::to_string(line_);
}

std::string TableError::detail() const {
    const std::string place = where();
    if (reason_.empty()) return place;
    return place.empty() ? reason_ : place + ": " + reason_;
}

TableError TableError::at(std::string file, int line) const {
    TableError moved(what(), std::move(file), line);
    moved.reason_ = reason_;
    moved.column_ = column_;
    return moved;
}

TableError TableError::inColumn(int column) const {
    TableError placed(*this);
    placed.column_ = column;
    return placed;
}

TableError TableError::because(std::string reason) const {
    TableError given(*this);
    given.reason_ = std::move(reason);
    return given;
}

std::string invalidIntegerMessage(std::string_view text) {
    // A message box lays out its text in time that grows with its length: a field of
    // millions of bytes would freeze the editor. No real field comes near this limit.
    if (text.size() > kQuotedFieldLimit) {
        std::size_t cut = kQuotedFieldLimit;
        // Back off to the start of a UTF-8 sequence so a name still shows as UTF-8.
        for (int i = 0; i < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++i) --cut;
        return "'" + std::string(text.substr(0, cut)) + "...' is not a valid integer value";
    }
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string cannotOpenMessage(std::string_view path) {
    return "Cannot open file " + std::string(path);
}

std::string cannotCreateMessage(std::string_view path) {
    return "Cannot create file " + std::string(path);
}

std::string byteOrderMarkMessage() {
    return "The file starts with a UTF-8 byte order mark (\\uFEFF), which a table file may not hold: "
           "save it without one";
}

TableError lineError(const TableError& error, std::string_view fileBytes, std::string file, int line,
                     int column) {
    if (line == 1 && fileBytes.starts_with(kByteOrderMark))
        return TableError(byteOrderMarkMessage(), std::move(file), line).inColumn(1);
    return error.at(std::move(file), line).inColumn(column);
}

std::string tooManyMessage(std::string_view file, int capacity, std::string_view things) {
    const std::string n = std::to_string(capacity);
    return std::string(file) + " holds more than " + n + " " + std::string(things) +
           "; only the first " + n + " are listed.";
}

std::string nulByteMessage(std::string_view file, int line) {
    return std::string(file) + " holds a NUL byte at line " + std::to_string(line) +
           "; only the lines before it are shown, and the editor will not save over this file";
}

std::string notReadCompletelyMessage(std::string_view file, int line) {
    return std::string(file) + " was not read completely (reading stopped at line " +
           std::to_string(line) +
           "); saving now would lose the rest of it. Correct the file and start the editor again.";
}
