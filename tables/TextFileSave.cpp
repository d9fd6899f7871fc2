// Saving a table file: the same steps on every platform, over the file layer of
// TextFilePlatform.h. Faults injected by tests strike here, in the steps themselves.
#include <atomic>
#include <string>

#include "TableError.h"
#include "TextFile.h"
#include "TextFilePlatform.h"

namespace {

using platform::Path;

WriteFaults gFaults;

const char* const kNotRegular = "not a regular file";
const char* const kReadBackDiffers = "the bytes read back differ from those written";

bool injected(platform::Fault fault) {
    platform::setLastReason(platform::reasonFor(fault));
    return false;
}

// Writes the bytes from the start of the file; the disk fills up after failAfterBytes.
bool writeNewBytes(const platform::File& file, std::string_view bytes, long long failAfterBytes) {
    if (failAfterBytes >= 0 && static_cast<unsigned long long>(failAfterBytes) < bytes.size())
        return file.writeAt(0, bytes.substr(0, static_cast<std::size_t>(failAfterBytes))) &&
               injected(platform::Fault::diskFull);
    return file.writeAt(0, bytes);
}

// The whole file from its start, up to a table file's bound.
bool readFromStart(const platform::File& file, std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    for (;;) {
        std::size_t got = 0;
        if (!file.readAt(bytes.size(), buffer, sizeof buffer, got)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
        if (bytes.size() > kMaxTableFileBytes) {
            platform::setLastReason("larger than 256 MB");
            return false;
        }
    }
}

FileStamp stampOf(const platform::FileInfo& info, std::string_view bytes, const Path& target) {
    return {true, info.size, info.modified, hashBytes(bytes), target};
}

class Save {
public:
    Save(const Path& target, std::string_view bytes, const std::string& label, const WriteFaults& faults)
        : target_(target), bytes_(bytes), label_(label), faults_(faults) {}

    TableError failure(const std::string& why) const {
        return TableError(cannotCreateMessage(label_)).because(platform::shownPath(target_) + ": " + why);
    }

    // Temporary file beside the target, flushed, renamed over it. Empty when it was
    // done; otherwise why not, with the temporary file removed again.
    std::string replace(platform::File& file, const Path& temporary, FileStamp& stamp) const {
        file.copyAccessFrom(target_);
        platform::FileInfo written;  // the rename keeps size and modification time
        bool ok = writeNewBytes(file, bytes_, faults_.failAfterBytes) &&
                  (faults_.failFlush ? injected(platform::Fault::ioError) : file.flushToDisk()) &&
                  file.info(written);
        std::string why = ok ? std::string() : platform::lastReason();
        if (!file.close() && ok) {
            ok = false;
            why = platform::lastReason();
        }
        if (ok && !(faults_.failRename ? injected(platform::Fault::accessDenied)
                                        : platform::replaceFile(temporary, target_))) {
            ok = false;
            why = platform::lastReason();
        }
        if (!ok) {
            platform::removeFile(temporary);
            return why;
        }
        platform::syncFolder(target_.parent_path());
        stamp = stampOf(written, bytes_, target_);
        return {};
    }

    // For a folder the user may not write to that holds a file the user may write.
    FileStamp rewriteInPlace() const {
        const platform::File file = platform::openForUpdate(target_);
        if (!file.valid()) throw failure(platform::lastReason());
        std::string old;
        if (!readFromStart(file, old)) throw failure(platform::lastReason());
        const std::string why = rewrite(file);
        if (!why.empty()) {
            // Put back what was there; the save failed either way.
            std::string back;
            const bool restored = file.writeAt(0, old) && file.truncate(old.size()) && file.flushToDisk() &&
                                  readFromStart(file, back) && back == old;
            throw failure(restored ? why : why + "; its old content could not be written back");
        }
        platform::FileInfo written;
        if (!file.info(written)) written = {true, bytes_.size(), 0};
        return stampOf(written, bytes_, target_);
    }

private:
    // Empty when the file now holds exactly the new bytes; otherwise why not.
    std::string rewrite(const platform::File& file) const {
        if (!writeNewBytes(file, bytes_, faults_.failAfterBytes)) return platform::lastReason();
        if (!(faults_.failTruncate ? injected(platform::Fault::ioError) : file.truncate(bytes_.size())))
            return platform::lastReason();
        if (!(faults_.failFlush ? injected(platform::Fault::ioError) : file.flushToDisk())) return platform::lastReason();
        std::string back;
        if (!readFromStart(file, back)) return platform::lastReason();
        if (faults_.failReadBack || back != bytes_) return kReadBackDiffers;
        return {};
    }

    const Path& target_;
    std::string_view bytes_;
    const std::string& label_;
    const WriteFaults& faults_;
};

platform::File refusedTemporary() {
    injected(platform::Fault::accessDenied);
    return {};
}

}  // namespace

namespace platform {

Path temporaryName(const Path& target, unsigned long process, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(process) + "-" +
                              std::to_string(counter++) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

}  // namespace platform

FileStamp writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                              const std::string& label) {
    const WriteFaults faults = gFaults;
    const auto resolved = platform::finalTarget(path);
    if (!resolved) throw Save(path, bytes, label, faults).failure(platform::lastReason());
    const Path target = *resolved;
    const Save save(target, bytes, label, faults);

    platform::FileInfo old;
    const bool existed = platform::statPath(target, old);
    if (existed && !old.regular) throw save.failure(kNotRegular);
    // A rename would replace a write-protected file; honour the protection instead.
    if (existed && !platform::mayReplace(target)) throw save.failure(platform::lastReason());

    Path temporary;
    platform::File file = faults.failTemporary ? refusedTemporary() : platform::createTemporaryBeside(target, temporary);
    if (!file.valid()) {
        if (existed) return save.rewriteInPlace();
        throw save.failure(platform::lastReason());
    }
    FileStamp stamp;
    if (const std::string why = save.replace(file, temporary, stamp); !why.empty()) throw save.failure(why);
    return stamp;
}

void setWriteFaultsForTesting(const WriteFaults& faults) { gFaults = faults; }
