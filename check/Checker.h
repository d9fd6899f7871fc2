#pragma once
// Checks a server folder's two table files and map pictures with the editor's own
// readers (tables/, pictures/), reading on after every bad line.

#include <filesystem>
#include <set>
#include <string>

#include "Problems.h"

struct CheckSettings {
    bool pictures = true;  // look at VarnexMaps/<map>.jpg of every map with spots
    // Codes of rules left out: their problems are neither listed nor counted.
    std::set<std::string, std::less<>> ignored;
};

// Reads <folder>/data/monster.txt, <folder>/data/Quarnel.txt and the pictures below
// <folder>/VarnexMaps. An empty folder means the current one; paths in the problems
// are <folder> joined with the file's relative path. Never throws for what is in the
// files: a file that cannot be read is a problem of the check.
CheckResult checkFolder(const std::filesystem::path& folder, const CheckSettings& settings);

// The same rules over the bytes the two files are to hold, not over a folder: the
// problems a check of files holding them would find, each file named by its path below
// the folder ("data/monster.txt"). Temporary files are not looked for; the map pictures
// are looked for below pictureFolder when it is given.
CheckResult checkTexts(std::string monsterBytes, std::string spawnBytes,
                       const std::filesystem::path* pictureFolder);
