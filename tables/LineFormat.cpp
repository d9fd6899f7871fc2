#include "LineFormat.h"

#include <algorithm>

std::string normalizeline(std::string_view line, bool spawnRules) {
    std::string out;
    normalizeInto(line, spawnRules, out);
    return out;
}

void normalizeInto(std::string_view line, bool spawnRules, std::string& out) {
    if (spawnRules) {
        // Collapsing separators never makes or breaks a "//", so the comment can be
        // cut before collapsing; the separators in front of it then count as trailing.
        if (const auto comment = line.find("//"); comment != std::string_view::npos)
            line = line.substr(0, comment);
    }
    // The normal form is never longer than the line plus the one trailing tab.
    out.resize(line.size() + 1);
    char* const begin = out.data();
    char* p = begin;
    bool pendingSeparator = false;
    for (const char c : line) {
        if (c == ' ' || c == '\t') {
            pendingSeparator = true;
            continue;
        }
        if (pendingSeparator && p != begin) *p++ = '\t';
        pendingSeparator = false;
        *p++ = c;
    }
    if (pendingSeparator && !spawnRules && p != begin) *p++ = '\t';
    out.resize(static_cast<std::size_t>(p - begin));
}

std::string_view TokenReader::nextSpan() {
    const auto tab = rest_.find('\t');
    if (tab == std::string_view::npos) return {};
    const char* const start = rest_.data();
    const std::string_view first = rest_.substr(0, tab);
    rest_.remove_prefix(tab + 1);
    if (first.empty() || first.front() != '"') return first;

    // A quoted name was split at its blanks by the normaliser: it runs on over the
    // following pieces until one ends in a quote. Without a closing quote the joining
    // ends with the last tab of the line. (An empty piece, which only a line not in
    // normal form has, leaves the name ending in the blank that joins it.)
    std::size_t length = first.size();
    char last = first.back();
    while (last != '"') {
        const auto next = rest_.find('\t');
        if (next == std::string_view::npos) break;
        last = next == 0 ? ' ' : rest_[next - 1];
        length = static_cast<std::size_t>(rest_.data() + next - start);
        rest_.remove_prefix(next + 1);
    }
    return {start, length};
}

std::string_view TokenReader::firstColumnSpan() {
    if (rest_.find('\t') == std::string_view::npos) return rest_;
    return nextSpan();
}

std::string TokenReader::columnText(std::string_view span) {
    std::string text(span);
    if (!text.empty() && text.front() == '"') std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

std::string nexttoken(std::string& line) {
    TokenReader reader(line);
    std::string field = reader.next();
    line.erase(0, line.size() - reader.rest().size());
    return field;
}
