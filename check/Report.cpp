#include "Report.h"

#include <algorithm>

namespace {

const char* severityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string hexEscape(const char* prefix, unsigned char byte, int digits) {
    static const char kHex[] = "0123456789abcdef";
    std::string text = prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text.push_back(kHex[(byte >> shift) & 0xF]);
    return text;
}

bool continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence starting at bytes[at] (a byte of 0x80 or
// more), or 0 when it is not one: no overlong forms, no surrogates, nothing past
// U+10FFFF.
std::size_t utf8Length(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!continuation(byte(i))) return 0;
    return length;
}

void writeText(std::ostream& out, const CheckResult& result, const ReportSettings& settings) {
    // One write for the whole report: a full-size file can have thousands of problems.
    std::size_t size = 80;
    for (const Problem& p : result.problems) size += p.file.size() + p.message.size() + 24;
    std::string text;
    text.reserve(size);
    for (const Problem& p : result.problems) {
        if (settings.quiet && p.severity == Severity::Warning) continue;
        appendPrintable(text, p.file);
        text += ':';
        if (p.line > 0) text += std::to_string(p.line) + ':';
        text += ' ';
        text += severityName(p.severity);
        text += ": ";
        appendPrintable(text, p.message);
        text += '\n';
    }
    text += summaryLine(result);
    text += '\n';
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeJson(std::ostream& out, const CheckResult& result, const ReportSettings& settings) {
    out << "{\n"
        << "  \"files\": " << result.files << ",\n"
        << "  \"monsters\": " << result.monsters << ",\n"
        << "  \"spots\": " << result.spots << ",\n"
        << "  \"errors\": " << result.errors << ",\n"
        << "  \"warnings\": " << result.warnings << ",\n"
        << "  \"problems\": [";
    const char* separator = "\n";
    for (const Problem& p : result.problems) {
        if (settings.quiet && p.severity == Severity::Warning) continue;
        out << separator << "    {\"file\": " << jsonString(p.file) << ", \"line\": " << p.line
            << ", \"severity\": \"" << severityName(p.severity) << "\", \"code\": " << jsonString(p.code)
            << ", \"message\": " << jsonString(p.message) << '}';
        separator = ",\n";
    }
    out << (*separator == ',' ? "\n  ]\n" : "]\n") << "}\n";
}

}  // namespace

void writeReport(std::ostream& out, const CheckResult& result, const ReportSettings& settings) {
    if (settings.json)
        writeJson(out, result, settings);
    else
        writeText(out, result, settings);
}

std::string summaryLine(const CheckResult& result) {
    return counted(result.files, "file", "files") + ", " + counted(result.monsters, "monster", "monsters") + ", " +
           counted(result.spots, "spot", "spots") + ": " + counted(result.errors, "error", "errors") + ", " +
           counted(result.warnings, "warning", "warnings");
}

std::string printable(std::string_view bytes) {
    std::string text;
    appendPrintable(text, bytes);
    return text;
}

void appendPrintable(std::string& text, std::string_view bytes) {
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7F;
    };
    while (!bytes.empty()) {
        const auto run = static_cast<std::size_t>(std::find_if_not(bytes.begin(), bytes.end(), plain) - bytes.begin());
        text.append(bytes.substr(0, run));
        bytes.remove_prefix(run);
        if (bytes.empty()) return;
        const auto byte = static_cast<unsigned char>(bytes.front());
        std::size_t length = byte >= 0x80 ? utf8Length(bytes, 0) : 0;
        if (length) {
            text.append(bytes.substr(0, length));
        } else {
            text += byte == '\t' ? std::string("\\t") : hexEscape("\\x", byte, 2);
            length = 1;
        }
        bytes.remove_prefix(length);
    }
}

std::string jsonString(std::string_view bytes) {
    std::string text = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            if (const std::size_t length = utf8Length(bytes, i)) {
                text.append(bytes.substr(i, length));
                i += length;
            } else {
                text += hexEscape("\\u00", byte, 2);
                ++i;
            }
            continue;
        }
        switch (byte) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\t': text += "\\t"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        default:
            if (byte < 0x20 || byte == 0x7F)
                text += hexEscape("\\u00", byte, 2);
            else
                text.push_back(static_cast<char>(byte));
        }
        ++i;
    }
    return text + "\"";
}
