// Our unified diff against the system's `diff -u` over texts of few distinct lines,
// edited or shuffled, where many matchings are equally short and only diff's own
// choices give its output; and the lines a diff marks, by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "RealDiff.h"
#include "TempFolder.h"
#include "TextDiff.h"

namespace {

#ifndef _WIN32
// A text of `lines` lines drawn from `kinds` words, and the same text after a few
// deletions, insertions and replacements; either may end without a line feed.
std::pair<std::string, std::string> editedPair(unsigned seed) {
    std::mt19937 random(seed);
    const auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::size_t kinds = std::vector<std::size_t>{2, 3, 6, 16}[below(4)];
    const std::size_t count = below(std::vector<std::size_t>{6, 21, 81, 400}[below(4)]);
    const auto word = [&] { return std::string(1, static_cast<char>('a' + below(kinds))); };
    std::vector<std::string> a(count);
    for (auto& line : a) line = word();
    std::vector<std::string> b = a;
    // Every third pair is the same lines in another order: the longest edits, where the
    // search runs into the ends of both texts.
    if (seed % 3 == 2) {
        std::shuffle(b.begin(), b.end(), random);
        b.resize(below(b.size() + 1));
    }
    for (std::size_t edits = seed % 3 == 2 ? 0 : below(count / 3 + 2); edits > 0; --edits) {
        const std::size_t what = below(5);
        if (what < 2 && !b.empty())
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(below(b.size())));
        else if (what < 4)
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(below(b.size() + 1)), word());
        else if (!b.empty())
            b[below(b.size())] = "X";
    }
    const auto join = [&](const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\n";
        if (!text.empty() && below(5) == 0) text.pop_back();
        return text;
    };
    return {join(a), join(b)};
}

// The same text with every line grown to the same long stem before its word, so that
// lines differ only in their last bytes, and the lines of one word made empty.
std::string lengthened(const std::string& text, const std::string& stem, char emptied) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t feed = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, feed - at);
        if (line != std::string(1, emptied)) out += stem + line;
        if (feed < text.size()) out += '\n';
        at = feed + 1;
    }
    return out;
}

// Our unified diff of two texts is the system's, byte for byte.
testing::AssertionResult agreesWithDiff(const TempFolder& folder, const std::string& before, const std::string& after) {
    folder.write("a", before);
    folder.write("b", after);
    const std::string ours = unifiedDiff(before, after, "a", "b");
    const std::string theirs = realUnifiedDiff(folder.path() / "a", folder.path() / "b", "a", "b");
    if (ours == theirs) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "ours:\n" << ours << "\ndiff's:\n" << theirs;
}
#endif

TEST(TextDiff, AgreesWithDiffOnTextsOfFewDistinctLines) {
#ifdef _WIN32
    GTEST_SKIP() << "no diff program on Windows";
#else
    const TempFolder folder;
    for (unsigned seed = 0; seed < 100; ++seed) {
        const auto [before, after] = editedPair(seed);
        ASSERT_TRUE(agreesWithDiff(folder, before, after)) << "seed " << seed;
    }
#endif
}

TEST(TextDiff, AgreesWithDiffOnLongLinesAlikeButForTheirEnds) {
#ifdef _WIN32
    GTEST_SKIP() << "no diff program on Windows";
#else
    const TempFolder folder;
    for (unsigned seed = 0; seed < 60; ++seed) {
        const auto [shortBefore, shortAfter] = editedPair(seed);
        // Stems of every length the line hash reads in its own way.
        const std::string stem(std::vector<std::size_t>{2, 6, 7, 14, 15, 22, 31, 32, 39, 70}[seed % 10], '=');
        ASSERT_TRUE(agreesWithDiff(folder, lengthened(shortBefore, stem, 'a'), lengthened(shortAfter, stem, 'a')))
            << "seed " << seed;
    }
#endif
}

TEST(TextDiff, MarksTheLinesThatChange) {
    struct Case {
        const char* name;
        const char* before;
        const char* after;
        const char* deleted;   // one mark per old line
        const char* inserted;  // one mark per new line
    };
    const Case cases[] = {
        {"equal", "a\nb\n", "a\nb\n", "..", ".."},
        {"one replaced", "a\nb\nc\n", "a\nB\nc\n", ".x.", ".x."},
        {"line end only", "a\r\nb\r\n", "a\nb\r\n", "x.", "x."},
        {"no line feed at the end", "a\nb", "a\nb\n", ".x", ".x"},
        {"all new", "a\nb\n", "c\nd\ne\n", "xx", "xxx"},
        {"from nothing", "", "a\n", "", "x"},
        // Of equal lines, the last is the one deleted: a change slides down as far as it can.
        {"run slides down", "a\na\na\nb\n", "a\na\nb\n", "..x.", "..."},
    };
    for (const Case& c : cases) {
        const LineChanges changes = changedLines(diffLines(c.before), diffLines(c.after));
        std::string deleted, inserted;
        for (const bool x : changes.deleted) deleted += x ? 'x' : '.';
        for (const bool x : changes.inserted) inserted += x ? 'x' : '.';
        EXPECT_EQ(deleted, c.deleted) << c.name;
        EXPECT_EQ(inserted, c.inserted) << c.name;
    }
}

TEST(TextDiff, PrintsHunksAsDiffDoes) {
    EXPECT_EQ(unifiedDiff("a\n", "a\n", "x", "y"), "");
    EXPECT_EQ(unifiedDiff("", "a\nb\n", "x", "y"), "--- x\n+++ y\n@@ -0,0 +1,2 @@\n+a\n+b\n");
    EXPECT_EQ(unifiedDiff("a\nb", "a\nc\n", "x", "y"),
              "--- x\n+++ y\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+c\n");
    // Changes seven unchanged lines apart are two hunks; six apart, one.
    std::string apart7 = "x\n1\n2\n3\n4\n5\n6\n7\nx\n";
    std::string apart6 = "x\n1\n2\n3\n4\n5\n6\nx\n";
    const auto marked = [](std::string text) {
        text[0] = 'y';
        text[text.size() - 2] = 'y';
        return text;
    };
    EXPECT_EQ(unifiedDiff(apart7, marked(apart7), "a", "b"),
              "--- a\n+++ b\n@@ -1,4 +1,4 @@\n-x\n+y\n 1\n 2\n 3\n@@ -6,4 +6,4 @@\n 5\n 6\n 7\n-x\n+y\n");
    EXPECT_EQ(unifiedDiff(apart6, marked(apart6), "a", "b"),
              "--- a\n+++ b\n@@ -1,8 +1,8 @@\n-x\n+y\n 1\n 2\n 3\n 4\n 5\n 6\n-x\n+y\n");
}

}  // namespace
