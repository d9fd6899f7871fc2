// The operator's manual lists the keys of the program; the block between its two key
// markers must be what the program's one key table makes of itself, so that the manual
// cannot fall behind a key that is added, moved or changed. With
// VARNEX_RENEW_MANUAL_KEYS=1 in the environment the test writes the block it expects
// into docs/manual.md instead of failing.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "ProgramKeys.h"

namespace {

constexpr const char* kBegin = "<!-- keys: made from ui/ProgramKeys.cpp, checked by ManualKeysTest -->";
constexpr const char* kEnd = "<!-- end of keys -->";

std::string manualPath() { return std::string(VARNEX_SOURCE_DIR) + "/docs/manual.md"; }

// A table cell: a bar would end the cell, a line end the row.
std::string cell(const QString& text) {
    std::string out;
    for (const char c : text.toStdString()) {
        if (c == '|') out += "\\|";
        else if (c == '\n') out += ' ';
        else out += c;
    }
    return out;
}

// One small table for each place, in the key list's order.
std::string keysMarkdown() {
    std::string out;
    bool first = true;
    KeyPlace place{};
    for (const ProgramKey& key : programKeys()) {
        if (first || key.place != place) {
            place = key.place;
            out += "\n" + ("### " + cell(placeName(place))) + "\n\n| Keys | What they do |\n|---|---|\n";
            first = false;
        }
        out += "| " + cell(keyText(key)) + " | " + cell(QString::fromUtf8(key.does)) + " |\n";
    }
    return out + "\n";
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ManualKeysTest, TheManualsKeyTableIsTheProgramsKeyTable) {
    const std::string path = manualPath();
    const std::string manual = readAll(path);
    ASSERT_FALSE(manual.empty()) << path << " cannot be read";
    const std::size_t begin = manual.find(kBegin);
    ASSERT_NE(begin, std::string::npos) << path << " lacks the line " << kBegin;
    ASSERT_EQ(manual.find(kBegin, begin + 1), std::string::npos) << path << " holds the line " << kBegin << " twice";
    const std::size_t from = begin + std::string(kBegin).size();
    const std::size_t end = manual.find(kEnd, from);
    ASSERT_NE(end, std::string::npos) << path << " lacks the line " << kEnd << " after the first marker";
    const std::string expected = keysMarkdown();
    const std::string written = manual.substr(from, end - from);
    if (written == expected) return;
    if (const char* renew = std::getenv("VARNEX_RENEW_MANUAL_KEYS"); renew && std::string(renew) == "1") {
        std::ofstream(path, std::ios::binary) << manual.substr(0, from) << expected << manual.substr(end);
        return;
    }
    FAIL() << "docs/manual.md's key table differs from ui/ProgramKeys.cpp; run this test with "
              "VARNEX_RENEW_MANUAL_KEYS=1 to write it. Expected between the markers:\n"
           << expected;
}

}  // namespace
