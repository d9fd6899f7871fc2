#pragma once
// varnex-check [OPTION]... [FOLDER]: the whole program, apart from turning main's
// arguments into strings and writing what it gives out.

#include <ostream>
#include <string>
#include <vector>

#include "Problems.h"

inline constexpr int kExitClean = 0;      // no error; warnings allowed
inline constexpr int kExitErrors = 1;     // at least one error
inline constexpr int kExitCannotRun = 2;  // no such folder, bad arguments, output not written

// args: the arguments after the program's name. The report goes to out; why it
// cannot run goes to err (and, as a document, to out when JSON or SARIF was asked for).
int runVarnexCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The status of a run that checked: kExitErrors with an error, or with a warning when
// failOn is Severity::Warning; else kExitClean. Notes never fail a run.
inline int exitStatusOf(const CheckResult& result, Severity failOn = Severity::Error) {
    const bool failed = result.errors > 0 || (failOn == Severity::Warning && result.warnings > 0);
    return failed ? kExitErrors : kExitClean;
}

// The text of --help.
std::string usageText();
