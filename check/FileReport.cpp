#include "FileReport.h"

#include <algorithm>

#include "StartUpRepair.h"
#include "TableError.h"
#include "TextFile.h"
#include "VisibleText.h"

namespace {

// The characters of a line's bytes before a byte column; a byte that is not UTF-8
// counts as one, as a reader that decodes the line shows it.
int characterColumn(std::string_view line, int byteColumn) {
    const auto before = static_cast<std::size_t>(byteColumn - 1);
    std::size_t characters = 0;
    std::size_t at = 0;
    for (; at < before && at < line.size(); ++characters) {
        const bool ascii = static_cast<unsigned char>(line[at]) < 0x80;
        at += ascii ? 1 : std::max<std::size_t>(1, utf8SequenceLength(line, at));
    }
    // The column just after the line's last field lies past its end.
    return static_cast<int>(characters + (before > at ? before - at : 0)) + 1;
}

}  // namespace

void FileReport::add(int line, int column, Severity severity, const char* code, std::string message) const {
    int characters = 0;
    std::uint64_t lineHash = 0;
    if (line > 0) {
        column = std::max(column, 1);
        const std::string_view bytes = rawLine(line);
        characters = characterColumn(bytes, column);
        lineHash = hashBytes(bytes);
    } else {
        column = 0;
    }
    problems_.push_back({file_, inFolder_, line, column, characters, severity, code, std::move(message), lineHash});
}

void FileReport::error(int line, int column, const char* code, std::string message) const {
    add(line, column, Severity::Error, code, std::move(message));
}

void FileReport::warning(int line, int column, const char* code, std::string message) const {
    add(line, column, Severity::Warning, code, std::move(message));
}

void FileReport::note(int line, int column, const char* code, std::string message) const {
    add(line, column, Severity::Note, code, std::move(message));
}

bool FileReport::read(const std::filesystem::path& path) {
    try {
        owned_ = readWholeFile(path, file_);
    } catch (const TableError& failure) {
        error(0, "unreadable-file", describe(failure, file_));
        return false;
    }
    look(owned_);
    return true;
}

void FileReport::take(std::string bytes) {
    owned_ = std::move(bytes);
    look(owned_);
}

void FileReport::look(std::string_view bytes) {
    bytes_ = bytes;
    lines_.clear();
}

std::string_view FileReport::rawLine(int line) const {
    // Where the lines start is found once, when a problem first needs it: a file
    // without problems costs no second pass.
    if (lines_.empty() && !bytes_.empty()) {
        LineCursor cursor(bytes_);
        for (std::string_view each; cursor.next(each);)
            lines_.push_back({static_cast<std::uint32_t>(each.data() - bytes_.data()),
                              static_cast<std::uint32_t>(each.size())});
    }
    if (line < 1 || static_cast<std::size_t>(line) > lines_.size()) return {};
    const LinePlace place = lines_[static_cast<std::size_t>(line - 1)];
    return bytes_.substr(place.start, place.size);
}

void FileReport::temporariesBeside(const std::filesystem::path& path) const {
    for (const LeftTemporary& left : leftTemporaries(path)) {
        // The number in its name names a process only while one of that number runs,
        // and only a save in progress can be that process.
        const std::string process =
            left.running && left.processRuns ? " (process " + std::to_string(left.process) + ")" : "";
        warning(0, "stale-temporary",
                left.running ? left.path.string() + " is the temporary file of a save in progress" + process
                             : left.path.string() +
                                   " is a temporary file left by a save that did not finish; the editor removes it "
                                   "when it next starts");
    }
}

LineSink FileReport::lineSink(std::vector<int>& lineOf) const {
    return {
        [this](const TableError& stop) {
            // A whole-file stop (the monster table lists no monster) has no "here".
            const std::string here = stop.line() > 0 ? "the editor's load stops here: " : "";
            error(stop.line(), stop.column(), "load-stops", here + describe(stop, file_));
        },
        [&lineOf](int line) { lineOf.push_back(line); },
    };
}

std::string describe(const TableError& error, const std::string& file) {
    std::string reason = error.reason();
    if (const std::string own = file + ": "; reason.starts_with(own)) reason.erase(0, own.size());
    return reason.empty() ? std::string(error.what()) : std::string(error.what()) + " (" + reason + ")";
}
