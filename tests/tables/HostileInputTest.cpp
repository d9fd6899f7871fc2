#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LineFormat.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TextFile.h"

namespace {

// What a load of arbitrary bytes left behind.
struct Outcome {
    bool monstersLoaded = false;
    std::string monsterError;
    int monsterLine = 0;
    bool spawnsLoaded = false;
    std::string spawnError;
    int spawnLine = 0;
};

const MonsterTable& knownTable() {
    static const MonsterTable table = monstersWithIds({17, 18});
    return table;
}

Outcome loadBoth(const std::string& bytes, MonsterTable& monsters, SpawnTable& spawns) {
    Outcome outcome;
    try {
        monsters.loadFromText(bytes, monsterFileLabel());
        outcome.monstersLoaded = true;
    } catch (const TableError& error) {
        outcome.monsterError = error.what();
        outcome.monsterLine = error.line();
    }
    const MonsterTable& known = knownTable();
    try {
        spawns.loadFromText(bytes, spawnFileLabel(), known, {});
        outcome.spawnsLoaded = true;
    } catch (const TableError& error) {
        outcome.spawnError = error.what();
        outcome.spawnLine = error.line();
    }
    return outcome;
}

TEST(HostileInput, FiftyMegabyteLineOfBlanks) {
    const std::string line(50u << 20, ' ');
    EXPECT_EQ(normalizeline(line, false), "");
    EXPECT_EQ(normalizeline(line, true), "");
    MonsterTable monsters;
    SpawnTable spawns;
    const Outcome outcome = loadBoth(line, monsters, spawns);
    EXPECT_EQ(outcome.monsterError, "'' is not a valid integer value");
    EXPECT_EQ(outcome.monsterLine, 1);
    EXPECT_EQ(monsters.monsterlines, std::vector<std::string>{""});
    EXPECT_TRUE(outcome.spawnsLoaded);
    EXPECT_EQ(spawns.count, 0);
}

TEST(HostileInput, MegabyteOfMixedSeparatorsBetweenWords) {
    std::string line;
    std::string expected;
    for (int i = 0; i < (1 << 18); ++i) {
        line += (i % 3 == 0) ? "\t \tx" : " ";
        if (i % 3 == 0) expected += expected.empty() ? "x" : "\tx";
    }
    EXPECT_EQ(normalizeline(line, false), expected);
    EXPECT_EQ(normalizeline(line + "  ", false), expected + "\t");
    EXPECT_EQ(normalizeline(line + "  // c", true), expected);
}

TEST(HostileInput, LineOfTenMillionDigits) {
    const std::string digits(10'000'000, '7');
    MonsterTable monsters;
    SpawnTable spawns;
    const Outcome outcome = loadBoth(digits + "\r\n", monsters, spawns);
    // Quoted by its beginning only: a message box of ten million digits would freeze the editor.
    const std::string message = "'" + digits.substr(0, 100) + "...' is not a valid integer value";
    EXPECT_EQ(outcome.monsterError, message);
    EXPECT_EQ(outcome.spawnError, message);
    EXPECT_EQ(outcome.spawnLine, 1);
    EXPECT_EQ(spawns.count, 0);
}

TEST(HostileInput, OneMillionShortLines) {
    std::string bytes = "2\r\n17 1 2 3 4 5\r\nend\r\n";
    for (int i = 0; i < 1'000'000; ++i) bytes += (i % 2 == 0) ? "10\r\n" : "\n";
    bytes += "18 1 2 3 4 5\r\n";
    MonsterTable monsters;
    SpawnTable spawns;
    const Outcome outcome = loadBoth(bytes, monsters, spawns);
    EXPECT_FALSE(outcome.monstersLoaded);
    EXPECT_EQ(monsters.monsterlines.size(), 1'000'004u);
    EXPECT_TRUE(outcome.spawnsLoaded) << outcome.spawnError;
    EXPECT_EQ(spawns.count, 2);
    EXPECT_EQ(spawns.entries[1].monsterid, 18);
    EXPECT_EQ(spawns.entries[1].spottype, 2);
}

TEST(HostileInput, FileOfNulBytesReadsNothingAndIsNotSavedOver) {
    const std::string nuls(1 << 20, '\0');
    MonsterTable monsters;
    SpawnTable spawns;
    const Outcome outcome = loadBoth(nuls, monsters, spawns);
    EXPECT_EQ(outcome.monsterError, nulByteMessage(monsterFileLabel(), 1));
    EXPECT_TRUE(monsters.monsterlines.empty());
    EXPECT_EQ(monsters.monstercount, 0);
    EXPECT_NE(monsters.saveRefusal(), "");
    EXPECT_EQ(outcome.spawnError, nulByteMessage(spawnFileLabel(), 1));
    EXPECT_EQ(spawns.count, 0);
    EXPECT_NE(spawns.saveRefusal(), "");
}

TEST(HostileInput, BinaryGarbageLoadsOrFailsCleanlyAndKeepsEveryLine) {
    unsigned state = 2024;
    for (int round = 0; round < 20; ++round) {
        std::string bytes;
        for (int i = 0; i < 20000; ++i) {
            state = state * 1664525u + 1013904223u;
            // Few NULs, so most of the text is read; plenty of separators and line ends.
            char c = static_cast<char>(state >> 24);
            if (c == '\0' && (state & 0xff00) != 0) c = '\t';
            bytes.push_back(c);
        }
        MonsterTable monsters;
        SpawnTable spawns;
        const Outcome outcome = loadBoth(bytes, monsters, spawns);
        std::vector<std::string> expected = splitLines(bytes);
        for (auto& line : expected) line = normalizeline(line, false);
        EXPECT_EQ(monsters.monsterlines, expected) << round;
        EXPECT_EQ(monsters.fileBytes(), joinLinesCrLf(expected)) << round;
        if (!outcome.monstersLoaded) {
            EXPECT_GT(outcome.monsterLine, 0) << round;
        }
        if (!outcome.spawnsLoaded) {
            EXPECT_GT(outcome.spawnLine, 0) << round;
            EXPECT_NE(spawns.saveRefusal(), "") << round;
        }
        EXPECT_LE(spawns.count, kSpawnCapacity);
    }
}

TEST(HostileInput, NamesWithControlCharactersAreKeptByteForByte) {
    const std::string name = "A\x01\x1b[31m\x7f\xff\xc3\xa9Z";
    const std::string line = monsterLine("4", name, "9");
    MonsterTable monsters;
    monsters.loadFromText(line + "\r\nend\r\n", monsterFileLabel());
    ASSERT_EQ(monsters.monstercount, 1);
    EXPECT_EQ(monsters.monsters[0].name, name);
    EXPECT_EQ(monsters.fileBytes(), line + "\r\nend\r\n");
}

TEST(HostileInput, ControlCharactersInSpawnFieldsStopTheReaderCleanly) {
    SpawnTable spawns;
    try {
        spawns.loadFromText("0\r\n17 0 30\x01 1 2 3\r\n", spawnFileLabel(), knownTable(), {});
        ADD_FAILURE() << "read";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "'30\x01' is not a valid integer value");
        EXPECT_EQ(error.line(), 2);
    }
    EXPECT_EQ(spawns.count, 0);
}

}  // namespace
