#pragma once
// The operating system's side of reading and saving the table files: the one place in
// tables/ that calls the platform (TextFilePosix.cpp, TextFileWindows.cpp). Whatever
// the save does step by step, and every fault a test injects, lives above it in
// TextFileSave.cpp, so both platforms run the same sequence.
//
// A call that fails returns false (or an invalid handle) and leaves the reason the
// system gave, in words ("Permission denied"), in lastReason().

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "TextFile.h"

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

// What the system says of a file: after symbolic links, as reading it would see it.
struct FileInfo {
    bool regular = false;  // a plain file on disk: no folder, pipe or device
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970
};

// Owns an open file and closes it whatever way the scope is left.
class File {
public:
    File() = default;
    explicit File(std::intptr_t native) : native_(native) {}
    ~File() { close(); }
    File(File&& other) noexcept : native_(other.native_) { other.native_ = kInvalid; }
    File& operator=(File&&) = delete;
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
    // Writing clears a file's set-user-ID bit (and a set-group-ID bit that goes with
    // group execution) unless the process may keep them. Whether this process can
    // give them back after rewriting the file; false, with the reason, when not.
    bool writingKeepsMode() const;
    // The mode bits, set-id and sticky bits included, to give back with restoreMode
    // after writing; 0 where the system has none.
    std::uint32_t modeNow() const;
    bool restoreMode(std::uint32_t mode) const;
    // Gives this (new) file the access rights of `from`, and its owner and group where
    // the process may. False, with the reason, when what the system keeps of a file's
    // owner, group and mode (set-id and sticky bits included) is not the same now;
    // true when `from` is no regular file.
    bool copyAccessFrom(const Path& from) const;

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
// For rewriting in place: read and write, neither made nor cut short.
File openForUpdate(const Path& path);
// A new, empty file beside the target (same folder, a hidden name no other writer
// picks at once), for writing; `made` receives its name.
File createTemporaryBeside(const Path& target, Path& made);
// False, with the reason, when the existing file is protected against writing (mode
// bits, read-only attribute) for this process.
bool mayReplace(const Path& path);
// Puts `from` in the place of `to` in one step, whether or not `to` exists.
bool replaceFile(const Path& from, const Path& to);
// Gives the finished file `from` the name `to` unless that name is taken; `taken` then
// becomes true.
bool nameIfFree(const Path& from, const Path& to, bool& taken);
bool removeFile(const Path& path);
// Makes a rename in this folder survive a power cut, where the system can.
void syncFolder(const Path& folder);

// The name of a temporary file beside the target: ".<name>.tmp-<process>-<n>-<attempt>".
Path temporaryName(const Path& target, unsigned long process, unsigned attempt);

unsigned long currentProcess();
// Whether a process with this number runs now (one the user may not signal counts).
bool processRunning(unsigned long process);
// Where the user's programs keep their own data: $XDG_DATA_HOME or ~/.local/share,
// ~/Library/Application Support on macOS, %LOCALAPPDATA% on Windows. Empty when the
// system does not say.
Path userDataFolder();

// The whole of an open regular file from its start, refused ("larger than 256 MB")
// beyond the bound before any room is reserved (TextFile.cpp, over the calls above).
bool readWhole(const File& file, std::string& bytes, std::uint64_t limit = kMaxTableFileBytes);
// The same for the file a name leads to.
bool readWhole(const Path& path, std::string& bytes, std::uint64_t limit = kMaxTableFileBytes);

}  // namespace platform
