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

platform::File refused(platform::Fault fault) {
    injected(fault);
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
        folder_ = platform::Folder::open(folderPath(), platform::Folder::Trust::any);
        if (!folder_.valid()) folderWhy_ = platform::lastReason();
        if (existed) backUp(readOld());

        Path temporary;
        // Only its user may read the new file until it has the old one's access
        // rights; a new table file is made as the umask has any new file made.
        platform::File file = faults_.failTemporary ? refused(platform::Fault::accessDenied)
                              : folder_.valid()     ? folder_.createLocked(name(), existed, temporary)
                                                    : refusedWith(folderWhy_);
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
        pruneBackups(folderPath(), name(), kBackupsKept);
        return stamp;
    }

private:
    struct Outcome {
        std::string why;  // empty: replaced
        bool accessLost = false;
    };

    Path folderPath() const { return target_.has_parent_path() ? target_.parent_path() : Path("."); }
    std::string name() const { return target_.filename().string(); }

    static platform::File refusedWith(const std::string& why) {
        platform::setLastReason(why);
        return {};
    }

    // The save failed with the old file as it was: the backup made for it goes again.
    TableError given(const std::string& why, bool keepBackup = false) const {
        if (backup_ && !keepBackup) folder_.remove(backup_->filename());
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
        if (old == bytes_ || newestBackupHolds(folderPath(), name(), old)) return;
        if (folder_.valid()) {
            backup_ = writeBackup(folder_, name(), old, &target_, faults_);
        } else {
            platform::setLastReason(platform::shownPath(folderPath()) + ": " + folderWhy_);
        }
        if (backup_) return;
        const std::string why = platform::lastReason();
        if (!withoutBackup_)
            throw failure("no backup of it can be written beside it (" + why + "), so nothing was saved");
        if (!withoutBackup_("No backup of " + platform::shownPath(target_) + " can be written beside it (" + why +
                            "). Save without a backup?"))
            throw SaveDeclined(failure("not saved without a backup"));
    }

    // The temporary file beside the target, flushed, renamed over it while still open
    // and locked, so that no start takes it for a left-over; removed again when it was
    // not renamed.
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
        if (ok) dieIfAt(faults_, Step::temporaryWritten);
        if (ok && !(faults_.failRename ? injected(platform::Fault::accessDenied)
                                        : folder_.replace(temporary, target_.filename()))) {
            ok = false;
        }
        if (!ok) {
            if (outcome.why.empty()) outcome.why = platform::lastReason();
            folder_.remove(temporary);
            return outcome;
        }
        // The bytes are on the disk (flushed) and in place: closing adds nothing to it.
        file.close();
        folder_.sync();
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
        const auto refusal = [&](const std::string& why) {
            return given(whyNotReplaced.empty() ? why : whyNotReplaced + ", and it cannot be rewritten in place: " + why);
        };
        const platform::File file = platform::openForUpdate(target_);
        platform::FileInfo info;
        if (!file.valid() || !file.writingKeepsMode() || !file.info(info)) throw refusal(platform::lastReason());
        const std::uint32_t mode = file.modeNow();
        std::string old;
        if (!platform::readWhole(file, old)) throw refusal(platform::lastReason());
        const auto rollback = writeRollbackCopy(target_, info.identity, mode, old, bytes_, faults_);
        if (!rollback) throw refusal("no rollback copy of it can be written (" + platform::lastReason() + ")");
        dieIfAt(faults_, Step::rollbackWritten);

        const std::string why = rewrite(file, mode);
        if (why.empty()) {
            rollback->remove();
            platform::FileInfo written;
            if (!file.info(written)) written = {true, bytes_.size(), 0, info.identity};
            return stampOf(written, bytes_, target_);
        }
        // What the message says comes from what the file holds when read back.
        const savesteps::PutBack back = savesteps::putBack(file, old, bytes_, mode, faults_);
        const std::string copy = platform::shownPath(rollback->path());
        using Holds = savesteps::PutBack::Holds;
        switch (back.holds) {
            case Holds::oldBytes:
                if (back.written) {
                    rollback->remove();
                    throw given(why + "; its old content is back");
                }
                throw given(why + "; it holds its old content, though writing it back failed (" + back.whyNotWritten +
                            "): the editor looks at it again when it next starts, with the rollback copy " + copy);
            case Holds::newBytes:
                throw given(why + "; its old content could not be written back (" + back.whyNotWritten +
                                "), and it holds the new content, which may not all be on the disk: the editor looks "
                                "at it again when it next starts, with the rollback copy " + copy,
                            true);
            case Holds::other:
                throw given(why + "; its old content could not be written back (" + back.whyNotWritten +
                                "): the editor puts it back when it next starts, from " + copy,
                            true);
            case Holds::unknown:
                break;
        }
        throw given(why + (back.written ? "; its old content was written back, but the file cannot be read to check it ("
                                        : "; its old content could not be written back (" + back.whyNotWritten +
                                              "), and the file cannot be read (") +
                        back.whyNotRead + "): the editor looks at it again when it next starts, with the rollback copy " +
                        copy,
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
        if (!savesteps::readBack(file, back, faults_)) return platform::lastReason();
        if (faults_.failReadBack || back != bytes_) return kReadBackDiffers;
        return {};
    }

    const Path& target_;
    std::string_view bytes_;
    const std::string& label_;
    const WriteFaults& faults_;
    const GoOnWithoutBackup& withoutBackup_;
    platform::Folder folder_;
    std::string folderWhy_;       // why the folder cannot be opened
    std::optional<Path> backup_;  // made by this save
};

}  // namespace

namespace savesteps {

bool injected(platform::Fault fault) {
    platform::setLastReason(platform::reasonFor(fault));
    return false;
}

std::optional<Written> writeFlushedAs(const platform::Folder& folder, const std::string& base,
                                      std::initializer_list<std::string_view> parts,
                                      const std::function<Path(unsigned)>& nameFor, const Path* accessFrom,
                                      Step dieBeforeNaming, const WriteFaults& faults) {
    const auto refused = [&folder] {
        platform::setLastReason(platform::shownPath(folder.path()) + ": " + platform::lastReason());
        return std::nullopt;
    };
    Path temporary;
    platform::File file = folder.createLocked(base, true, temporary);
    if (!file.valid()) return refused();
    bool ok = true;
    std::uint64_t at = 0;
    for (const std::string_view part : parts) {
        ok = ok && file.writeAt(at, part);
        at += part.size();
    }
    // Written while only its user may read it; its access rights come last.
    if (ok && accessFrom) (void)file.copyAccessFrom(*accessFrom);
    ok = ok && file.flushToDisk();
    if (ok) {
        dieIfAt(faults, dieBeforeNaming);
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const Path name = nameFor(attempt);
            bool taken = false;
            if (folder.nameIfFree(temporary, name, taken)) {
                // Named and complete: should the temporary name stay, the file is
                // written all the same, and the next start removes that name.
                if (!faults.failUnnaming) folder.remove(temporary);
                folder.sync();
                return Written{name, std::move(file)};
            }
            if (!taken) break;
        }
    }
    const std::string why = platform::lastReason();
    folder.remove(temporary);
    platform::setLastReason(why);
    return refused();
}

bool readBack(const platform::File& file, std::string& bytes, const WriteFaults& faults) {
    if (faults.failReading) return injected(platform::Fault::ioError);
    return platform::readWhole(file, bytes);
}

PutBack putBack(const platform::File& file, std::string_view old, std::string_view neu, std::uint32_t mode,
                const WriteFaults& faults) {
    PutBack result;
    bool cut = false;
    bool rest = false;  // mode given back and flushed
    if (faults.failRestore) {
        injected(platform::Fault::ioError);
    } else {
        dieHalfWayIfAt(faults, Step::halfRestored, file, old);
        if (file.writeAt(0, old)) {
            cut = faults.failTruncate ? injected(platform::Fault::ioError) : file.truncate(old.size());
            if (!cut) result.whyNotWritten = platform::lastReason();
            rest = file.restoreMode(mode) && file.flushToDisk();
            result.written = rest;  // until the bytes read back say whether the cut mattered
        }
    }
    if (result.whyNotWritten.empty() && !rest) result.whyNotWritten = platform::lastReason();
    std::string back;
    if (!readBack(file, back, faults)) {
        result.whyNotRead = platform::lastReason();
        result.written = result.written && cut;
        return result;
    }
    using Holds = PutBack::Holds;
    result.holds = back == old ? Holds::oldBytes : back == neu ? Holds::newBytes : Holds::other;
    // A cut that failed where the length was right already (the fault that failed the
    // rewrite, again) did no harm.
    result.written = result.written && (cut || result.holds == Holds::oldBytes);
    return result;
}

}  // namespace savesteps

namespace platform {

Path temporaryName(const std::string& base, unsigned long process, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    return "." + base + ".tmp-" + std::to_string(process) + "-" + std::to_string(counter++) + "-" +
           std::to_string(attempt);
}

namespace {
SyncObserver gSyncObserver;
}  // namespace

void observeSyncForTesting(SyncObserver observer) { gSyncObserver = std::move(observer); }
bool syncObserved() { return static_cast<bool>(gSyncObserver); }
void noteSync(std::string_view event, const FileIdentity& file) {
    if (gSyncObserver) gSyncObserver(event, file);
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
