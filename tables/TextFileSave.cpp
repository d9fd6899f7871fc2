// Saving a table file: the same steps on every platform, over the file layer of
// TextFilePlatform.h. Faults injected by tests strike here, in the steps themselves.
#include <atomic>
#include <string>

#include "Backups.h"
#include "RollbackCopy.h"
#include "SaveSteps.h"
#include "TableError.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

using platform::Path;
using savesteps::dieIfAt;
using savesteps::injected;
using Step = WriteFaults::Step;

WriteFaults gFaults;

const char* const kNotRegular = "not a regular file";
const char* const kReadBackDiffers = "the bytes read back differ from those written";

// Writes the bytes from the start of the file; the disk fills up after failAfterBytes.
bool writeNewBytes(const platform::File& file, std::string_view bytes, long long failAfterBytes) {
    if (failAfterBytes >= 0 && static_cast<unsigned long long>(failAfterBytes) < bytes.size())
        return file.writeAt(0, bytes.substr(0, static_cast<std::size_t>(failAfterBytes))) &&
               injected(platform::Fault::diskFull);
    return file.writeAt(0, bytes);
}

// A process that dies while writing has written the first half.
void dieHalfWayIfAt(const WriteFaults& faults, Step step, const platform::File& file, std::string_view bytes) {
    if (faults.dieAt != step) return;
    file.writeAt(0, bytes.substr(0, bytes.size() / 2));
    throw SimulatedCrash{};
}

FileStamp stampOf(const platform::FileInfo& info, std::string_view bytes, const Path& target) {
    return {true, info.size, info.modified, hashBytes(bytes), target};
}

platform::File refusedTemporary() {
    injected(platform::Fault::accessDenied);
    return {};
}

class Save {
public:
    Save(const Path& target, std::string_view bytes, const std::string& label, const WriteFaults& faults,
         const GoOnWithoutBackup& withoutBackup)
        : target_(target), bytes_(bytes), label_(label), faults_(faults), withoutBackup_(withoutBackup) {}

    TableError failure(const std::string& why) const {
        return TableError(cannotCreateMessage(label_)).because(platform::shownPath(target_) + ": " + why);
    }

    FileStamp run() {
        platform::FileInfo old;
        const bool existed = platform::statPath(target_, old);
        if (existed && !old.regular) throw failure(kNotRegular);
        // A rename would replace a write-protected file; honour the protection instead.
        if (existed && !platform::mayReplace(target_)) throw failure(platform::lastReason());
        if (existed) backUp(readOld());

        Path temporary;
        platform::File file =
            faults_.failTemporary ? refusedTemporary() : platform::createTemporaryBeside(target_, temporary);
        FileStamp stamp;
        if (!file.valid()) {
            if (!existed) throw failure(platform::lastReason());
            stamp = rewriteInPlace({});
        } else if (const Outcome outcome = replace(file, temporary, stamp); outcome.accessLost) {
            // The rewrite in place keeps the file, and with it its owner, group and mode.
            stamp = rewriteInPlace(outcome.why);
        } else if (!outcome.why.empty()) {
            throw given(outcome.why);
        }
        dieIfAt(faults_, Step::replaced);
        pruneBackups(folder(), name(), kBackupsKept);
        return stamp;
    }

private:
    struct Outcome {
        std::string why;  // empty: replaced
        bool accessLost = false;
    };

    Path folder() const { return target_.has_parent_path() ? target_.parent_path() : Path("."); }
    std::string name() const { return target_.filename().string(); }

    // The save failed with the old file as it was: the backup made for it goes again.
    TableError given(const std::string& why, bool keepBackup = false) const {
        if (backup_ && !keepBackup) platform::removeFile(*backup_);
        return failure(why);
    }

    std::string readOld() const {
        std::string old;
        if (!platform::readWhole(target_, old))
            throw TableError(cannotOpenMessage(label_)).because(platform::shownPath(target_) + ": " + platform::lastReason());
        return old;
    }

    // What the file holds now goes into its next numbered backup, unless nothing new
    // would be kept by it; without one the operator decides.
    void backUp(const std::string& old) {
        if (old == bytes_ || newestBackupHolds(folder(), name(), old)) return;
        backup_ = writeBackup(folder(), name(), old, target_, faults_);
        if (backup_) return;
        const std::string why = platform::lastReason();
        if (!withoutBackup_)
            throw failure("no backup of it can be written beside it (" + why + "), so nothing was saved");
        if (!withoutBackup_("No backup of " + platform::shownPath(target_) + " can be written beside it (" + why +
                            "). Save without a backup?"))
            throw SaveDeclined(failure("not saved without a backup"));
    }

    // Temporary file beside the target, flushed, renamed over it; the temporary file
    // is removed again when it was not renamed.
    Outcome replace(platform::File& file, const Path& temporary, FileStamp& stamp) const {
        platform::FileInfo written;  // the rename keeps size and modification time
        Outcome outcome;
        // Access after the bytes: writing may clear set-id bits.
        bool ok = writeNewBytes(file, bytes_, faults_.failAfterBytes);
        if (ok && !(faults_.failOwner ? injectedOwnerFault() : file.copyAccessFrom(target_))) {
            ok = false;
            outcome.accessLost = true;
        }
        ok = ok && (faults_.failFlush ? injected(platform::Fault::ioError) : file.flushToDisk()) && file.info(written);
        if (!ok) outcome.why = platform::lastReason();
        if (!file.close() && ok) {
            ok = false;
            outcome.why = platform::lastReason();
        }
        if (ok) dieIfAt(faults_, Step::temporaryWritten);
        if (ok && !(faults_.failRename ? injected(platform::Fault::accessDenied)
                                        : platform::replaceFile(temporary, target_))) {
            ok = false;
            outcome.why = platform::lastReason();
        }
        if (!ok) {
            platform::removeFile(temporary);
            return outcome;
        }
        platform::syncFolder(folder());
        stamp = stampOf(written, bytes_, target_);
        return outcome;
    }

    static bool injectedOwnerFault() {
        platform::setLastReason("the new file cannot be given the old owner and group");
        return false;
    }

    // For a file that cannot be replaced by a new one. whyNotReplaced says why, when a
    // new file could be made.
    FileStamp rewriteInPlace(const std::string& whyNotReplaced) const {
        const auto refused = [&](const std::string& why) {
            return given(whyNotReplaced.empty() ? why : whyNotReplaced + ", and it cannot be rewritten in place: " + why);
        };
        const platform::File file = platform::openForUpdate(target_);
        if (!file.valid() || !file.writingKeepsMode()) throw refused(platform::lastReason());
        const std::uint32_t mode = file.modeNow();
        std::string old;
        if (!platform::readWhole(file, old)) throw refused(platform::lastReason());
        const auto rollback = writeRollbackCopy(target_, old, bytes_, mode, faults_);
        if (!rollback) throw refused("no rollback copy of it can be written (" + platform::lastReason() + ")");
        dieIfAt(faults_, Step::rollbackWritten);

        const std::string why = rewrite(file, mode);
        if (why.empty()) {
            platform::removeFile(*rollback);
            platform::FileInfo written;
            if (!file.info(written)) written = {true, bytes_.size(), 0};
            return stampOf(written, bytes_, target_);
        }
        if (savesteps::putBack(file, old, mode, faults_)) {
            platform::removeFile(*rollback);
            throw given(why + "; its old content is back");
        }
        throw given(why + "; its old content could not be written back (" + platform::lastReason() +
                        "): the editor puts it back when it next starts, from " + platform::shownPath(*rollback),
                    true);
    }

    // Empty when the file now holds exactly the new bytes; otherwise why not.
    std::string rewrite(const platform::File& file, std::uint32_t mode) const {
        dieHalfWayIfAt(faults_, Step::halfRewritten, file, bytes_);
        if (!writeNewBytes(file, bytes_, faults_.failAfterBytes)) return platform::lastReason();
        dieIfAt(faults_, Step::rewritten);
        if (!(faults_.failTruncate ? injected(platform::Fault::ioError) : file.truncate(bytes_.size())))
            return platform::lastReason();
        dieIfAt(faults_, Step::cutToLength);
        if (!file.restoreMode(mode)) return platform::lastReason();
        if (!(faults_.failFlush ? injected(platform::Fault::ioError) : file.flushToDisk())) return platform::lastReason();
        std::string back;
        if (!platform::readWhole(file, back)) return platform::lastReason();
        if (faults_.failReadBack || back != bytes_) return kReadBackDiffers;
        return {};
    }

    const Path& target_;
    std::string_view bytes_;
    const std::string& label_;
    const WriteFaults& faults_;
    const GoOnWithoutBackup& withoutBackup_;
    std::optional<Path> backup_;  // made by this save
};

}  // namespace

namespace savesteps {

bool injected(platform::Fault fault) {
    platform::setLastReason(platform::reasonFor(fault));
    return false;
}

std::optional<Path> writeFlushedAs(const Path& folder, const std::string& base, std::string_view head,
                                   std::string_view body, const std::function<Path(unsigned)>& nameFor,
                                   const Path* accessFrom, Step dieBeforeNaming, const WriteFaults& faults) {
    const auto refused = [](const Path& where) {
        platform::setLastReason(platform::shownPath(where) + ": " + platform::lastReason());
        return std::nullopt;
    };
    Path temporary;
    platform::File file = platform::createTemporaryBeside(folder / base, temporary);
    if (!file.valid()) return refused(folder);
    bool ok = file.writeAt(0, head) && file.writeAt(head.size(), body);
    if (ok && accessFrom) (void)file.copyAccessFrom(*accessFrom);
    ok = ok && file.flushToDisk();
    ok = file.close() && ok;
    if (ok) {
        dieIfAt(faults, dieBeforeNaming);
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const Path name = nameFor(attempt);
            bool taken = false;
            if (platform::nameIfFree(temporary, name, taken)) {
                platform::syncFolder(folder);
                return name;
            }
            if (!taken) break;
        }
    }
    const std::string why = platform::lastReason();
    platform::removeFile(temporary);
    platform::setLastReason(why);
    return refused(folder);
}

bool putBack(const platform::File& file, std::string_view old, std::uint32_t mode, const WriteFaults& faults) {
    if (faults.failRestore) return injected(platform::Fault::ioError);
    dieHalfWayIfAt(faults, Step::halfRestored, file, old);
    // What counts is what the file holds once flushed: a cut that fails where the
    // length is right already (the fault that failed the rewrite, again) does no harm.
    const bool written = file.writeAt(0, old);
    const bool cut = written && (faults.failTruncate ? injected(platform::Fault::ioError) : file.truncate(old.size()));
    const std::string why = platform::lastReason();
    std::string back;
    if (!(written && file.restoreMode(mode) && file.flushToDisk() && platform::readWhole(file, back))) return false;
    if (back == old) return true;
    platform::setLastReason(cut ? kReadBackDiffers : why);
    return false;
}

}  // namespace savesteps

namespace platform {

Path temporaryName(const Path& target, unsigned long process, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(process) + "-" +
                              std::to_string(counter++) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

}  // namespace platform

FileStamp writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                              const std::string& label, const GoOnWithoutBackup& withoutBackup) {
    const WriteFaults faults = gFaults;
    const auto resolved = platform::finalTarget(path);
    if (!resolved) throw Save(path, bytes, label, faults, withoutBackup).failure(platform::lastReason());
    return Save(*resolved, bytes, label, faults, withoutBackup).run();
}

void setWriteFaultsForTesting(const WriteFaults& faults) { gFaults = faults; }
