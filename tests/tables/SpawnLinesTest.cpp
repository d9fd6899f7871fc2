// Spots as spawn-file lines for the clipboard: written as a save writes them, read back
// by the spawn file's reader with its checks, and refused where it would stop or drop.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SpawnLines.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TextFile.h"

namespace {

SpawnEntry spot(int type, int id, int map, std::vector<int> cells, int dir, int count = 0, int spotid = 0) {
    SpawnEntry e;
    e.spottype = static_cast<std::uint8_t>(type);
    e.ispoint = isPointType(type);
    e.monsterid = id;
    e.mapnumber = static_cast<std::uint8_t>(map);
    e.distance = 7;
    e.x0 = static_cast<std::uint8_t>(cells[0]);
    e.y0 = static_cast<std::uint8_t>(cells[1]);
    if (cells.size() == 4) {
        e.x1 = static_cast<std::uint8_t>(cells[2]);
        e.y1 = static_cast<std::uint8_t>(cells[3]);
        e.count = static_cast<std::uint8_t>(count);
    }
    e.dir = dir;
    e.spotid = spotid;
    return e;
}

const MonsterTable& monsters() {
    static const MonsterTable table = monstersWithIds({5, 17, -3});
    return table;
}

// What a copy writes: the sections the spots have, in type order, each spot in the order
// given, a deleted one left out; read back, the same spots numbered from 0.
TEST(SpawnLines, ACopyIsTheSavedFormOfItsSectionsAndReadsBack) {
    const std::vector<SpawnEntry> copied = {
        spot(3, 17, 2, {10, 20, 30, 40}, -1, 4, 8), spot(2, 5, 2, {100, 101}, 6, 0, 3),
        spot(1, -3, 2, {50, 60, 20, 30}, 9, 255, 12), spot(2, 17, 2, {0, 255}, -2147483647 - 1, 0, 14),
        spot(0, 5, 2, {1, 2}, 7, 0, -1),  // deleted: not copied
    };
    const std::string text = spawnLinesText(copied);
    EXPECT_EQ(text, "1\r\n-3\t2\t7\t50\t60\t20\t30\t9\t255\r\nend\r\n"
                    "2\r\n5\t2\t7\t100\t101\t6\r\n17\t2\t7\t0\t255\t-2147483648\r\nend\r\n"
                    "3\r\n17\t2\t7\t10\t20\t30\t40\t-1\t4\r\nend\r\n");
    const std::vector<SpawnEntry> read = readSpawnLines(text, monsters());
    const std::vector<SpawnEntry> expected = {copied[2], copied[1], copied[3], copied[0]};
    ASSERT_EQ(read.size(), expected.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SpawnEntry want = expected[i];
        want.spotid = static_cast<std::int32_t>(i);
        EXPECT_EQ(read[i], want) << i;
    }
    EXPECT_EQ(spawnLinesText({}), "");
}

// Lines from a text editor are read as the file is read, and refused where reading the
// file would stop, or where it would drop a line for its monster.
TEST(SpawnLines, PastedTextIsReadAndCheckedAsTheSpawnFileIs) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> lines;  // the spots read, as the file writes them
        std::string error;               // else the refusal
        int line = 0;
    } cases[] = {
        {"a hand-kept section", "// camp\n1\n  5 2 7 10 20 30 40 -1 4   // pond\n\n17\t2\t7\t1\t2\t3\t4\t6\t2\nend\n",
         {"5\t2\t7\t10\t20\t30\t40\t-1\t4", "17\t2\t7\t1\t2\t3\t4\t6\t2"}, "", 0},
        {"lines before a marker are points of type 0", "5 2 7 100 101 8\r\n17 3 0 9 9 -1",
         {"5\t2\t7\t100\t101\t8", "17\t3\t0\t9\t9\t-1"}, "", 0},
        {"carriage returns alone end lines", "4\r5 2 7 1 1 1\rend\r", {"5\t2\t7\t1\t1\t1"}, "", 0},
        {"carriage returns alone, the last line without one", "2\r5 2 7 1 1 1\r17 2 7 3 3 -1",
         {"5\t2\t7\t1\t1\t1", "17\t2\t7\t3\t3\t-1"}, "", 0},
        {"line ends of every kind in one text", "2\r\n5 2 7 1 1 1\n17 2 7 3 3 -1\r5 2 7 4 4 2\r\n",
         {"5\t2\t7\t1\t1\t1", "17\t2\t7\t3\t3\t-1", "5\t2\t7\t4\t4\t2"}, "", 0},
        {"nothing but markers and comments", "0\nend\n// nothing\n", {}, "", 0},
        {"a range line without its marker", "5 2 7 10 20 30 40 -1 4\n", {},
         "'30\t40\t-1\t4' is not a valid integer value", 1},
        {"a cell past the map", "2\n5 2 7 256 1 1\n", {}, "Range check error", 2},
        {"a word", "1\n5 2 7 10 20 30 40 -1 4\ncamp\n", {}, "'camp' is not a valid integer value", 3},
        {"monsters not in the table", "2\n5 2 7 1 1 1\n99 2 7 1 1 1\n4 2 7 1 1 1\n", {},
         "The pasted lines name monsters that data/monster.txt does not list: 99 (line 3), 4 (line 4).", 0},
        {"many lines of monsters not in the table: the first few named, the rest counted",
         "2\n" + [] {
             std::string lines;
             for (int i = 0; i < 1000; ++i) lines += "99 2 7 1 1 1\n";
             return lines;
         }(),
         {},
         "The pasted lines name monsters that data/monster.txt does not list: 99 (line 2), 99 (line 3), 99 (line 4), "
         "99 (line 5), 99 (line 6) and 995 more lines.",
         0},
        {"as many lines as are named", "2\n1 2 7 1 1 1\n2 2 7 1 1 1\n3 2 7 1 1 1\n4 2 7 1 1 1\n6 2 7 1 1 1\n", {},
         "The pasted lines name monsters that data/monster.txt does not list: 1 (line 2), 2 (line 3), 3 (line 4), "
         "4 (line 5), 6 (line 6).", 0},
        {"one line more than are named", "2\n5 2 7 1 1 1\n1 2 7 1 1 1\n2 2 7 1 1 1\n3 2 7 1 1 1\n4 2 7 1 1 1\n"
         "6 2 7 1 1 1\n7 2 7 1 1 1\n", {},
         "The pasted lines name monsters that data/monster.txt does not list: 1 (line 3), 2 (line 4), 3 (line 5), "
         "4 (line 6), 6 (line 7) and 1 more line.", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            const std::vector<SpawnEntry> read = readSpawnLines(c.text, monsters());
            EXPECT_EQ(c.error, "") << "read, though it should be refused";
            std::vector<std::string> lines;
            for (const SpawnEntry& e : read) lines.push_back(formatepositionstring(e));
            EXPECT_EQ(lines, c.lines);
        } catch (const TableError& error) {
            // The file as the system writes paths: data\monster.txt on Windows.
            std::string expected = c.error;
            if (const auto at = expected.find("data/monster.txt"); at != std::string::npos)
                expected.replace(at, 16, monsterFileLabel());
            EXPECT_EQ(error.what(), expected);
            EXPECT_EQ(error.line(), c.line);
            if (c.line) {
                EXPECT_EQ(error.file(), kPastedTextLabel);
            }
        }
    }
}

}  // namespace
