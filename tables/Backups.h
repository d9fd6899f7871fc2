#pragma once
// Numbered backups of a table file, named as `cp --backup=numbered` names them:
// "<name>.~1~", "<name>.~2~", ... beside the file. The game server reads none of them,
// and the highest number is the newest. Every name is looked at in a folder held open
// (platform::Folder), never followed as a link.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"
#include "TextFilePlatform.h"

// The numbers of the backups of `name` in the folder, lowest first.
std::vector<unsigned long long> backupNumbers(const platform::Folder& folder, const std::string& name);
std::filesystem::path backupName(const std::string& name, unsigned long long number);

// Whether the newest backup of `name` in the folder holds exactly these bytes.
bool newestBackupHolds(const platform::Folder& folder, const std::string& name, std::string_view bytes);

// Writes bytes as the next backup of `name` into the folder, flushed; only its user
// may read it until it has the access rights of the open file accessFrom, when given
// (never set-id bits). Gives its path; nothing when it cannot, with
// "<folder>: <the system's words>" in the file layer's lastReason().
std::optional<std::filesystem::path> writeBackup(const platform::Folder& folder, const std::string& name,
                                                 std::string_view bytes, const platform::File* accessFrom,
                                                 const WriteFaults& faults);

// Removes all but the newest `keep` backups of `name`; what cannot be removed stays.
void pruneBackups(const platform::Folder& folder, const std::string& name, int keep);
