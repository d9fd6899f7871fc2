// The readers with a LineSink: every line where the editor's load stops is told and
// skipped, the rest is read. Without a sink the same bytes stop the load at the first
// line told.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LineSink.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TextFile.h"

namespace {

const std::string kMonsters = "data/monster.txt";
const std::string kSpawns = "data/Quarnel.txt";
const std::string kBom(kByteOrderMark);

struct Told {
    std::vector<std::pair<int, std::string>> bad;  // line, message
    std::vector<int> taken;
    LineSink sink() {
        return {[this](const TableError& e) { bad.emplace_back(e.line(), e.what()); },
                [this](int line) { taken.push_back(line); }};
    }
};

std::vector<int> range(int first, int last) {
    std::vector<int> lines;
    for (int line = first; line <= last; ++line) lines.push_back(line);
    return lines;
}

std::string monsters(int count) {
    std::vector<std::string> lines;
    for (int id = 0; id < count; ++id) lines.push_back(monsterLine(std::to_string(id), "M", "1"));
    return crlf(lines);
}

const std::string kTooManyMonsters = tooManyMessage(kMonsters, kMonsterCapacity, "monsters");
const std::string kTooManySpots = tooManyMessage(kSpawns, kSpawnCapacity, "spawn places");

TEST(LineSink, TheMonsterLoadTellsEveryLineItWouldStopAtAndReadsTheRest) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::pair<int, std::string>> bad;
        std::vector<int> taken;
    };
    const Case cases[] = {
        {"two bad lines",
         crlf({monsterLine("1", "A", "1"), monsterLine("x", "B", "1"), monsterLine("3", "C", "1"),
               monsterLine("4", "D", "256"), monsterLine("5", "E", "1"), "end", "not \"read\""}),
         {{2, "'x' is not a valid integer value"}, {4, "Range check error"}},
         {1, 3, 5}},
        {"past the 1024th monster, bad lines are still told",
         monsters(kMonsterCapacity + 1) + monsterLine("x", "F", "1") + "\r\n",
         {{1025, kTooManyMonsters}, {1026, "'x' is not a valid integer value"}},
         range(1, 1024)},
        {"a NUL byte",
         crlf({monsterLine("1", "A", "1"), monsterLine("x", "B", "1")}) + std::string("3\0", 2),
         {{2, "'x' is not a valid integer value"}, {3, nulByteMessage(kMonsters, 3)}},
         {1}},
        {"a byte order mark", kBom + crlf({monsterLine("1", "A", "1"), monsterLine("2", "B", "1")}),
         {{1, byteOrderMarkMessage()}},
         {2}},
    };
    for (const auto& c : cases) {
        Told told;
        const LineSink sink = told.sink();
        MonsterTable table;
        table.loadFromText(c.bytes, kMonsters, &sink);
        EXPECT_EQ(told.bad, c.bad) << c.name;
        EXPECT_EQ(told.taken, c.taken) << c.name;
        EXPECT_EQ(table.monstercount, static_cast<int>(c.taken.size())) << c.name;

        MonsterTable editor;
        try {
            editor.loadFromText(c.bytes, kMonsters);
            ADD_FAILURE() << c.name << ": the editor's load went through";
        } catch (const TableError& e) {
            EXPECT_EQ(e.what(), c.bad.front().second) << c.name;
        }
    }
}

TEST(LineSink, TheSpawnReadTellsEveryLineItWouldStopAtAndReadsTheRest) {
    const MonsterTable known = monstersWithIds({1, 2});
    std::string full;
    for (int i = 0; i <= kSpawnCapacity; ++i) full += "1\t0\t0\t5\t5\t-1\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::pair<int, std::string>> bad;
        std::vector<int> taken;
        std::vector<int> dropped;  // the notices still come
    };
    const Case cases[] = {
        {"bad lines and a missing monster",
         crlf({"0", "1 0 0 5 5 -1", "1 0 0 5 300 -1", "9 0 0 5 5 -1", "END", "1", "2 0 0 1 1 2 2 -1 5",
               "2 0 0 1 1 -1"}),
         {{3, "Range check error"}, {5, "'END' is not a valid integer value"}, {8, "'' is not a valid integer value"}},
         {2, 7},
         {4}},
        {"past the 10240th spot, lines are still read",
         full + "1\t0\t0\t5\tx\t-1\r\n9\t0\t0\t5\t5\t-1\r\n",
         {{kSpawnCapacity + 1, kTooManySpots}, {kSpawnCapacity + 2, "'x' is not a valid integer value"}},
         range(1, kSpawnCapacity),
         {kSpawnCapacity + 3}},
        {"a NUL byte", crlf({"1 0 0 5 5 x", "2 0 0 5 5 -1"}) + std::string("1\0", 2),
         {{1, "'x' is not a valid integer value"}, {3, nulByteMessage(kSpawns, 3)}},
         {2},
         {}},
        {"a byte order mark", kBom + crlf({"0", "1 0 0 5 5 -1"}), {{1, byteOrderMarkMessage()}}, {2}, {}},
    };
    for (const auto& c : cases) {
        Told told;
        const LineSink sink = told.sink();
        std::vector<int> dropped;
        const auto notice = [&](const MissingMonster& m) { dropped.push_back(m.line); };
        SpawnTable table;
        table.loadFromText(c.bytes, kSpawns, known, notice, &sink);
        EXPECT_EQ(told.bad, c.bad) << c.name;
        EXPECT_EQ(told.taken, c.taken) << c.name;
        EXPECT_EQ(dropped, c.dropped) << c.name;
        EXPECT_EQ(table.count, static_cast<int>(c.taken.size())) << c.name;
        EXPECT_NE(table.saveRefusal(), "") << c.name;

        SpawnTable editor;
        try {
            editor.loadFromText(c.bytes, kSpawns, known, {});
            ADD_FAILURE() << c.name << ": the editor's read went through";
        } catch (const TableError& e) {
            EXPECT_EQ(e.what(), c.bad.front().second) << c.name;
        }
    }
}

// The editor reads nothing then; a sink hears why, and every line is read, none dropped.
TEST(LineSink, WithoutAnyMonsterTheSpawnReadSaysSoOnceAndDropsNothing) {
    Told told;
    const LineSink sink = told.sink();
    int notices = 0;
    SpawnTable table;
    table.loadFromText(crlf({"7 0 0 5 5 -1", "8 0 0 5 5 y"}), kSpawns, MonsterTable(),
                       [&](const MissingMonster&) { ++notices; }, &sink);
    const std::vector<std::pair<int, std::string>> bad = {{0, noMonstersMessage()},
                                                          {2, "'y' is not a valid integer value"}};
    EXPECT_EQ(told.bad, bad);
    EXPECT_EQ(told.taken, std::vector<int>{1});
    EXPECT_EQ(notices, 0);
    EXPECT_NE(table.saveRefusal(), "");
}

}  // namespace
