#include "LineFormat.h"

#include <algorithm>
#include <cstdint>

namespace {

bool separator(char c) { return c == ' ' || c == '\t'; }

// The 0-based start of the run numbered `index` in rawLine; when it has fewer runs, the
// end of its last run (0 without any).
std::size_t runStart(std::string_view rawLine, std::size_t index, bool& found) {
    std::size_t at = 0;
    std::size_t lastEnd = 0;
    for (std::size_t run = 0;; ++run) {
        while (at < rawLine.size() && separator(rawLine[at])) ++at;
        if (at == rawLine.size()) break;
        if (run == index) {
            found = true;
            return at;
        }
        while (at < rawLine.size() && !separator(rawLine[at])) ++at;
        lastEnd = at;
    }
    found = false;
    return lastEnd;
}

}  // namespace

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
    char* p = out.data();
    const char* at = line.data();
    const char* const end = at + line.size();
    // Run by run rather than byte by byte with a flag: every table line of every read
    // and every review passes through here.
    while (at != end && separator(*at)) ++at;
    while (at != end) {
        do *p++ = *at++;
        while (at != end && !separator(*at));
        if (at == end) break;
        do ++at;
        while (at != end && separator(*at));
        if (at != end || !spawnRules) *p++ = '\t';
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

namespace {

// Where the next tab is: a column is a few bytes, which a plain walk reaches before a
// call of the library's search has started.
std::size_t tabIn(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\t') return i;
    return std::string_view::npos;
}

}  // namespace

std::string_view TokenReader::nextSpan() {
    const auto tab = tabIn(rest_);
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
        const auto next = tabIn(rest_);
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

std::size_t columnOffset(std::string_view normalisedLine, std::string_view column) {
    // A span of the line lies within it; an empty field made for a missing column does not.
    const auto begin = reinterpret_cast<std::uintptr_t>(normalisedLine.data());
    const auto at = reinterpret_cast<std::uintptr_t>(column.data());
    return at >= begin && at <= begin + normalisedLine.size() ? at - begin : normalisedLine.size();
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

int rawColumn(std::string_view rawLine, std::string_view normalisedLine, std::size_t offset) {
    offset = std::min(offset, normalisedLine.size());
    const std::string_view before = normalisedLine.substr(0, offset);
    const auto index = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\t'));
    const auto lastTab = before.rfind('\t');
    const std::size_t intoRun = lastTab == std::string_view::npos ? offset : offset - lastTab - 1;
    bool found = false;
    const std::size_t start = runStart(rawLine, index, found);
    return static_cast<int>(found ? start + intoRun : start) + 1;
}

int rawFieldColumn(std::string_view rawLine, std::size_t index) {
    bool found = false;
    return static_cast<int>(runStart(rawLine, index, found)) + 1;
}
