#pragma once
// Spots as lines of the spawn file, for the clipboard: a copy writes what a save would
// write for them, so that they can be pasted into the file with a text editor, and a
// paste reads such lines, from the editor or from a text editor, with the spawn file's
// own reader and checks.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SpawnTable.h"

class MonsterTable;

// Where a pasted line at fault is said to be: "the pasted text, line 3".
inline constexpr const char* kPastedTextLabel = "the pasted text";

inline constexpr int kNamedPastedLines = 5;

// The spots' sections, as sectionsText writes them without the empty ones.
std::string spawnLinesText(std::span<const SpawnEntry> spots);

// The spots of the text, read as the spawn file is read: lines before the first section
// marker are of type 0; comments, blank lines and blanks are passed over. Throws
// TableError, placed at kPastedTextLabel and the line, where reading the file would
// stop, and when a line names a monster the monster table does not list (the file's
// reader drops such a line; a paste refuses it, naming the first kNamedPastedLines such
// lines and counting the rest). Spot numbers count from 0.
std::vector<SpawnEntry> readSpawnLines(std::string_view text, const MonsterTable& monsters);
