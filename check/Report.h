#pragma once
// Writes a check's result: one line a problem and a summary line, one JSON document, or
// one SARIF 2.1.0 log (which code-review tools read). Every text taken from the files
// shows its invisible bytes visibly, in every format (VisibleText.h).

#include <ostream>
#include <string>
#include <string_view>

#include "JsonText.h"
#include "Problems.h"
#include "ReportSettings.h"

void writeReport(std::ostream& out, const CheckResult& result, const ReportSettings& settings);
// For a run that could not check, so that a reader of JSON or SARIF always gets one
// document: JSON with an "error" member, or a SARIF log whose run did not execute
// successfully. Nothing in text, where the reason on the error stream is all.
void writeFailure(std::ostream& out, const std::string& why, const ReportSettings& settings);

// "2 files, 1024 monsters, 10240 spots: 3 errors, 5 warnings", and ", 1 note" when
// there are notes.
std::string summaryLine(const CheckResult& result);
