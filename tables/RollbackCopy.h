#pragma once
// Rollback copies: before a table file is rewritten in its place, its old bytes go
// into a file of the editor's own, in the user's application data folder, with the
// file's path and identity, its mode, and the old and the new bytes. The saving
// process holds the copy locked until the rewrite is done or undone, and then removes
// it; one that is left and that no one holds tells the next start which bytes the file
// is to hold (StartUpRepair.h).
//
// Only the user's own copies count: the folder and each copy must belong to the user
// the editor runs as, and no one else may write to them (platform::Folder::Trust::own).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "TextFile.h"
#include "TextFilePlatform.h"

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
    platform::FileIdentity identity;  // of that file when the save began
    std::uint32_t mode = 0;  // its mode then, less set-id bits; 0 where none
    std::string oldBytes;
    std::string newBytes;
};

// The copy's bytes: a header line, the path, the identity, the sizes and hashes of
// the old and the new bytes, the mode, then the old bytes and the new ones.
std::string rollbackBytes(const RollbackRecord& record);
// Nothing when the bytes are not a whole rollback copy of this layout whose old and
// new bytes match their sizes and hashes.
std::optional<RollbackRecord> parseRollback(std::string_view bytes);

// The rollback copy of a rewrite in progress, locked while this lasts.
class HeldRollback {
public:
    HeldRollback(platform::Folder folder, std::filesystem::path name, platform::File file)
        : folder_(std::move(folder)), name_(std::move(name)), file_(std::move(file)) {}
    std::filesystem::path path() const { return folder_.path() / name_; }
    // The rewrite is done, or undone: the copy goes.
    void remove() const { folder_.remove(name_); }

private:
    platform::Folder folder_;
    std::filesystem::path name_;
    platform::File file_;
};

// Writes the rollback copy for a file about to be rewritten, flushed under its own
// name "<file name>.<process>-<n>.rollback" in rollbackFolder(), made for the user
// alone (0700) when missing. Nothing when it cannot, or when the folder is not the
// user's own, with "<folder>: <why>" in the file layer's lastReason().
std::optional<HeldRollback> writeRollbackCopy(const std::filesystem::path& file, const platform::FileIdentity& identity,
                                              std::uint32_t mode, std::string_view oldBytes,
                                              std::string_view newBytes, const WriteFaults& faults);

// Whether a name in the rollback folder is a rollback copy's.
bool isRollbackName(std::string_view name);
// The name a copy is kept under once it is put aside, no longer to be put back:
// "<name>.kept" in place of "<name>.rollback".
std::filesystem::path keptName(const std::filesystem::path& copy);
// The table file's name that a kept copy's name "<file name>.<process>-<n>.kept"
// begins with, and its <n> (which only grows within one process); empty for any
// other name.
std::string keptCopyOf(std::string_view name, unsigned long long* number = nullptr);
