#include "Report.h"

#include "Rules.h"
#include "SarifReport.h"

namespace {

std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool listed(const Problem& p, const ReportSettings& settings) {
    return !settings.quiet || p.severity == Severity::Error;
}

void writeText(std::ostream& out, const CheckResult& result, const ReportSettings& settings) {
    // One write for the whole report: a full-size file can have thousands of problems.
    std::size_t size = 80;
    for (const Problem& p : result.problems) size += p.file.size() + p.message.size() + p.code.size() + 40;
    std::string text;
    text.reserve(size);
    for (const Problem& p : result.problems) {
        if (!listed(p, settings)) continue;
        appendVisibleText(text, p.file);
        text += ':';
        if (p.line > 0) {
            text += std::to_string(p.line);
            text += ':';
            text += std::to_string(p.column);
            text += ':';
        }
        text += ' ';
        text += severityName(p.severity);
        text += ": ";
        appendVisibleText(text, p.message);
        text += " [";
        text += p.code;
        text += "]\n";
    }
    text += summaryLine(result);
    text += '\n';
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeJson(std::ostream& out, const CheckResult& result, const ReportSettings& settings,
               const std::string* error = nullptr) {
    std::string text = "{\n";
    if (error) text += "  \"error\": " + jsonString(*error) + ",\n";
    text += "  \"files\": " + std::to_string(result.files) + ",\n" +
            "  \"monsters\": " + std::to_string(result.monsters) + ",\n" +
            "  \"spots\": " + std::to_string(result.spots) + ",\n" +
            "  \"errors\": " + std::to_string(result.errors) + ",\n" +
            "  \"warnings\": " + std::to_string(result.warnings) + ",\n" +
            "  \"notes\": " + std::to_string(result.notes) + ",\n" + "  \"problems\": [";
    const char* separator = "\n";
    for (const Problem& p : result.problems) {
        if (!listed(p, settings)) continue;
        text += separator;
        text += "    {\"file\": " + jsonString(p.file) + ", \"line\": " + std::to_string(p.line) +
                ", \"column\": " + std::to_string(p.column) + ", \"severity\": \"" + severityName(p.severity) +
                "\", \"code\": " + jsonString(p.code) + ", \"message\": " + jsonString(p.message) + '}';
        separator = ",\n";
    }
    text += *separator == ',' ? "\n  ]\n}\n" : "]\n}\n";
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

void writeReport(std::ostream& out, const CheckResult& result, const ReportSettings& settings) {
    switch (settings.format) {
    case Format::Text: writeText(out, result, settings); break;
    case Format::Json: writeJson(out, result, settings); break;
    case Format::Sarif: writeSarif(out, result, settings, exitStatusOf(result, settings.failOn)); break;
    }
}

void writeFailure(std::ostream& out, const std::string& why, const ReportSettings& settings) {
    CheckResult nothing;
    nothing.files = 0;
    switch (settings.format) {
    case Format::Text: break;
    case Format::Json: writeJson(out, nothing, settings, &why); break;
    case Format::Sarif: writeSarifFailure(out, why, settings, kExitCannotRun); break;
    }
}

std::string summaryLine(const CheckResult& result) {
    return counted(result.files, "file", "files") + ", " + counted(result.monsters, "monster", "monsters") + ", " +
           counted(result.spots, "spot", "spots") + ": " + counted(result.errors, "error", "errors") + ", " +
           counted(result.warnings, "warning", "warnings") +
           (result.notes ? ", " + counted(result.notes, "note", "notes") : std::string());
}
