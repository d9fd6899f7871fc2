#pragma once
// What the editor's save would change in a server folder's table files with no edit
// made: each file against the bytes its save writes (its normal form), as a unified diff.

#include <filesystem>
#include <string>

// The unified diff of data/monster.txt, then of data/Quarnel.txt, each against what
// the editor would save after reading it, labelled "a/data/..." and "b/data/..." (so
// that `patch -p1` in the folder would write the normal form). Nothing for a file
// that is already in it, nor for one the editor would not save: a file it cannot read
// to its end, or a spawn file it does not read (the monster table stopped it).
std::string normalFormDiff(const std::filesystem::path& folder);
