#pragma once
// Whole-file reading and writing of the table files. Bytes are bytes: no code-page
// conversion. Reading: a line ends at CR, LF or CR LF; a NUL byte ends the text.
// Writing: every line, the last one included, is followed by CR LF.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitLines(std::string_view bytes);

// The lines splitLines gives, one at a time and without copying them.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes);  // the text ends at a NUL byte
    // The next line without its line end; false after the last one.
    bool next(std::string_view& line);
    // At least as many lines as are left (for reserving room).
    std::size_t linesLeftAtMost() const;

private:
    const char* p_;
    const char* end_;
    // Where the next CR and the next LF are (end_ when none is left), found with memchr
    // and looked for again only once passed.
    const char* cr_ = nullptr;
    const char* lf_ = nullptr;
};
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// The 1-based number of the line that holds the first NUL byte (the line splitLines
// would give next, or its last line when the NUL cuts that one short); 0 without a NUL.
int lineOfFirstNul(std::string_view bytes);

// What the editor knows of a file as it last read or wrote it. Two stamps of the same
// file differ when another program has changed, made or removed it in between, or
// has turned its symbolic link to another file.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // modification time, nanoseconds since the epoch
    std::uint64_t hash = 0;     // of the bytes; 0 when they could not be read
    // The file itself, after every symbolic link on the way: the file a save replaces.
    std::filesystem::path file;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file as it is now; never throws. A missing file gives {}.
FileStamp stampFile(const std::filesystem::path& path);
std::uint64_t hashBytes(std::string_view bytes);

// A file and the stamp the editor remembers of it.
struct SeenFile {
    std::filesystem::path path;
    FileStamp stamp;
    // Whether the file at `at` now differs from what was seen. A file never seen by
    // the editor counts as seen missing: it is changed only if it exists now.
    bool changedAt(const std::filesystem::path& at) const;
    // From now on the file of interest is `target`: unless that is the file already
    // seen, its stamp is taken as it is now.
    void retarget(const std::filesystem::path& target);
};

// The question put before a save replaces such a file: "<label> was changed by another
// program since the editor read it. Overwrite those changes?"
std::string changedFileQuestion(std::string_view label);

// Only regular files up to this size are read; anything else is refused, so a named
// pipe cannot block the editor and a device cannot fill its memory.
inline constexpr std::uint64_t kMaxTableFileBytes = 256ull << 20;

// Throws TableError(cannotOpenMessage(label)) when the file cannot be read, with the
// full path and the system's reason (or "not a regular file", "larger than 256 MB")
// as its reason. When stamp is given, it receives the file's stamp
// as of the start of the read.
std::string readWholeFile(const std::filesystem::path& path, const std::string& label,
                          FileStamp* stamp = nullptr);

// Replaces the file: writes a temporary file beside it, flushes it to disk and renames
// it over the file, which keeps its permissions and, where the process may, its owner
// and group. A symbolic link stays a link: what is replaced is the file at the end of
// its chain. When no file can be made in that folder but the file itself may be
// written, it is rewritten in its place instead and read back; should that fail part
// way, its old bytes are written back. Either way the save succeeds only when the file
// holds exactly the new bytes. A write-protected file is never replaced.
// On failure throws TableError(cannotCreateMessage(label)) with the file's full path
// and the system's reason as its reason, having left the old file as it was and no
// temporary file behind. Gives the stamp of the new file.
FileStamp writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                              const std::string& label);

// Seam for tests: makes the next saves fail on purpose, each fault with the reason the
// system would give for it. Reset with {}.
struct WriteFaults {
    long long failAfterBytes = -1;  // the disk is full once this many new bytes are written; -1: never
    bool failFlush = false;
    bool failRename = false;
    // No temporary file can be made ("Permission denied"), so the file is rewritten in
    // place; failAfterBytes and failFlush then strike inside that rewrite.
    bool failTemporary = false;
    bool failTruncate = false;  // in place: cutting the file to its new length fails
    bool failReadBack = false;  // in place: the bytes read back differ from those written
};
void setWriteFaultsForTesting(const WriteFaults& faults);

// "data/monster.txt" and "data/Quarnel.txt" with the platform's separator.
std::string monsterFileLabel();
std::string spawnFileLabel();
