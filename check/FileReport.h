#pragma once
// Adds the problems of one checked file to the list of a check, each placed at its
// line and at the column of the field at fault in the line as the file holds it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "LineSink.h"
#include "Problems.h"

class FileReport {
public:
    // file: the path as given; inFolder: the same file's path below the folder checked.
    FileReport(std::string file, std::string inFolder, std::vector<Problem>& problems)
        : file_(std::move(file)), inFolder_(std::move(inFolder)), problems_(problems) {}
    // The bytes checked may be its own: a copy would look at the original's.
    FileReport(const FileReport&) = delete;
    FileReport& operator=(const FileReport&) = delete;

    const std::string& file() const { return file_; }
    // line 0: the file as a whole. column: the 1-based byte column of the field at
    // fault in the line as read (rawLine), 0 when there is none.
    void error(int line, int column, const char* code, std::string message) const;
    void warning(int line, int column, const char* code, std::string message) const;
    void note(int line, int column, const char* code, std::string message) const;
    void error(int line, const char* code, std::string message) const { error(line, 0, code, std::move(message)); }
    void warning(int line, const char* code, std::string message) const {
        warning(line, 0, code, std::move(message));
    }

    // Reads the file's bytes as the editor does and keeps them; false, and an error,
    // when it cannot.
    bool read(const std::filesystem::path& path);
    // Checks these bytes instead, as if the file held them.
    void take(std::string bytes);
    // The same without a copy: the caller keeps the bytes while the report is in use.
    void look(std::string_view bytes);
    std::string_view bytes() const { return bytes_; }
    // A 1-based line of the bytes read, without its line end; "" past the last.
    std::string_view rawLine(int line) const;
    // A warning for each temporary file of a save beside the file (its numbered
    // backups are no concern of the check).
    void temporariesBeside(const std::filesystem::path& path) const;

    // For a table reader: reports each line where the editor's load would stop, and
    // appends the line of each item taken to lineOf.
    LineSink lineSink(std::vector<int>& lineOf) const;

private:
    void add(int line, int column, Severity severity, const char* code, std::string message) const;

    std::string file_;
    std::string inFolder_;
    std::vector<Problem>& problems_;
    std::string owned_;        // the bytes read or taken
    std::string_view bytes_;  // the bytes checked
    // Where each line of bytes_ lies, as LineCursor parts them (a NUL byte ends the
    // text); eight bytes a line, as files hold many.
    struct LinePlace {
        std::uint32_t start;
        std::uint32_t size;
    };
    mutable std::vector<LinePlace> lines_;
};

// An error as the editor reports it, in one text: its message, then the reason in
// parentheses. A reason that starts with the path of the file in question ("<path>:
// No such file or directory") drops it: the problem's place names the file already.
std::string describe(const TableError& error, const std::string& file);
