#pragma once
// Writes a check's result: one line a problem and a summary line, or one JSON document.

#include <ostream>
#include <string>
#include <string_view>

#include "Problems.h"

struct ReportSettings {
    bool json = false;
    bool quiet = false;  // errors only; warnings are counted in the summary, not listed
};

void writeReport(std::ostream& out, const CheckResult& result, const ReportSettings& settings);

// "2 files, 1024 monsters, 10240 spots: 3 errors, 5 warnings"
std::string summaryLine(const CheckResult& result);

// Messages quote file bytes as they are. On a terminal line a control character would
// act rather than show, and a byte that is not UTF-8 would show as a stand-in: such
// bytes are written as \t or \xNN, so that the text is valid UTF-8.
std::string printable(std::string_view bytes);
void appendPrintable(std::string& text, std::string_view bytes);

// A JSON string, quotes included, that is valid UTF-8 whatever the bytes: valid UTF-8
// passes as it is; each other byte becomes \u00XX, the Latin-1 character of its value
// (the editor shows such names that way); control characters are escaped.
std::string jsonString(std::string_view bytes);
