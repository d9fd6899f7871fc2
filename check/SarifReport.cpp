#include "SarifReport.h"

#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "JsonText.h"
#include "ReportSettings.h"
#include "Rules.h"
#include "TextFile.h"

namespace {

// A JSON string of a text of our own: plain text, line breaks and quotes.
std::string jsonText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

// The help texts mark code with backquotes, which only markdown shows as such.
std::string withoutMarks(std::string_view markdown) {
    std::string text;
    for (const char c : markdown)
        if (c != '`') text.push_back(c);
    return text;
}

std::string ruleObject(const Rule& rule) {
    const std::string markdown = "**What it finds.** " + std::string(rule.finds) + "\n\n**Why it matters.** " +
                                 std::string(rule.why) + "\n\n**How to fix it.** " + std::string(rule.fix);
    return "            {\"id\": " + jsonText(rule.code) + ", \"name\": " + jsonText(rule.name) +
           ",\n             \"shortDescription\": {\"text\": " + jsonText(rule.summary) + "}" +
           ",\n             \"fullDescription\": {\"text\": " + jsonText(withoutMarks(rule.finds)) + "}" +
           ",\n             \"help\": {\"text\": " + jsonText(withoutMarks(markdown)) +
           ", \"markdown\": " + jsonText(markdown) + "}" +
           ",\n             \"defaultConfiguration\": {\"level\": \"" + severityName(rule.severity) + "\"}}";
}

// Up to the run's results; the run is closed by closeRun.
std::string openRun(const ReportSettings& settings) {
    std::string text =
        "{\n"
        "  \"$schema\": \"https://docs.oasis-open.org/sarif/sarif/v2.1.0/os/schemas/sarif-schema-2.1.0.json\",\n"
        "  \"version\": \"2.1.0\",\n"
        "  \"runs\": [\n"
        "    {\n"
        "      \"tool\": {\n"
        "        \"driver\": {\n"
        "          \"name\": \"varnex-check\",\n"
        "          \"version\": \"" VARNEX_VERSION "\",\n"
        "          \"semanticVersion\": \"" VARNEX_VERSION "\",\n"
        "          \"rules\": [";
    const char* separator = "\n";
    for (const Rule& rule : kRules) {
        text += separator + ruleObject(rule);
        separator = ",\n";
    }
    text += "\n          ]\n        }\n      },\n";
    if (!settings.sarifRootUri.empty())
        text += "      \"originalUriBaseIds\": {\"" + std::string(kSarifRoot) + "\": {\"uri\": " +
                jsonText(settings.sarifRootUri) + ", \"description\": {\"text\": " +
                jsonText(settings.sarifFolderUri.empty() ? "The folder checked."
                                                         : "The folder the checked folder's path is relative to.") +
                "}}},\n";
    return text + "      \"columnKind\": \"unicodeCodePoints\",\n";
}

std::string invocation(bool successful, int exitStatus, const std::string* why) {
    std::string text = "      \"invocations\": [{\"executionSuccessful\": " + std::string(successful ? "true" : "false") +
                       ", \"exitCode\": " + std::to_string(exitStatus);
    if (why)
        text += ", \"toolExecutionNotifications\": [{\"level\": \"error\", \"message\": {\"text\": " +
                jsonString(*why) + "}}]";
    return text + "}],\n";
}

std::string hex(std::uint64_t value) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
    return digits;
}

// Follows a result across changes of the file: the rule, the file and the bytes of its
// line, never the line's number, and a count that tells equal ones apart.
class Fingerprints {
public:
    std::string of(const Problem& p, const std::string& uri) {
        std::string key = p.code;
        key += '\0';
        key += uri;
        key += '\0';
        key += hex(p.lineHash);
        const std::uint64_t hash = hashBytes(key);
        return hex(hash) + ":" + std::to_string(++seen_[hash]);
    }

private:
    std::unordered_map<std::uint64_t, int> seen_;
};

std::string result(const Problem& p, const ReportSettings& settings, Fingerprints& fingerprints) {
    const std::string uri = settings.sarifFolderUri + relativeUri(p.inFolder);
    std::string text = "        {\"ruleId\": " + jsonString(p.code);
    if (const Rule* rule = findRule(p.code)) text += ", \"ruleIndex\": " + std::to_string(rule - kRules.data());
    text += ", \"level\": \"" + std::string(severityName(p.severity)) + "\", \"message\": {\"text\": " +
            jsonString(p.message) + "},\n         \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
            jsonString(uri) + ", \"uriBaseId\": \"" + kSarifRoot + "\"}";
    // A problem of the whole file stands at its first line: code-review tools show a
    // result only at a line.
    if (p.line > 0)
        text += ", \"region\": {\"startLine\": " + std::to_string(p.line) +
                ", \"startColumn\": " + std::to_string(p.characterColumn) + "}";
    else
        text += ", \"region\": {\"startLine\": 1}";
    return text + "}}],\n         \"partialFingerprints\": {\"" + kSarifFingerprint + "\": \"" +
           fingerprints.of(p, uri) + "\"}}";
}

std::string closeRun(const CheckResult& counts) {
    return "      \"properties\": {\"files\": " + std::to_string(counts.files) +
           ", \"monsters\": " + std::to_string(counts.monsters) + ", \"spots\": " + std::to_string(counts.spots) +
           ", \"errors\": " + std::to_string(counts.errors) + ", \"warnings\": " + std::to_string(counts.warnings) +
           ", \"notes\": " + std::to_string(counts.notes) + "}\n    }\n  ]\n}\n";
}

// Every byte but letters, digits, "-._~", "/" and those in `alsoPlain` as %XX.
std::string percentEncoded(std::string_view path, std::string_view alsoPlain) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/' || alsoPlain.find(c) != std::string_view::npos;
        if (plain) {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(kHex[byte >> 4]);
            uri.push_back(kHex[byte & 0xF]);
        }
    }
    return uri;
}

}  // namespace

void writeSarif(std::ostream& out, const CheckResult& checked, const ReportSettings& settings, int exitStatus) {
    std::string text = openRun(settings) + invocation(true, exitStatus, nullptr) + "      \"results\": [";
    const char* separator = "\n";
    Fingerprints fingerprints;
    for (const Problem& p : checked.problems) {
        if (settings.quiet && p.severity != Severity::Error) continue;
        text += separator + result(p, settings, fingerprints);
        separator = ",\n";
    }
    text += *separator == ',' ? "\n      ],\n" : "],\n";
    text += closeRun(checked);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeSarifFailure(std::ostream& out, const std::string& why, const ReportSettings& settings, int exitStatus) {
    CheckResult nothing;
    nothing.files = 0;
    const std::string text = openRun(settings) + invocation(false, exitStatus, &why) + "      \"results\": [],\n" +
                             closeRun(nothing);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string relativeUri(std::string_view path) { return percentEncoded(path, ""); }

std::string folderFileUri(const std::filesystem::path& absolute) {
    std::string path = utf8Text(absolute.generic_u8string());
    if (!path.starts_with('/')) path.insert(0, 1, '/');  // "C:/games" on Windows
    if (!path.ends_with('/')) path.push_back('/');
    // A drive letter's colon is plain in a file: URI's path.
    return "file://" + percentEncoded(path, ":");
}
