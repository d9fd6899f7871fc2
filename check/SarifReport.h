#pragma once
// The check as a SARIF 2.1.0 log: one run of varnex-check with its rules, each problem
// a result placed at its file's line and column (in characters, as SARIF counts), and
// the summary's counts in the run's properties.

#include <ostream>
#include <string>

#include "Problems.h"

void writeSarif(std::ostream& out, const CheckResult& result, bool quiet, int exitStatus);
// A run that could not check: no results, and the reason as the tool's notification.
void writeSarifFailure(std::ostream& out, const std::string& why, int exitStatus);

// A path as a URI reference: relative paths stay relative, an absolute one becomes a
// file: URI; every byte but letters, digits, "-._~" and "/" is percent-encoded.
std::string uriOfPath(std::string_view path);
