#pragma once
// Rollback copies: before a table file is rewritten in its place, its old bytes go
// into a file of the editor's own, in the user's application data folder, with the
// file's path and the sizes and hashes of the old and the new bytes. The copy is
// removed once the rewrite is done or undone; one that is left tells the next start
// which bytes the file is to hold (StartUpRepair.h).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "TextFile.h"

// The editor's own data folder: varnex/ below the user's data folder (~/.local/share,
// $XDG_DATA_HOME, %LOCALAPPDATA%), as Qt's AppLocalDataLocation names it; empty when
// the system names no user folder.
std::filesystem::path appDataFolder();
// Seam for tests: the editor's data folder is this one from now on; {} goes back.
void setAppDataFolderForTesting(const std::filesystem::path& folder);
// appDataFolder()/rollback
std::filesystem::path rollbackFolder();

struct RollbackRecord {
    std::filesystem::path file;  // the file rewritten in place, after symbolic links
    std::uint64_t oldSize = 0;
    std::uint64_t oldHash = 0;
    std::uint64_t newSize = 0;
    std::uint64_t newHash = 0;
    std::uint32_t mode = 0;  // before the rewrite (a write may clear set-id bits); 0 where none
    std::string oldBytes;
};

// The copy's bytes: a header line, the path, the sizes and hashes, the mode, then the
// old bytes.
std::string rollbackHeader(const RollbackRecord& record);
// Nothing when the bytes are not a whole rollback copy whose old bytes match their hash.
std::optional<RollbackRecord> parseRollback(std::string_view bytes);

// Writes the rollback copy for a file about to be rewritten, made in rollbackFolder()
// and flushed under its own name "<file name>.<process>-<n>.rollback". Nothing when it
// cannot, with "<path>: <the system's words>" in the file layer's lastReason().
std::optional<std::filesystem::path> writeRollbackCopy(const std::filesystem::path& file, std::string_view oldBytes,
                                                       std::string_view newBytes, std::uint32_t mode,
                                                       const WriteFaults& faults);

// The process that wrote a rollback copy of this name; 0 when the name is not one.
unsigned long rollbackOwner(std::string_view name);
