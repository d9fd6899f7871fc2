#pragma once
// What the editor puts right before it reads the tables, after a save that did not
// finish (the process died, the power went): a file left part-rewritten in place gets
// its old bytes back from its rollback copy (RollbackCopy.h), and temporary files of
// saves beside the table files are removed. A save of a process that still runs is
// left alone.

#include <filesystem>
#include <string>
#include <vector>

// A temporary file of a save, ".<name>.tmp-<process>-<n>-<attempt>", beside a table file.
struct LeftTemporary {
    std::filesystem::path path;
    unsigned long process = 0;  // the process that made it
    bool running = false;       // whether that process runs now (a save in progress)
};

// The temporary files of saves beside the file at the end of tableFile's links. This
// process counts as not running: nothing of its own is in progress when it looks.
std::vector<LeftTemporary> leftTemporaries(const std::filesystem::path& tableFile);

// Puts back what rollback copies left by processes that no longer run say (a file
// that holds neither its old nor its new bytes gets its old ones; what it held is
// kept as a numbered backup beside it, or in the rollback folder), removes their
// copies, and removes the temporary files of saves beside these table files. Gives
// one line for the operator per thing put back or found amiss, and one for the
// temporary files removed; nothing when all was well.
std::vector<std::string> repairInterruptedSaves(const std::vector<std::filesystem::path>& tableFiles);
