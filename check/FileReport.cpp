#include "FileReport.h"

#include "TableError.h"
#include "TextFile.h"

void FileReport::error(int line, const char* code, std::string message) const {
    problems_.push_back({file_, line, Severity::Error, code, std::move(message)});
}

void FileReport::warning(int line, const char* code, std::string message) const {
    problems_.push_back({file_, line, Severity::Warning, code, std::move(message)});
}

std::optional<std::string> FileReport::read(const std::filesystem::path& path) const {
    try {
        return readWholeFile(path, file_);
    } catch (const TableError& failure) {
        error(0, "unreadable-file", describe(failure, file_));
        return std::nullopt;
    }
}

LineSink FileReport::lineSink(std::vector<int>& lineOf) const {
    return {
        [this](const TableError& error) {
            error.line() ? this->error(error.line(), "load-stops", "the editor's load stops here: " + describe(error, file_))
                         : this->error(0, "load-stops", describe(error, file_));
        },
        [&lineOf](int line) { lineOf.push_back(line); },
    };
}

std::string describe(const TableError& error, const std::string& file) {
    std::string reason = error.reason();
    if (const std::string own = file + ": "; reason.starts_with(own)) reason.erase(0, own.size());
    return reason.empty() ? std::string(error.what()) : std::string(error.what()) + " (" + reason + ")";
}
