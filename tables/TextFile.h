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
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// The 1-based number of the line that holds the first NUL byte (the line splitLines
// would give next, or its last line when the NUL cuts that one short); 0 without a NUL.
int lineOfFirstNul(std::string_view bytes);

// What the editor knows of a file as it last read or wrote it. Two stamps of the same
// file differ when another program has changed, made or removed it in between.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // modification time, nanoseconds since the epoch
    std::uint64_t hash = 0;     // of the bytes; 0 when they could not be read
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
// full path and why as its reason. When stamp is given, it receives the file's stamp
// as of the start of the read.
std::string readWholeFile(const std::filesystem::path& path, const std::string& label,
                          FileStamp* stamp = nullptr);

// Replaces the file atomically: writes a temporary file in the same folder, flushes
// it to disk and renames it over the target. On any failure the old file is left
// byte for byte as it was, the temporary file is removed, and
// TableError(cannotCreateMessage(label)) is thrown. Gives the stamp of the new file.
FileStamp writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                              const std::string& label);

// Seam for tests: makes the next atomic writes fail on purpose. Reset with {}.
struct WriteFaults {
    long long failAfterBytes = -1;  // write error once this many bytes are written; -1: never
    bool failFlush = false;
    bool failRename = false;
};
void setWriteFaultsForTesting(const WriteFaults& faults);

// "data/monster.txt" and "data/Quarnel.txt" with the platform's separator.
std::string monsterFileLabel();
std::string spawnFileLabel();
