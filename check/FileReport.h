#pragma once
// Adds the problems of one checked file to the list of a check.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "LineSink.h"
#include "Problems.h"

class FileReport {
public:
    FileReport(std::string file, std::vector<Problem>& problems) : file_(std::move(file)), problems_(problems) {}

    const std::string& file() const { return file_; }
    void error(int line, const char* code, std::string message) const;
    void warning(int line, const char* code, std::string message) const;
    // The file's bytes as the editor reads them; nothing, and an error, when it cannot.
    std::optional<std::string> read(const std::filesystem::path& path) const;
    // A warning for each temporary file of a save beside the file (its numbered
    // backups are no concern of the check).
    void temporariesBeside(const std::filesystem::path& path) const;
    // For a table reader: reports each line where the editor's load would stop, and
    // appends the line of each item taken to lineOf.
    LineSink lineSink(std::vector<int>& lineOf) const;

private:
    std::string file_;
    std::vector<Problem>& problems_;
};

// An error as the editor reports it, in one text: its message, then the reason in
// parentheses. A reason that starts with the path of the file in question ("<path>:
// No such file or directory") drops it: the problem's place names the file already.
std::string describe(const TableError& error, const std::string& file);
