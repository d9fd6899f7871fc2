#include "StartUpRepair.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

#include "Backups.h"
#include "RollbackCopy.h"
#include "SaveSteps.h"

namespace {

using platform::Path;

// The process in ".<base>.tmp-<process>-<n>-<attempt>", or 0 when the name is not
// such; an empty base stands for any.
unsigned long temporaryOwner(std::string_view name, std::string_view base) {
    std::size_t at = 0;
    if (!base.empty()) {
        const std::string prefix = "." + std::string(base) + ".tmp-";
        if (!name.starts_with(prefix)) return 0;
        at = prefix.size();
    } else {
        const auto tmp = name.rfind(".tmp-");
        if (!name.starts_with('.') || tmp == std::string_view::npos || tmp == 0) return 0;
        at = tmp + 5;
    }
    const char* p = name.data() + at;
    const char* end = name.data() + name.size();
    unsigned long numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        const auto [stop, problem] = std::from_chars(p, end, numbers[i]);
        if (problem != std::errc()) return 0;
        if (i == 2 ? stop != end : stop == end || *stop != '-') return 0;
        p = stop + 1;
    }
    return numbers[0];
}

bool runningElsewhere(unsigned long process) {
    return process != platform::currentProcess() && platform::processRunning(process);
}

std::vector<LeftTemporary> temporariesIn(const Path& folder, std::string_view base) {
    std::vector<LeftTemporary> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (const unsigned long owner = temporaryOwner(it->path().filename().string(), base))
            found.push_back({it->path(), owner, runningElsewhere(owner)});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    return found;
}

std::optional<std::string> readAll(const Path& path, std::uint64_t limit) {
    std::string bytes;
    if (!platform::readWhole(path, bytes, limit)) return std::nullopt;
    return bytes;
}

// One rollback copy of a process that no longer runs; a line for the operator when
// something was put back or is amiss.
std::optional<std::string> settle(const Path& copy) {
    const std::string copyShown = platform::shownPath(copy);
    // A copy is its header and bytes that were within a table file's bound.
    const auto bytes = readAll(copy, kMaxTableFileBytes + 65536);
    if (!bytes) return "The rollback copy " + copyShown + " cannot be read (" + platform::lastReason() + "); it was not used.";
    const auto record = parseRollback(*bytes);
    if (!record) return "The rollback copy " + copyShown + " is damaged; it was not used.";
    const Path& file = record->file;
    const std::string shown = platform::shownPath(file);
    const std::string keptIn = "; its content from before that save is kept in " + copyShown + ".";
    if (platform::missing(file))
        return shown + " is gone since a save into it did not finish" + keptIn;
    const auto now = readAll(file, kMaxTableFileBytes);
    if (!now) return shown + " cannot be read (" + platform::lastReason() + ") after a save into it did not finish" + keptIn;
    if (*now == record->oldBytes || (now->size() == record->newSize && hashBytes(*now) == record->newHash)) {
        platform::removeFile(copy);
        return std::nullopt;
    }
    // Neither: the save died part way. What the file holds goes aside first, should it
    // be someone's edit made since.
    const std::string name = file.filename().string();
    auto aside = writeBackup(file.parent_path(), name, *now, file, {});
    if (!aside) aside = writeBackup(rollbackFolder(), name, *now, file, {});
    const platform::File update = platform::openForUpdate(file);
    if (!update.valid() || !savesteps::putBack(update, record->oldBytes, record->mode ? record->mode : update.modeNow(), {}))
        return shown + " was left part-written by a save that did not finish, and its old content could not be put back (" +
               platform::lastReason() + ")" + keptIn;
    platform::removeFile(copy);
    return shown + " was left part-written by a save that did not finish; its content from before that save is back" +
           (aside ? " (what it held is kept as " + platform::shownPath(*aside) + ")." : ".");
}

}  // namespace

std::vector<LeftTemporary> leftTemporaries(const std::filesystem::path& tableFile) {
    const Path target = platform::finalTarget(tableFile).value_or(tableFile);
    const Path folder = target.has_parent_path() ? target.parent_path() : Path(".");
    return temporariesIn(folder, target.filename().string());
}

std::vector<std::string> repairInterruptedSaves(const std::vector<std::filesystem::path>& tableFiles) {
    std::vector<std::string> notices;
    const Path rollbacks = rollbackFolder();
    if (!rollbacks.empty()) {
        for (const auto& unfinished : temporariesIn(rollbacks, {}))
            if (!unfinished.running) platform::removeFile(unfinished.path);
        std::vector<Path> copies;
        std::error_code error;
        for (std::filesystem::directory_iterator it(rollbacks, error), end; !error && it != end; it.increment(error)) {
            const unsigned long owner = rollbackOwner(it->path().filename().string());
            if (owner && !runningElsewhere(owner)) copies.push_back(it->path());
        }
        std::sort(copies.begin(), copies.end());
        for (const auto& copy : copies)
            if (auto notice = settle(copy)) notices.push_back(std::move(*notice));
    }

    std::vector<std::string> removed;
    for (const auto& file : tableFiles)
        for (const auto& left : leftTemporaries(file))
            if (!left.running && platform::removeFile(left.path)) removed.push_back(platform::shownPath(left.path));
    if (!removed.empty()) {
        std::string line = removed.size() == 1 ? "Removed a temporary file left by a save that did not finish: "
                                               : "Removed " + std::to_string(removed.size()) +
                                                     " temporary files left by saves that did not finish: ";
        for (std::size_t i = 0; i < removed.size(); ++i) line += (i ? ", " : "") + removed[i];
        notices.push_back(line);
    }
    return notices;
}
