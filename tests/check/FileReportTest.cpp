// The lines a problem is placed in are the lines of the bytes checked last: a report
// that reads a file, or takes bytes, after another finds its lines anew.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FileReport.h"
#include "TempFolder.h"

namespace {

TEST(FileReport, LinesAreThoseOfTheBytesCheckedLast) {
    const TempFolder folder;
    folder.write("data/monster.txt", "first\r\nsecond line\r\nthird\r\n");
    const auto read = [&](FileReport& report) { ASSERT_TRUE(report.read(folder.path() / "data" / "monster.txt")); };
    const auto take = [](std::string bytes) { return [bytes](FileReport& report) { report.take(bytes); }; };
    struct Case {
        const char* name;
        std::vector<std::function<void(FileReport&)>> steps;  // rawLine asked for after each
        std::vector<std::string> lines;                          // lines 1 to 3 after the last
    };
    const Case cases[] = {
        {"bytes taken", {take("a\nbb\n")}, {"a", "bb", ""}},
        {"bytes taken after others", {take("first\r\nsecond line\r\n"), take("x\r\ny\r\nz")}, {"x", "y", "z"}},
        {"bytes taken after a file read", {read, take("one\ntwo\n")}, {"one", "two", ""}},
        {"a file read after bytes taken", {take("one\ntwo\n"), read}, {"first", "second line", "third"}},
        {"nothing after a file", {read, take("")}, {"", "", ""}},
    };
    for (const Case& c : cases) {
        std::vector<Problem> problems;
        FileReport report("data/monster.txt", "data/monster.txt", problems);
        for (const auto& step : c.steps) {
            step(report);
            static_cast<void>(report.rawLine(1));
        }
        std::vector<std::string> lines;
        for (int line = 1; line <= 3; ++line) lines.emplace_back(report.rawLine(line));
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

}  // namespace
