#pragma once
// What a check finds: problems, each placed at a file, line and column, and the counts
// of the summary.

#include <string>
#include <vector>

enum class Severity { Error, Warning };

struct Problem {
    std::string file;  // the path as the checker was given it
    int line = 0;      // 1-based; 0: the file as a whole
    // Where on the line: the field at fault, else 1; 0 with line 0. `column` counts
    // bytes of the line as the file holds it; `characterColumn` counts characters of
    // its UTF-8 text, each byte that is not UTF-8 as one.
    int column = 0;
    int characterColumn = 0;
    Severity severity = Severity::Error;
    std::string code;     // stable name for scripts, e.g. "load-stops" (Rules.h)
    std::string message;  // may hold bytes of the file as they are
};

struct CheckResult {
    std::vector<Problem> problems;  // in file order, the monster table first
    int files = 2;
    int monsters = 0;  // as the editor would list them
    int spots = 0;     // spawn entries the editor would hold
    int errors = 0;
    int warnings = 0;
};
