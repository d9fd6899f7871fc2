#pragma once
// What a check finds: problems, each placed at a file, line and column, and the counts
// of the summary.

#include <cstdint>
#include <string>
#include <vector>

// A note tells what follows from a problem reported elsewhere: it never fails a run.
enum class Severity { Error, Warning, Note };

struct Problem {
    std::string file;  // the path as the checker was given it
    // The file's path below the folder checked, with "/" between its parts
    // ("data/monster.txt"): where the file lies whatever the folder was called.
    std::string inFolder;
    int line = 0;      // 1-based; 0: the file as a whole
    // Where on the line: the field at fault, else 1; 0 with line 0. `column` counts
    // bytes of the line as the file holds it; `characterColumn` counts characters of
    // its UTF-8 text, each byte that is not UTF-8 as one.
    int column = 0;
    int characterColumn = 0;
    Severity severity = Severity::Error;
    std::string code;     // stable name for scripts, e.g. "load-stops" (Rules.h)
    std::string message;  // may hold bytes of the file as they are
    // Of the line's bytes as the file holds them (0 for the file as a whole): what
    // follows a problem when lines are added or removed above it.
    std::uint64_t lineHash = 0;
};

struct CheckResult {
    std::vector<Problem> problems;  // in file order, the monster table first
    int files = 2;
    int monsters = 0;  // as the editor would list them
    int spots = 0;     // spawn entries the editor would hold
    int errors = 0;
    int warnings = 0;
    int notes = 0;
};
