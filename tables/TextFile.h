#pragma once
// Whole-file reading and writing of the table files. Bytes are bytes: no code-page
// conversion. Reading: a line ends at CR, LF or CR LF; a NUL byte ends the text.
// Writing: every line, the last one included, is followed by CR LF.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> splitLines(std::string_view bytes);
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Throws TableError(cannotOpenMessage(label)) when the file cannot be read.
std::string readWholeFile(const std::filesystem::path& path, const std::string& label);

// Replaces the file atomically: writes a temporary file in the same folder, flushes
// it to disk and renames it over the target. On any failure the old file is left
// byte for byte as it was, the temporary file is removed, and
// TableError(cannotCreateMessage(label)) is thrown.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
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
