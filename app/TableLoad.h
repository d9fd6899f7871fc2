#pragma once
// The start-up reading of both tables, kept apart from showing what it found, so that
// it can run on a thread of its own while the windows are made (StartUpWork.h). The
// main window then shows the errors and the dropped-line notices in the order the
// reading met them.

#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"

struct TableLoad {
    MonsterTable monsters;
    SpawnTable spawns;
    // Why the monster table's reading stopped. The spawn file is then left unread: a
    // monster table read in part would drop the spawn lines of the monsters it did not
    // reach, as if they were missing.
    std::exception_ptr monsterError;
    std::vector<MissingMonster> dropped;  // in file order
    std::exception_ptr spawnError;        // why the spawn file's reading stopped
    // What the start put right or found before reading, one line each, to be shown to
    // the operator before the errors: a table file given back its old content after a
    // save that did not finish, or kept as another program left it; rollback copies
    // not used, and why; temporary files of such saves removed; and that the spawn
    // file is saved in another folder than it is read from.
    std::vector<std::string> notices;
};

// First puts right what saves that did not finish left (StartUpRepair.h), then reads
// <workFolder>/data/monster.txt and, when it read whole, data/Quarnel.txt, whose
// save target below programFolder (empty: the working folder) it remembers.
// Shows nothing and throws nothing: whatever stops a reading is kept for the window.
TableLoad loadTables(const std::filesystem::path& workFolder, const std::filesystem::path& programFolder = {});
