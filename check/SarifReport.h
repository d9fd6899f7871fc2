#pragma once
// The check as a SARIF 2.1.0 log for code-review and code-scanning tools: one run of
// varnex-check with its rules and their help, each problem a result placed at its
// file's line and column (in characters, as SARIF counts) with a fingerprint that
// follows it across commits, the files named relative to one root folder, and the
// summary's counts in the run's properties.

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "Problems.h"

struct ReportSettings;

// The name of the root folder the files' URIs are relative to.
inline constexpr const char* kSarifRoot = "SRCROOT";
// The name of each result's fingerprint: a hash of its rule, its file's URI and the
// bytes of its line (not the line's number), then ":" and a count from 1 among results
// with the same hash.
inline constexpr const char* kSarifFingerprint = "varnexLineHash/v1";

void writeSarif(std::ostream& out, const CheckResult& result, const ReportSettings& settings, int exitStatus);
// A run that could not check: no results, and the reason as the tool's notification.
void writeSarifFailure(std::ostream& out, const std::string& why, const ReportSettings& settings, int exitStatus);

// A relative path ("/" between its parts) as a relative URI reference: every byte but
// letters, digits, "-._~" and "/" is percent-encoded.
std::string relativeUri(std::string_view path);
// An absolute folder as a "file:" URI ending in "/".
std::string folderFileUri(const std::filesystem::path& absolute);
// A path's UTF-8 bytes as a string: a path's narrow string is in Windows' code page there.
inline std::string utf8Text(const std::u8string& text) { return std::string(text.begin(), text.end()); }
