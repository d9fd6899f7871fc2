#include "LineFormat.h"

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string normalizeline(std::string_view line, bool spawnRules) {
    if (spawnRules) {
        // Collapsing separators never makes or breaks a "//", so the comment can be
        // cut before collapsing; the separators in front of it then count as trailing.
        if (const auto comment = line.find("//"); comment != std::string_view::npos)
            line = line.substr(0, comment);
    }
    std::string out;
    out.reserve(line.size());
    bool pendingSeparator = false;
    for (const char c : line) {
        if (isSeparator(c)) {
            pendingSeparator = true;
            continue;
        }
        if (pendingSeparator && !out.empty()) out.push_back('\t');
        pendingSeparator = false;
        out.push_back(c);
    }
    if (pendingSeparator && !spawnRules && !out.empty()) out.push_back('\t');
    return out;
}

std::string TokenReader::next() {
    const auto cut = [this](std::string_view& piece) {
        const auto tab = rest_.find('\t');
        if (tab == std::string_view::npos) return false;
        piece = rest_.substr(0, tab);
        rest_.remove_prefix(tab + 1);
        return true;
    };

    std::string_view first;
    if (!cut(first)) return {};
    std::string field(first);
    if (field.empty() || field.front() != '"') return field;

    // A quoted name was split at its blanks by the normaliser: join the pieces again.
    // Without a closing quote the joining ends with the last tab of the line.
    std::string_view piece;
    while (field.back() != '"' && cut(piece)) {
        field.push_back(' ');
        field.append(piece);
    }
    return field;
}

std::string TokenReader::firstColumn() {
    if (rest_.find('\t') == std::string_view::npos) return std::string(rest_);
    return next();
}

std::string nexttoken(std::string& line) {
    TokenReader reader(line);
    std::string field = reader.next();
    line.erase(0, line.size() - reader.rest().size());
    return field;
}
