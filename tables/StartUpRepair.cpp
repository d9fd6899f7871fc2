#include "StartUpRepair.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <system_error>
#include <tuple>
#include <utility>

#include "Backups.h"
#include "RollbackCopy.h"
#include "SaveSteps.h"
#include "TextFilePlatform.h"

namespace {

using platform::Folder;
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

std::vector<Path> sortedNames(const Folder& folder) {
    std::vector<Path> names = folder.list();
    std::sort(names.begin(), names.end());
    return names;
}

// Opens and locks a file of the folder that no running save holds; invalid when one
// does (busy()), or when it cannot be opened, or when another start took it first.
platform::File claim(const Folder& folder, const Path& name) {
    platform::File file = folder.openFile(name);
    if (file.valid() && file.tryLock() && folder.holds(name, file)) return file;
    return {};
}

std::vector<LeftTemporary> temporariesIn(const Folder& folder, std::string_view base) {
    std::vector<LeftTemporary> found;
    for (const Path& name : sortedNames(folder)) {
        const unsigned long owner = temporaryOwner(name.string(), base);
        if (!owner) continue;
        const platform::File file = folder.openFile(name);
        const bool held = file.valid() ? !file.tryLock() && platform::busy() : platform::busy();
        found.push_back({folder.path() / name, owner, held, platform::processExists(owner)});
    }
    return found;
}

// Where a table file is, after its links, as a rollback copy names it.
Path normalTarget(const Path& file) {
    std::error_code ignored;
    return std::filesystem::absolute(platform::finalTarget(file).value_or(file), ignored).lexically_normal();
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

const char* const kInUse = "in use by a save that is running";

// Mode bits as ls and chmod write them: "0644".
std::string modeText(std::uint32_t mode) {
    char text[8];
    const auto end = std::to_chars(text, text + sizeof text, mode & 07777, 8).ptr;
    return std::string(static_cast<std::size_t>(4 - std::min<std::ptrdiff_t>(end - text, 4)), '0') + std::string(text, end);
}

// The kept copies of one table file's name: only the newest `kBackupsKept` stay, as
// only the newest backups do. Their times say which are newest, and where a clock
// tick saw several, the number each save of one process gave its copy.
void pruneKeptCopies(const Folder& folder, const std::string& table) {
    std::vector<std::tuple<std::int64_t, unsigned long long, Path>> kept;
    for (const Path& name : folder.list()) {
        platform::FileInfo info;
        unsigned long long number = 0;
        if (keptCopyOf(name.string(), &number) == table && folder.infoOf(name, info))
            kept.emplace_back(info.modified, number, name);
    }
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a > b; });
    for (std::size_t i = kBackupsKept; i < kept.size(); ++i) folder.remove(std::get<Path>(kept[i]));
}

// One rollback copy of the user's own; what is to be said of it.
class Settle {
public:
    Settle(const Folder& folder, const Path& name, const std::vector<Path>& targets, bool& keptInFolder)
        : folder_(folder),
          name_(name),
          targets_(targets),
          keptInFolder_(keptInFolder),
          copyShown_(platform::shownPath(folder.path() / name)) {}

    std::optional<std::string> run() {
        const platform::File copy = folder_.openFile(name_);
        if (!copy.valid()) {
            if (platform::busy() || platform::missing(folder_.path() / name_)) return std::nullopt;
            return "The rollback copy " + copyShown_ + " was not used: " + platform::lastReason() + ".";
        }
        if (!copy.tryLock()) {
            if (platform::busy()) return std::nullopt;  // a save that is running holds it
            return "The rollback copy " + copyShown_ + " cannot be locked (" + platform::lastReason() + "); it was not used.";
        }
        if (!folder_.holds(name_, copy)) return std::nullopt;  // another start took it first
        std::string bytes;
        // A copy is its header and two sets of bytes within a table file's bound.
        if (!platform::readWhole(copy, bytes, 2 * kMaxTableFileBytes + 65536))
            return "The rollback copy " + copyShown_ + " cannot be read (" + platform::lastReason() + "); it was not used.";
        const auto record = parseRollback(bytes);
        if (!record)
            return "The rollback copy " + copyShown_ + " is damaged, or of another version of the editor; it was not used" +
                   putAside() + ".";
        std::string().swap(bytes);  // the record holds its bytes now
        const Path file = record->file.lexically_normal();
        if (std::find(targets_.begin(), targets_.end(), file) == targets_.end())
            return "The rollback copy " + copyShown_ + " is of " + platform::shownPath(file) +
                   ", which is not a table file this start reads or saves; it was left as it is.";
        return settleFile(*record, file);
    }

private:
    std::string settleFile(const RollbackRecord& record, const Path& file) {
        const std::string shown = platform::shownPath(file);
        const std::string keptIn = "; its content from before that save is kept in " + copyShown_ + ".";
        // The file is looked at in its folder held open, never through a link.
        const Folder beside = Folder::open(file.parent_path(), Folder::Trust::any);
        if (beside.valid() ? beside.missing(file.filename()) : platform::missing(file))
            return shown + " is gone since a save into it did not finish; its content from before that save is kept" +
                   putAside(" in") + ".";
        if (!beside.valid())
            return shown + " cannot be read (" + platform::lastReason() + ") after a save into it did not finish" + keptIn;
        bool writable = true;
        const platform::File target = open(beside, file.filename(), writable);
        platform::FileInfo info;
        if (!target.valid() || !target.info(info))
            return shown + " cannot be read (" + platform::lastReason() + ") after a save into it did not finish" + keptIn;
        // A rename over it, or a link turned elsewhere, made it another file: whatever
        // it holds is someone's since.
        if (!info.regular || info.identity != record.identity)
            return shown + " is another file than the one a save that did not finish was rewriting; it is kept as it "
                           "is, and the old file's content from before that save is kept" +
                   putAside(" in") + ".";
        std::string present;
        if (!platform::readWhole(target, present))
            return shown + " cannot be read (" + platform::lastReason() + ") after a save into it did not finish" + keptIn;
        if (present == record.oldBytes || present == record.newBytes) {
            folder_.remove(name_);
            return {};
        }
        if (!rewriteExplains(present, record.oldBytes, record.newBytes))
            return shown + " was changed by another program after a save into it did not finish; it is kept as it is, "
                           "and its content from before that save is kept" +
                   putAside(" in") + ".";
        return putBack(beside, target, writable, record, file, present);
    }

    // For writing, or else for reading only (writable then becomes false).
    platform::File open(const Folder& beside, const Path& name, bool& writable) {
        platform::File target = beside.openToUpdate(name);
        if (target.valid()) return target;
        whyNotWritable_ = platform::lastReason();
        writable = false;
        return beside.openToRead(name);
    }

    std::string putBack(const Folder& beside, const platform::File& target, bool writable, const RollbackRecord& record,
                        const Path& file, const std::string& present) {
        const std::string shown = platform::shownPath(file);
        const std::string partWritten = shown + " was left part-written by a save that did not finish";
        const std::string keptIn = "; its content from before that save is kept in " + copyShown_ + ".";
        const std::uint32_t modeNow = target.modeNow();
        if (writable && modeNow && !(modeNow & 0200)) {
            writable = false;
            whyNotWritable_ = "it is write-protected now";
        }
        if (!writable) return partWritten + ", but it cannot be written (" + whyNotWritable_ + ")" + keptIn;
        // What it holds goes aside first, beside it or else in the rollback folder;
        // where it can go nowhere, nothing is written. Either place keeps the newest
        // backups alone, as a save does.
        const std::string name = file.filename().string();
        auto aside = writeBackup(beside, name, present, &target, {});
        const std::string whyNotBeside = platform::lastReason();
        const Folder* keptBy = &beside;
        if (!aside) {
            aside = writeBackup(folder_, name, present, nullptr, {});
            keptBy = &folder_;
            keptInFolder_ = keptInFolder_ || aside.has_value();
        }
        if (!aside) {
            return partWritten + ", and what it holds cannot be kept anywhere (" + whyNotBeside + "; " +
                   platform::lastReason() +
                   "), so nothing was written to it" + keptIn;
        }
        pruneBackups(*keptBy, name, kBackupsKept);
        // A copy never gives a file a mode bit it did not have, nor set-id bits.
        const std::uint32_t mode = modeNow & record.mode & ~std::uint32_t{06000};
        const savesteps::PutBack back = savesteps::putBack(target, record.oldBytes, record.newBytes, mode, {});
        const std::string held = " (what it held is kept as " + platform::shownPath(*aside) + ")";
        if (back.holds == savesteps::PutBack::Holds::oldBytes && back.written) {
            folder_.remove(name_);
            if (back.modeSet) return partWritten + "; its content from before that save is back" + held + ".";
            return partWritten + "; its content from before that save is back, and only its mode could not be set to " +
                   modeText(mode) + " (" + back.whyModeNotSet + "), so it stays " + modeText(target.modeNow()) + held + ".";
        }
        const std::string why = back.written ? back.whyNotRead : back.whyNotWritten;
        return partWritten + ", and its old content could not be put back (" + why + ")" + held + keptIn;
    }

    // Puts the copy out of the way of later starts; where it then is.
    std::string putAside(const std::string& in = " (kept as") {
        const Path kept = keptName(name_);
        bool taken = false;
        std::string where = copyShown_;
        if (folder_.nameIfFree(name_, kept, taken)) {
            folder_.remove(name_);
            where = platform::shownPath(folder_.path() / kept);
            pruneKeptCopies(folder_, keptCopyOf(kept.string()));
            keptInFolder_ = true;
        }
        return in == " (kept as" ? in + " " + where + ")" : in + " " + where;
    }

    const Folder& folder_;
    const Path& name_;
    const std::vector<Path>& targets_;
    bool& keptInFolder_;  // something was kept in the rollback folder
    const std::string copyShown_;
    std::string whyNotWritable_;
};

// The rollback folder: its copies settled, or, where it is not the user's own, left
// as they are and named.
void settleRollbacks(const Path& path, const std::vector<Path>& targets, std::vector<std::string>& notices) {
    const Folder folder = Folder::open(path, Folder::Trust::own);
    if (!folder.valid()) {
        const std::string why = platform::lastReason();
        std::vector<std::string> copies;
        std::error_code error;
        for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
            if (isRollbackName(it->path().filename().string())) copies.push_back(it->path().filename().string());
        std::sort(copies.begin(), copies.end());
        if (!copies.empty())
            notices.push_back("The rollback folder " + platform::shownPath(path) + " is not this user's own (" + why +
                              "), so the rollback copies in it were not used: " + joined(copies) + ".");
        return;
    }
    const auto names = sortedNames(folder);
    // A copy that was never named: its save had not begun to rewrite the file.
    for (const Path& name : names)
        if (temporaryOwner(name.string(), {}) && claim(folder, name).valid()) folder.remove(name);
    bool keptHere = false;
    for (const Path& name : names)
        if (isRollbackName(name.string()))
            if (auto notice = Settle(folder, name, targets, keptHere).run(); notice && !notice->empty())
                notices.push_back(std::move(*notice));
    if (keptHere)
        notices.push_back("What this start kept is in " + platform::shownPath(path) + ", where the newest " +
                          std::to_string(kBackupsKept) + " kept copies and backups of each table file's name stay.");
}

}  // namespace

bool rewriteExplains(std::string_view present, std::string_view old, std::string_view neu) {
    // How far it agrees with the old bytes from the start; all the way: the old bytes
    // or fewer of them.
    const std::size_t head =
        static_cast<std::size_t>(std::mismatch(present.begin(), present.end(), old.begin(), old.end()).first -
                                 present.begin());
    if (head == present.size()) return true;
    // From where on it agrees with the old bytes to its end.
    std::size_t tail = present.size();
    if (present.size() <= old.size())
        while (tail > head && present[tail - 1] == old[tail - 1]) --tail;
    // In between: the new bytes, each at its own place.
    return tail <= neu.size() && present.substr(head, tail - head) == neu.substr(head, tail - head);
}

std::vector<LeftTemporary> leftTemporaries(const std::filesystem::path& tableFile) {
    const Path target = platform::finalTarget(tableFile).value_or(tableFile);
    const Folder folder = Folder::open(target.has_parent_path() ? target.parent_path() : Path("."), Folder::Trust::any);
    if (!folder.valid()) return {};
    return temporariesIn(folder, target.filename().string());
}

std::vector<std::string> repairInterruptedSaves(const std::vector<std::filesystem::path>& tableFiles) {
    std::vector<std::string> notices;
    std::vector<Path> targets;
    for (const auto& file : tableFiles)
        if (const Path target = normalTarget(file); std::find(targets.begin(), targets.end(), target) == targets.end())
            targets.push_back(target);
    const Path rollbacks = rollbackFolder();
    if (!rollbacks.empty() && !platform::missing(rollbacks)) settleRollbacks(rollbacks, targets, notices);

    std::vector<std::string> removed;
    std::vector<std::string> left;  // each with why it is left
    for (const auto& target : targets) {
        const Folder folder = Folder::open(target.parent_path(), Folder::Trust::any);
        if (!folder.valid()) continue;
        for (const Path& name : sortedNames(folder)) {
            if (!temporaryOwner(name.string(), target.filename().string())) continue;
            const std::string shown = platform::shownPath(folder.path() / name);
            const platform::File claimed = claim(folder, name);
            if (claimed.valid() && folder.remove(name)) {
                removed.push_back(shown);
                continue;
            }
            // The system's words for a file held open by a save (Windows) say less.
            const std::string why = platform::busy() ? kInUse : platform::lastReason();
            if (!folder.missing(name)) left.push_back(shown + " (" + why + ")");  // else another start took it first
        }
        // Saves that died leave their backups as well, which only a save that ends prunes.
        pruneBackups(folder, target.filename().string(), kBackupsKept);
    }
    if (!removed.empty()) {
        std::string line = removed.size() == 1 ? "Removed a temporary file left by a save that did not finish: "
                                               : "Removed " + std::to_string(removed.size()) +
                                                     " temporary files left by saves that did not finish: ";
        notices.push_back(line + joined(removed));
    }
    if (!left.empty()) {
        std::string line = left.size() == 1 ? "Left a temporary file of a save where it is: "
                                            : "Left " + std::to_string(left.size()) +
                                                  " temporary files of saves where they are: ";
        notices.push_back(line + joined(left) + ".");
    }
    return notices;
}
