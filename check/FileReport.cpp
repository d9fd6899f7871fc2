#include "FileReport.h"

#include "StartUpRepair.h"
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

void FileReport::temporariesBeside(const std::filesystem::path& path) const {
    for (const LeftTemporary& left : leftTemporaries(path)) {
        const std::string process = " (process " + std::to_string(left.process) + ")";
        warning(0, "stale-temporary",
                left.running ? left.path.string() + " is the temporary file of a save in progress" + process
                             : left.path.string() + " is a temporary file left by a save that did not finish" + process +
                                   "; the editor removes it when it next starts");
    }
}

LineSink FileReport::lineSink(std::vector<int>& lineOf) const {
    return {
        [this](const TableError& stop) {
            // A whole-file stop (the monster table lists no monster) has no "here".
            const std::string here = stop.line() > 0 ? "the editor's load stops here: " : "";
            error(stop.line(), "load-stops", here + describe(stop, file_));
        },
        [&lineOf](int line) { lineOf.push_back(line); },
    };
}

std::string describe(const TableError& error, const std::string& file) {
    std::string reason = error.reason();
    if (const std::string own = file + ": "; reason.starts_with(own)) reason.erase(0, own.size());
    return reason.empty() ? std::string(error.what()) : std::string(error.what()) + " (" + reason + ")";
}
