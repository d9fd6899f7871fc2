#pragma once
// What a report of varnex-check is asked for, and the exit status a run gives: shared
// by the program's run, its text and JSON report and its SARIF log.

#include <string>

#include "Problems.h"

inline constexpr int kExitClean = 0;      // no error; warnings allowed
inline constexpr int kExitErrors = 1;     // at least one error
inline constexpr int kExitCannotRun = 2;  // no such folder, bad arguments, output not written

enum class Format { Text, Json, Sarif };

struct ReportSettings {
    Format format = Format::Text;
    bool quiet = false;  // errors only; warnings and notes are counted, not listed
    // The least severity that makes the exit status kExitErrors: Error, or Warning
    // (a note never does).
    Severity failOn = Severity::Error;
    // SARIF names every file by a URI relative to its root (SRCROOT): the root as an
    // absolute "file:" URI ending in "/", and the folder checked below it, "" when the
    // root is that folder, else a relative URI ending in "/" ("server/").
    std::string sarifRootUri;
    std::string sarifFolderUri;
};

// The status of a run that checked: kExitErrors with an error, or with a warning when
// failOn is Severity::Warning; else kExitClean. Notes never fail a run.
inline int exitStatusOf(const CheckResult& result, Severity failOn = Severity::Error) {
    const bool failed = result.errors > 0 || (failOn == Severity::Warning && result.warnings > 0);
    return failed ? kExitErrors : kExitClean;
}
