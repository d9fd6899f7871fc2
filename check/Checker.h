#pragma once
// Checks a server folder's two table files and map pictures with the editor's own
// readers (tables/, pictures/), reading on after every bad line.
//
// check/ is `varnex-check`, a second program beside the editor with no Qt at all (standard C++ on
// tables/ and pictures/). It holds no format rules of its own: it runs the editor's readers with a
// `LineSink` (tables/LineSink.h), which makes `MonsterTable::loadFromText` and
// `SpawnTable::loadFromText` report each line where the editor's load would stop and go on with the
// next (one reading loop each; without a sink they throw at the first bad line, as the editor
// needs) and says which line each monster and spawn entry came from. It then reads every monster
// line with `readMonsterLine` and compares the values with the field table's bounds
// (`clampToField`, `kMoveRangeNames`), takes the duplicate rule from `MonsterTable::indexOf` (the
// monster `getmonsterbyid` finds), the spawn file's dropped lines from the reader's notices, and
// the picture path from `mapPicturePath` (pictures/MapPicture.h, which the preview uses too). The
// monster lines the check could not take (where the load stops, from a NUL byte on, past the 1024th
// monster) give the numbers in their first column (`monsterNumberOf`, as the table reads it) to
// `UnreadMonsters`; a spawn line dropped for one of those follows from that line, and
// `SpawnCheck.cpp` sums all of them up in one note (severity `Note`, which never fails a run)
// instead of an error each. `Run.cpp` parses the arguments, `MonsterCheck.cpp` and `SpawnCheck.cpp`
// compose the readers (`FileReport` keeps a file's bytes and places each problem at its line and
// column), `Rules.h` lists every rule code with its severity, its one-line summary (for `--help`
// and `--ignore`) and its help (what it finds, why the editor cares, how to fix the line),
// `Report.cpp` writes lines or JSON and `SarifReport.cpp` a SARIF 2.1.0 log for code scanning: the
// rules with their help, files as URIs relative to the root `SRCROOT` (the folder checked, or
// `--base`), and per result a fingerprint of the rule, the file and the line's bytes (`FileReport`
// hashes the line when it adds the problem), which stays when lines are added above. The program
// (main.cpp) writes the report to standard output through a stream buffer that keeps the system's
// reason for a write that fails (a full disk, a closed output, a broken pipe, with SIGPIPE
// ignored), which is then reported with exit status 2. Its tests (tests/check/) drive it in-process
// over crafted folders and the planted folder `tests/check/planted`, and check every error it
// reports against the editor's own readers (where the load stops or a monster cannot be shown);
// Python tests run the program itself: its JSON against its text output, its failed writes, and its
// SARIF against the SARIF 2.1.0 schema (tests/check/ sarif-2.1.0.json, with Debian's
// python3-jsonschema).

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

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
CheckResult checkTexts(std::string_view monsterBytes, std::string_view spawnBytes,
                       const std::filesystem::path* pictureFolder);
