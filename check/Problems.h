#pragma once
// What a check finds: problems, each placed at a file and line, and the counts of
// the summary.

#include <string>
#include <vector>

enum class Severity { Error, Warning };

struct Problem {
    std::string file;  // the path as the checker was given it
    int line = 0;      // 1-based; 0: the file as a whole
    Severity severity = Severity::Error;
    std::string code;     // stable name for scripts, e.g. "load-stops"
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
