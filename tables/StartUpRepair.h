#pragma once
// What the editor puts right before it reads the tables, after a save that did not
// finish (the process died, the power went): a table file left part-written in place
// gets its old bytes back from its rollback copy (RollbackCopy.h), and temporary files
// of saves beside the table files are removed. Whatever a running save holds locked is
// left alone, so a process number taken over by another process changes nothing.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A temporary file of a save, ".<name>.tmp-<process>-<n>-<attempt>", beside a table file.
struct LeftTemporary {
    std::filesystem::path path;
    unsigned long process = 0;  // the process that made it, by its name
    bool running = false;       // a save that is running holds it (its lock)
    bool processRuns = false;   // a process of that number runs now: whether it is the maker, only the lock says
};

// The temporary files of saves beside the file at the end of tableFile's links.
std::vector<LeftTemporary> leftTemporaries(const std::filesystem::path& tableFile);

// Whether an in-place rewrite of `old` into `neu` that was cut short, or undone part
// way, can have left `present`: the old bytes with a stretch of the new ones written
// over them at their own places, or a shorter file of such bytes.
bool rewriteExplains(std::string_view present, std::string_view old, std::string_view neu);

// Settles the rollback copies no running save holds, for the table files of this run
// (tableFiles, after their links): a file that holds its old or its new bytes just
// loses the copy; a file a rewrite left part-written gets its old bytes back, once
// what it held is kept as a numbered backup beside it or in the rollback folder (and
// nothing is written where it cannot be kept); a file that holds anything else, or
// that is another file now, was changed since and is kept as it is, with the copy put
// aside. Copies in a rollback folder, or copies themselves, that are not the user's
// own alone are never used. Then removes the temporary files of saves beside these
// table files that no running save holds, and names those left with why. Gives one
// line for the operator per thing put back, kept or not used, one for the temporary
// files removed and one for those left, and one saying where what was kept is;
// nothing when all was well. Of what it keeps in the rollback folder, only the newest
// kBackupsKept kept copies and backups of each table file's name stay; beside each
// table file only its newest kBackupsKept backups stay, as after a save.
std::vector<std::string> repairInterruptedSaves(const std::vector<std::filesystem::path>& tableFiles);
