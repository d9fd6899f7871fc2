#pragma once
// The operating system's side of reading and saving the table files: the one place in
// tables/ that calls the platform (TextFilePosix.cpp and FolderPosix.cpp, or
// TextFileWindows.cpp and FolderWindows.cpp). Whatever
// the save does step by step, and every fault a test injects, lives above it in
// TextFileSave.cpp, so both platforms run the same sequence.
//
// A call that fails returns false (or an invalid handle) and leaves the reason the
// system gave, in words ("Permission denied"), in lastReason().

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "TableFileLimit.h"

namespace platform {

using Path = std::filesystem::path;

// A name as the operator reads it in a report: the full path.
inline std::string shownPath(const Path& path) {
    std::error_code error;
    const Path full = std::filesystem::absolute(path, error);
    return (error ? path : full).string();
}

const std::string& lastReason();
void setLastReason(std::string reason);

// The system's words for the faults a test injects, so an injected fault reads as
// the real one would.
enum class Fault { diskFull, ioError, accessDenied };
std::string reasonFor(Fault fault);

// What makes a file that file and no other, whatever its name: two open files or
// names with the same identity are one file (device and inode; on Windows the
// volume's serial number and the file's index).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What the system says of a file: after symbolic links, as reading it would see it.
struct FileInfo {
    bool regular = false;  // a plain file on disk: no folder, pipe or device
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970
    FileIdentity identity;
};

// Owns an open file and closes it whatever way the scope is left.
class File {
public:
    File() = default;
    explicit File(std::intptr_t native) : native_(native) {}
    ~File() { close(); }
    File(File&& other) noexcept : native_(other.native_) { other.native_ = kInvalid; }
    File& operator=(File&& other) noexcept {
        if (this != &other) {
            close();
            native_ = std::exchange(other.native_, kInvalid);
        }
        return *this;
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool valid() const { return native_ != kInvalid; }
    std::intptr_t native() const { return native_; }
    bool close();

    bool info(FileInfo& out) const;
    // Writes all bytes at this offset (the file position is left anywhere).
    bool writeAt(std::uint64_t offset, std::string_view bytes) const;
    bool readAt(std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got) const;
    bool truncate(std::uint64_t size) const;
    bool flushToDisk() const;
    // Takes a lock on the file that no other opening of it, in this process or
    // another, can take while this one lasts: until the file is closed or the process
    // ends, however it ends. False at once when another holds it (busy() is then
    // true), so whoever holds it is known to be alive; a process number is not.
    bool tryLock() const;
    // The mode bits, sticky bit included, to give back with restoreMode after
    // writing; 0 where the system has none.
    std::uint32_t modeNow() const;
    bool restoreMode(std::uint32_t mode) const;
    // Gives this (new) file the access rights of the open file `from`, and its owner
    // and group where the process may; never a set-user-ID or set-group-ID bit, since
    // a table is no program and whoever placed the file read may not choose who runs
    // what. False, with the reason, when what the system keeps of the owner, group and
    // mode (less those bits) is not the same now. Taken from the file opened, never from
    // a name looked up again, which another user may have turned elsewhere meanwhile.
    bool copyAccessFrom(const File& from) const;

private:
    static constexpr std::intptr_t kInvalid = -1;
    std::intptr_t native_ = kInvalid;
};

// The file a name leads to after every symbolic link on the way (a chain, relative
// links taken from the link's own folder). A name that is no link comes back as it
// is, and so does a link to nothing yet: a save then makes the file it names.
// Fails only for a loop of links.
std::optional<Path> finalTarget(const Path& path);

// False when the name does not exist or cannot be looked at (lastReason says which).
bool statPath(const Path& path, FileInfo& out);
bool exists(const Path& path);
// Whether the name leads nowhere (no such file, or a folder on the way missing), as
// opposed to somewhere that cannot be looked at.
bool missing(const Path& path);
// Opening never waits: not for the writer of a named pipe, not for a device.
File openForReading(const Path& path);

// Whether the last call failed because another process holds the file (its lock, or
// on Windows an opening that shares nothing).
bool busy();

// A folder held open: the names in it are looked up there, whatever becomes of the
// folder's path meanwhile, and a name in it is never followed as a symbolic link.
// Names are single file names.
class Folder {
public:
    enum class Trust {
        any,
        // The folder must be a folder of its own (no symbolic link) that belongs to the
        // user the process runs as and that no one else may write to; so must every
        // file opened in it. On Windows, where a user's data folder is closed to other
        // users by its access list, it must be no link (reparse point), nor its files.
        own,
    };
    // Invalid, with the reason, when the folder cannot be opened or is not to be trusted.
    static Folder open(const Path& path, Trust trust);
    Folder() = default;
    Folder(Folder&& other) noexcept
        : path_(std::move(other.path_)), native_(std::exchange(other.native_, kInvalid)), trust_(other.trust_) {}
    Folder& operator=(Folder&& other) noexcept {
        if (this != &other) {
            release();
            path_ = std::move(other.path_);
            native_ = std::exchange(other.native_, kInvalid);
            trust_ = other.trust_;
        }
        return *this;
    }
    ~Folder() { release(); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    bool valid() const { return native_ != kInvalid; }
    const Path& path() const { return path_; }
    // Every name in the folder; empty when it cannot be listed.
    std::vector<Path> list() const;
    // A regular file of the folder, no symbolic link, opened for reading and, where
    // the process may, for writing; in an own folder only a file that belongs to the
    // user and that no one else may write to.
    File openFile(const Path& name) const;
    // The same, for reading alone, sharing it with every other opening; or, for
    // rewriting in place, for reading and writing, neither made nor cut short.
    File openToRead(const Path& name) const;
    File openToUpdate(const Path& name) const;
    // Whether the name leads nowhere, as opposed to somewhere that cannot be looked at.
    bool missing(const Path& name) const;
    // What the system says of the name itself (a link as a link: not regular).
    bool infoOf(const Path& name, FileInfo& out) const;
    // False, with the reason, when the file opened under this name is write-protected:
    // its own mode gives its owner no write permission (the read-only attribute on
    // Windows), whoever the process runs as, root included; or the system would not let
    // this process write it.
    bool mayReplace(const Path& name, const File& file) const;
    // A new, empty file named ".<base>.tmp-<process>-<n>-<attempt>", locked
    // (File::tryLock) before anyone else can lock it, for writing. With privateAccess
    // only its user may read it (0600); else the umask decides, as for any new file.
    // `made` receives its name.
    File createLocked(const std::string& base, bool privateAccess, Path& made) const;
    // Whether the name still leads to this open file.
    bool holds(const Path& name, const File& file) const;
    // Gives the file `from` the name `to` as well, unless that name is taken (`taken`
    // then becomes true). The old name may stay, for the caller to remove (where the
    // system has no second names for a file, the file is renamed instead).
    bool nameIfFree(const Path& from, const Path& to, bool& taken) const;
    // Puts `from` in the place of `to` in one step, whether or not `to` exists.
    bool replace(const Path& from, const Path& to) const;
    bool remove(const Path& name) const;
    // Makes the names given in this folder survive a power cut, where the system can.
    void sync() const;

private:
    void release();  // closes the folder's handle, if it has one
    static constexpr std::intptr_t kInvalid = -1;
    Path path_;
    std::intptr_t native_ = kInvalid;
    Trust trust_ = Trust::any;
};

// Makes the folder, for its user alone (0700), unless it is there; the folder above
// it must be there. False, with the reason, when it cannot.
bool makeOwnFolder(const Path& path);

// The name of a temporary file: ".<base>.tmp-<process>-<n>-<attempt>".
Path temporaryName(const std::string& base, unsigned long process, unsigned attempt);

unsigned long currentProcess();
// Whether a process of this number runs now (of any user).
bool processExists(unsigned long process);

// Where the process runs as root and a folder on the way to the files worked on (the
// folder of each, or one above it) belongs to another user, this thread's file
// operations have that user's rights while this lasts: its file-system user and group
// and its groups, as sudoedit works. Whatever that user placed there (a link, a file
// swapped in at the right moment) then reaches no further than the user could reach
// alone, and what is made there is the user's. Where the process is no root, or those
// folders are root's, or the system has no rights of a thread's own (Windows), nothing
// changes.
class FolderOwnerRights {
public:
    explicit FolderOwnerRights(const std::vector<Path>& files);
    ~FolderOwnerRights();
    FolderOwnerRights(const FolderOwnerRights&) = delete;
    FolderOwnerRights& operator=(const FolderOwnerRights&) = delete;

    // False when the user's rights were to be taken and could not be (why() says why):
    // nothing is to be done then.
    bool ok() const { return why_.empty(); }
    const std::string& why() const { return why_; }
    // For a message: "" where nothing changed, else whose rights these are and why.
    const std::string& whose() const { return whose_; }

    // The process's own rights again while this lasts: for its own data folder, and
    // for questions to the operator.
    class Paused {
    public:
        explicit Paused(const FolderOwnerRights& rights);
        ~Paused();
        Paused(const Paused&) = delete;
        Paused& operator=(const Paused&) = delete;

    private:
        const FolderOwnerRights& rights_;
    };

private:
    bool take() const;
    void giveBack() const;
    bool taken_ = false;
    std::uint32_t user_ = 0;
    std::uint32_t group_ = 0;
    std::vector<std::uint32_t> groups_;     // the user's
    std::vector<std::uint32_t> ownGroups_;  // the process's, given back
    std::string why_;
    std::string whose_;
};
// Where the user's programs keep their own data: $XDG_DATA_HOME or ~/.local/share,
// ~/Library/Application Support on macOS, %LOCALAPPDATA% on Windows. Empty when the
// system does not say.
Path userDataFolder();

// The whole of an open regular file from its start, refused ("larger than 256 MB")
// beyond the bound before any room is reserved (TextFilePlatform.cpp, over the calls
// above, the same on both platforms).
bool readWhole(const File& file, std::string& bytes, std::uint64_t limit = kMaxTableFileBytes);
// The same for the file a name leads to.
bool readWhole(const Path& path, std::string& bytes, std::uint64_t limit = kMaxTableFileBytes);

// Seam for tests: told, in order, of every file flushed to disk ("flush") and every
// file given its place by a rename ("rename"), by identity. Reset with {}.
using SyncObserver = std::function<void(std::string_view event, const FileIdentity& file)>;
void observeSyncForTesting(SyncObserver observer);
// What the file layer calls; nothing happens unless a test observes.
bool syncObserved();
void noteSync(std::string_view event, const FileIdentity& file);

}  // namespace platform
