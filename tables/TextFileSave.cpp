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
    if (faults.meanwhile) faults.meanwhile(step);
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

// Why a save stops when the name no longer leads to the file it read: whatever is
// there now came from someone else, and a question could be answered "yes" blindly.
const char* const kReplacedMeanwhile =
    "it was replaced or moved by another program while it was being saved, so nothing was saved";
const char* const kMadeMeanwhile = "another program made a file of that name while it was being saved, so nothing was saved";

class Save {
public:
    Save(const Path& named, const Path& target, std::string_view bytes, const std::string& label,
         const WriteFaults& faults, const GoOnWithoutBackup& withoutBackup)
        : named_(named), target_(target), bytes_(bytes), label_(label), faults_(faults), withoutBackup_(withoutBackup) {}

    TableError failure(const std::string& why) const { return TableError(cannotCreateMessage(label_)).because(reason(why)); }

    FileStamp run() {
        const platform::FolderOwnerRights rights({named_, target_});
        if (!rights.ok()) throw failure(rights.why());
        rights_ = &rights;
        folder_ = platform::Folder::open(folderPath(), platform::Folder::Trust::any);
        if (!folder_.valid()) throw failure(platform::lastReason());
        // The file is opened once, never followed as a link, and all that the save
        // takes from it (bytes, owner, mode, identity) comes from what was opened.
        old_ = folder_.openToRead(name());
        const bool existed = old_.valid();
        if (!existed && !folder_.missing(name())) throw cannotRead(platform::lastReason());
        if (existed) {
            if (!old_.info(oldInfo_)) throw cannotRead(platform::lastReason());
            // A rename would replace a write-protected file; honour the protection instead.
            if (!folder_.mayReplace(name(), old_)) throw failure(platform::lastReason());
            backUp(readOld());
        }

        Path temporary;
        // Only its user may read the new file until it has the old one's access
        // rights; a new table file is made as the umask has any new file made.
        platform::File file = faults_.failTemporary ? refused(platform::Fault::accessDenied)
                                                    : folder_.createLocked(name(), existed, temporary);
        FileStamp stamp;
        if (!file.valid()) {
            if (!existed) throw failure(platform::lastReason());
            stamp = rewriteInPlace({});
        } else if (const Outcome outcome = replace(file, temporary, existed, stamp); outcome.accessLost) {
            // The rewrite in place keeps the file, and with it its owner, group and mode.
            stamp = rewriteInPlace(outcome.why);
        } else if (!outcome.why.empty()) {
            throw given(outcome.why);
        }
        dieIfAt(faults_, Step::replaced);
        pruneBackups(folder_, name(), kBackupsKept);
        return stamp;
    }

private:
    struct Outcome {
        std::string why;  // empty: replaced
        bool accessLost = false;
    };

    Path folderPath() const { return target_.has_parent_path() ? target_.parent_path() : Path("."); }
    std::string name() const { return target_.filename().string(); }

    // "<full path>: <why>", and whose rights the save works with where they are not the
    // process's own.
    std::string reason(const std::string& why) const {
        const std::string whose = rights_ && !rights_->whose().empty() ? " (" + rights_->whose() + ")" : "";
        return platform::shownPath(target_) + ": " + why + whose;
    }

    TableError cannotRead(const std::string& why) const {
        return TableError(cannotOpenMessage(label_)).because(reason(why));
    }

    // The save failed with the old file as it was: the backup made for it goes again.
    TableError given(const std::string& why, bool keepBackup = false) const {
        if (backup_ && !keepBackup) folder_.remove(backup_->filename());
        return failure(why);
    }

    std::string readOld() const {
        std::string old;
        if (!platform::readWhole(old_, old)) throw cannotRead(platform::lastReason());
        return old;
    }

    // What the file holds now goes into its next numbered backup, unless nothing new
    // would be kept by it; without one the operator decides.
    void backUp(const std::string& old) {
        if (old == bytes_ || newestBackupHolds(folder_, name(), old)) return;
        backup_ = writeBackup(folder_, name(), old, &old_, faults_);
        if (backup_) return;
        const std::string why = platform::lastReason();
        if (!withoutBackup_)
            throw failure("no backup of it can be written beside it (" + why + "), so nothing was saved");
        bool goOn = false;
        {
            // The operator is asked with the process's own rights: the question is no file operation.
            const platform::FolderOwnerRights::Paused asOneself(*rights_);
            goOn = withoutBackup_("No backup of " + platform::shownPath(target_) + " can be written beside it (" + why +
                                  "). Save without a backup?");
        }
        if (!goOn) throw SaveDeclined(failure("not saved without a backup"));
    }

    // The temporary file beside the target, flushed, renamed over it while still open
    // and locked, so that no start takes it for a left-over; removed again when it was
    // not renamed.
    Outcome replace(platform::File& file, const Path& temporary, bool existed, FileStamp& stamp) {
        platform::FileInfo written;  // the rename keeps size and modification time
        Outcome outcome;
        // Access after the bytes: writing may clear bits.
        bool ok = writeNewBytes(file, bytes_, faults_.failAfterBytes);
        if (ok && existed && !(faults_.failOwner ? injectedOwnerFault() : file.copyAccessFrom(old_))) {
            ok = false;
            outcome.accessLost = true;
        }
        ok = ok && (faults_.failFlush ? injected(platform::Fault::ioError) : file.flushToDisk()) && file.info(written);
        if (ok) dieIfAt(faults_, Step::temporaryWritten);
        ok = ok && (faults_.failRename ? injected(platform::Fault::accessDenied) : takeName(temporary, existed));
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

    // Gives the new file the table's name: over the file that was read only while the
    // name still leads to it, and where there was none only while the name is free.
    bool takeName(const Path& temporary, bool existed) {
        if (!existed) {
            bool taken = false;
            if (!folder_.nameIfFree(temporary, name(), taken)) {
                if (taken) platform::setLastReason(kMadeMeanwhile);
                return false;
            }
            folder_.remove(temporary);
            return true;
        }
        if (!folder_.holds(name(), old_)) return refusedWith(kReplacedMeanwhile);
        // Held no longer than needed: a file held open cannot be replaced everywhere.
        old_.close();
        return folder_.replace(temporary, name());
    }

    static bool refusedWith(const std::string& why) {
        platform::setLastReason(why);
        return false;
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
        if (!folder_.holds(name(), old_)) throw given(kReplacedMeanwhile);
        const platform::File file = folder_.openToUpdate(name());
        platform::FileInfo info;
        if (!file.valid() || !file.info(info)) throw refusal(platform::lastReason());
        if (info.identity != oldInfo_.identity) throw given(kReplacedMeanwhile);
        // A table is no program: whatever set-id bit it has goes.
        const std::uint32_t mode = file.modeNow() & ~std::uint32_t{06000};
        std::string old;
        if (!platform::readWhole(file, old)) throw refusal(platform::lastReason());
        std::optional<HeldRollback> rollback;
        {
            // The rollback copy goes into the process's own data folder, with its own rights.
            const platform::FolderOwnerRights::Paused asOneself(*rights_);
            rollback = writeRollbackCopy(target_, info.identity, mode, old, bytes_, faults_);
        }
        if (!rollback) throw refusal("no rollback copy of it can be written (" + platform::lastReason() + ")");
        dieIfAt(faults_, Step::rollbackWritten);
        const auto dropRollback = [&] {
            const platform::FolderOwnerRights::Paused asOneself(*rights_);
            rollback->remove();
        };

        const std::string why = rewrite(file, mode);
        if (why.empty()) {
            dropRollback();
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
                    dropRollback();
                    throw given(why + "; its old content is back" +
                                (back.modeSet ? "" : ", though its mode could not be given back (" + back.whyModeNotSet + ")"));
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

    const Path& named_;  // as the caller named it, before links
    const Path& target_;
    std::string_view bytes_;
    const std::string& label_;
    const WriteFaults& faults_;
    const GoOnWithoutBackup& withoutBackup_;
    const platform::FolderOwnerRights* rights_ = nullptr;
    platform::Folder folder_;
    platform::File old_;  // the file that was read, while the save may need it
    platform::FileInfo oldInfo_;
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
                                      const std::function<Path(unsigned)>& nameFor, const platform::File* accessFrom,
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
    bool flushed = false;
    if (faults.failRestore) {
        injected(platform::Fault::ioError);
    } else {
        dieHalfWayIfAt(faults, Step::halfRestored, file, old);
        if (file.writeAt(0, old)) {
            cut = faults.failTruncate ? injected(platform::Fault::ioError) : file.truncate(old.size());
            if (!cut) result.whyNotWritten = platform::lastReason();
            // A mode that cannot be set keeps no byte from the disk.
            result.modeSet = file.restoreMode(mode);
            if (!result.modeSet) result.whyModeNotSet = platform::lastReason();
            flushed = file.flushToDisk();
            result.written = flushed;  // until the bytes read back say whether the cut mattered
        }
    }
    if (result.whyNotWritten.empty() && !flushed) result.whyNotWritten = platform::lastReason();
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
    if (!resolved) throw Save(path, path, bytes, label, faults, withoutBackup).failure(platform::lastReason());
    return Save(path, *resolved, bytes, label, faults, withoutBackup).run();
}

void setWriteFaultsForTesting(const WriteFaults& faults) { gFaults = faults; }
