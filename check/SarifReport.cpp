#include "SarifReport.h"

#include "Report.h"
#include "Rules.h"

namespace {

const char* levelName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

// Up to the run's results; the run is closed by closeRun.
std::string openRun() {
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
        "          \"rules\": [";
    const char* separator = "\n";
    for (const Rule& rule : kRules) {
        text += separator;
        text += "            {\"id\": " + jsonString(rule.code) + ", \"shortDescription\": {\"text\": " +
                jsonString(rule.summary) + "}, \"defaultConfiguration\": {\"level\": \"" + levelName(rule.severity) +
                "\"}}";
        separator = ",\n";
    }
    return text + "\n          ]\n        }\n      },\n      \"columnKind\": \"unicodeCodePoints\",\n";
}

std::string invocation(bool successful, int exitStatus, const std::string* why) {
    std::string text = "      \"invocations\": [{\"executionSuccessful\": " + std::string(successful ? "true" : "false") +
                       ", \"exitCode\": " + std::to_string(exitStatus);
    if (why)
        text += ", \"toolExecutionNotifications\": [{\"level\": \"error\", \"message\": {\"text\": " +
                jsonString(*why) + "}}]";
    return text + "}],\n";
}

std::string result(const Problem& p) {
    std::string text = "        {\"ruleId\": " + jsonString(p.code);
    if (const Rule* rule = findRule(p.code)) text += ", \"ruleIndex\": " + std::to_string(rule - kRules.data());
    text += ", \"level\": \"" + std::string(levelName(p.severity)) + "\", \"message\": {\"text\": " +
            jsonString(p.message) + "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
            jsonString(uriOfPath(p.file)) + "}";
    if (p.line > 0)
        text += ", \"region\": {\"startLine\": " + std::to_string(p.line) +
                ", \"startColumn\": " + std::to_string(p.characterColumn) + "}";
    return text + "}}]}";
}

std::string closeRun(const CheckResult& counts) {
    return "      \"properties\": {\"files\": " + std::to_string(counts.files) +
           ", \"monsters\": " + std::to_string(counts.monsters) + ", \"spots\": " + std::to_string(counts.spots) +
           ", \"errors\": " + std::to_string(counts.errors) + ", \"warnings\": " + std::to_string(counts.warnings) +
           "}\n    }\n  ]\n}\n";
}

}  // namespace

void writeSarif(std::ostream& out, const CheckResult& checked, bool quiet, int exitStatus) {
    std::string text = openRun() + invocation(true, exitStatus, nullptr) + "      \"results\": [";
    const char* separator = "\n";
    for (const Problem& p : checked.problems) {
        if (quiet && p.severity == Severity::Warning) continue;
        text += separator + result(p);
        separator = ",\n";
    }
    text += *separator == ',' ? "\n      ],\n" : "],\n";
    text += closeRun(checked);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeSarifFailure(std::ostream& out, const std::string& why, int exitStatus) {
    CheckResult nothing;
    nothing.files = 0;
    const std::string text = openRun() + invocation(false, exitStatus, &why) + "      \"results\": [],\n" +
                             closeRun(nothing);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string uriOfPath(std::string_view path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = path.starts_with('/') ? "file://" : "";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
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
