#pragma once
// varnex-check [--json] [--quiet] [--no-pictures] [FOLDER]: the whole program, apart
// from turning main's arguments into strings.

#include <ostream>
#include <string>
#include <vector>

inline constexpr int kExitClean = 0;      // no error; warnings allowed
inline constexpr int kExitErrors = 1;     // at least one error
inline constexpr int kExitCannotRun = 2;  // no such folder, bad arguments

// args: the arguments after the program's name. The report goes to out; why it
// cannot run goes to err.
int runVarnexCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text of --help.
std::string usageText();
