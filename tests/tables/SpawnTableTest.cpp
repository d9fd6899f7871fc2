#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

const std::string kSpawnLabel = "data/Quarnel.txt";
const std::string kEmptyFile = "0\r\nend\r\n1\r\nend\r\n2\r\nend\r\n3\r\nend\r\n4\r\nend\r\n";

struct Loaded {
    SpawnTable table;
    std::vector<MissingMonster> notices;
};

const MonsterTable& knownMonsters() {
    static const MonsterTable table = monstersWithIds({17, 18, 5, -3});
    return table;
}

void load(Loaded& loaded, const std::string& bytes) {
    loaded.table.loadFromText(bytes, kSpawnLabel, knownMonsters(),
                              [&](const MissingMonster& dropped) { loaded.notices.push_back(dropped); });
}

SpawnEntry point(int type, int id, int map, int distance, int x, int y, int dir, int spotid) {
    SpawnEntry e;
    e.ispoint = true;
    e.spottype = static_cast<std::uint8_t>(type);
    e.monsterid = id;
    e.mapnumber = static_cast<std::uint8_t>(map);
    e.distance = static_cast<std::uint8_t>(distance);
    e.x0 = static_cast<std::uint8_t>(x);
    e.y0 = static_cast<std::uint8_t>(y);
    e.dir = dir;
    e.spotid = spotid;
    return e;
}

SpawnEntry range(int type, int id, int map, int distance, int x0, int y0, int x1, int y1, int dir,
                 int count, int spotid) {
    SpawnEntry e = point(type, id, map, distance, x0, y0, dir, spotid);
    e.ispoint = false;
    e.x1 = static_cast<std::uint8_t>(x1);
    e.y1 = static_cast<std::uint8_t>(y1);
    e.count = static_cast<std::uint8_t>(count);
    return e;
}

std::vector<SpawnEntry> liveEntries(const SpawnTable& table) {
    return {table.entries.begin(), table.entries.begin() + table.count};
}

TEST(SpawnRead, SectionsMarkersCommentsAndShortLines) {
    Loaded loaded;
    load(loaded, crlf({
                     "// hand-edited file",
                     "17 0 30 1 2 3",              // before any marker: type 0
                     "  1 // ranges follow",
                     "\t18\t1  30 100 110 140 150  -1 5   // five rats",
                     "  end \t// closes the ranges",
                     "17 2 7 100 110 120 130 9 3",  // after "end": still section 1
                     "5",
                     "18 4 7 1 2 3 4 5 6",  // "5" opened no section: still section 1
                     "10",
                     "",
                     "   ",
                     "//",
                     "4",
                     "5 255 255 255 255 -2147483648",
                     "end",
                     "2",
                     "017\t0\t007\t0\t0\t-1",
                     "end",
                     "3",
                     "end",
                 }));
    EXPECT_TRUE(loaded.notices.empty());
    const std::vector<SpawnEntry> expected = {
        point(0, 17, 0, 30, 1, 2, 3, 0),
        range(1, 18, 1, 30, 100, 110, 140, 150, -1, 5, 1),
        range(1, 17, 2, 7, 100, 110, 120, 130, 9, 3, 2),
        range(1, 18, 4, 7, 1, 2, 3, 4, 5, 6, 3),
        point(4, 5, 255, 255, 255, 255, -2147483647 - 1, 4),
        point(2, 17, 0, 7, 0, 0, -1, 5),
    };
    EXPECT_EQ(liveEntries(loaded.table), expected);
    EXPECT_TRUE(loaded.table.saveRefusal().empty());
    EXPECT_EQ(loaded.table.fileBytes(),
              crlf({"0", "17\t0\t30\t1\t2\t3", "end",
                    "1", "18\t1\t30\t100\t110\t140\t150\t-1\t5", "17\t2\t7\t100\t110\t120\t130\t9\t3",
                    "18\t4\t7\t1\t2\t3\t4\t5\t6", "end",
                    "2", "17\t0\t7\t0\t0\t-1", "end",
                    "3", "end",
                    "4", "5\t255\t255\t255\t255\t-2147483648", "end"}));
}

TEST(SpawnRead, LeadingZerosAreDecimal) {
    Loaded loaded;
    load(loaded, "2\r\n0017 000 030 010 011 -01\r\nend\r\n");
    ASSERT_EQ(loaded.table.count, 1);
    EXPECT_EQ(loaded.table.entries[0], point(2, 17, 0, 30, 10, 11, -1, 0));
    EXPECT_EQ(loaded.table.fileBytes(),
              "0\r\nend\r\n1\r\nend\r\n2\r\n17\t0\t30\t10\t11\t-1\r\nend\r\n3\r\nend\r\n4\r\nend\r\n");
}

// Signs, leading zeros and the 32-bit limits, in the lines of both kinds: a column
// of ten or more characters, or with a plus, reads as the short plain form does.
TEST(SpawnRead, EveryWrittenFormOfANumber) {
    const struct {
        const char* line;
        SpawnEntry entry;
    } cases[] = {
        {"+17 +0 +30 +1 +2 +3", point(0, 17, 0, 30, 1, 2, 3, 0)},
        {"0000000017 0000000000 0000000030 1 2 -0000000003", point(0, 17, 0, 30, 1, 2, -3, 0)},
        {"17 0 30 1 2 -0", point(0, 17, 0, 30, 1, 2, 0, 0)},
        {"17 0 30 1 2 2147483647", point(0, 17, 0, 30, 1, 2, 2147483647, 0)},
        {"17 0 30 1 2 999999999", point(0, 17, 0, 30, 1, 2, 999999999, 0)},
        {"1\r\n17 0 30 1 2 +3 4 -2147483648 +0000000255", range(1, 17, 0, 30, 1, 2, 3, 4, -2147483647 - 1, 255, 0)},
    };
    for (const auto& c : cases) {
        Loaded loaded;
        load(loaded, std::string(c.line) + "\r\n");
        ASSERT_EQ(loaded.table.count, 1) << c.line;
        EXPECT_EQ(loaded.table.entries[0], c.entry) << c.line;
    }
}

TEST(SpawnRead, MissingMonsterIsReportedDroppedAndItsSlotReused) {
    Loaded loaded;
    load(loaded, crlf({"0", "17 0 30 1 2 3", "99 0 30 4 5 6", "-7 1 1 1 1 1", "18 0 30 7 8 9", "end"}));
    ASSERT_EQ(loaded.notices.size(), 2u);
    EXPECT_EQ(loaded.notices[0].line, 3);
    EXPECT_EQ(loaded.notices[0].monsterid, 99);
    EXPECT_EQ(loaded.notices[1].line, 4);
    EXPECT_EQ(loaded.notices[0].caption, "Error: cant find monster");
    EXPECT_EQ(loaded.notices[0].text,
              "Cant find monster in monster.txt with ID99\n\rthis ID was found in quarnel.txt and was removed.");
    EXPECT_EQ(loaded.notices[1].text,
              "Cant find monster in monster.txt with ID-7\n\rthis ID was found in quarnel.txt and was removed.");
    ASSERT_EQ(loaded.table.count, 2);
    EXPECT_EQ(loaded.table.entries[1], point(0, 18, 0, 30, 7, 8, 9, 1));
    EXPECT_EQ(loaded.table.fileBytes().find("99"), std::string::npos);
    EXPECT_TRUE(loaded.table.saveRefusal().empty());
}

TEST(SpawnRead, MonsterNumberMinusOneCountsAsMissingEvenWhenListed) {
    // The lookup answers "not found" with number -1, so a listed monster -1 cannot be told apart.
    const MonsterTable monsters = monstersWithIds({-1, 4});
    SpawnTable table;
    int notices = 0;
    table.loadFromText("-1 0 1 1 1 1\r\n4 0 1 1 1 1\r\n", kSpawnLabel, monsters,
                       [&](const MissingMonster&) { ++notices; });
    EXPECT_EQ(notices, 1);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.entries[0].monsterid, 4);
}

TEST(SpawnRead, OnlyMonstersWithinMonstercountAreKnown) {
    MonsterTable monsters = monstersWithIds({4, 6});
    monsters.monstercount = 1;
    SpawnTable table;
    int notices = 0;
    table.loadFromText("4 0 1 1 1 1\r\n6 0 1 1 1 1\r\n", kSpawnLabel, monsters,
                       [&](const MissingMonster&) { ++notices; });
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(table.count, 1);
}

struct ReadFailure {
    const char* name;
    std::vector<std::string> lines;
    std::string message;
    int line;
    int kept;
};

const std::vector<ReadFailure> kReadFailures = {
    {"CapitalEnd", {"0", "17 0 30 1 2 3", "END"}, "'END' is not a valid integer value", 3, 1},
    {"MixedCaseEnd", {"2", "End", "17 0 30 1 2 3"}, "'End' is not a valid integer value", 2, 0},
    {"Text", {"0", "hello world"}, "'hello' is not a valid integer value", 2, 0},
    {"RangeLineInPointSection", {"0", "17 0 30 100 110 140 150 -1 5"},
     "'140\t150\t-1\t5' is not a valid integer value", 2, 0},
    {"PointLineInRangeSection", {"3", "17 0 30 1 2 3 4 5 6", "17 0 30 120 130 -1"},
     "'' is not a valid integer value", 3, 1},
    {"TooFewFields", {"17 0 30"}, "'' is not a valid integer value", 1, 0},
    {"MapAbove255", {"17 256 30 1 2 3"}, "Range check error", 1, 0},
    {"NegativeX", {"17 0 30 -1 2 3"}, "Range check error", 1, 0},
    {"CountAbove255", {"1", "17 0 30 1 2 3 4 5 256"}, "Range check error", 2, 0},
    {"IdOverflow", {"2147483648 0 30 1 2 3"}, "'2147483648' is not a valid integer value", 1, 0},
    {"DirOverflow", {"17 0 30 1 2 -2147483649"}, "'-2147483649' is not a valid integer value", 1, 0},
    {"HexIsNotDecimal", {"$11 0 30 1 2 3"}, "'$11' is not a valid integer value", 1, 0},
    {"MarkerWithTextBehind", {"1 x"}, "'' is not a valid integer value", 1, 0},
};

class SpawnReadFailure : public testing::TestWithParam<ReadFailure> {};

TEST_P(SpawnReadFailure, StopsAtTheLineKeepingEntriesBeforeAndRefusesToSave) {
    const auto& c = GetParam();
    Loaded loaded;
    try {
        load(loaded, crlf(c.lines));
        ADD_FAILURE() << "read";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), c.message);
        EXPECT_EQ(error.file(), kSpawnLabel);
        EXPECT_EQ(error.line(), c.line);
    }
    EXPECT_EQ(loaded.table.count, c.kept);
    const std::string refusal = "data/Quarnel.txt was not read completely (reading stopped at line " +
                                std::to_string(c.line) +
                                "); saving now would lose the rest of it. Correct the file and start the "
                                "editor again.";
    EXPECT_EQ(loaded.table.saveRefusal(), refusal);
}

INSTANTIATE_TEST_SUITE_P(Files, SpawnReadFailure, testing::ValuesIn(kReadFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpawnFormat, PointAndRangeLines) {
    EXPECT_EQ(formatepositionstring(point(0, 17, 0, 30, 120, 130, -1, 0)), "17\t0\t30\t120\t130\t-1");
    EXPECT_EQ(formatepositionstring(range(3, 17, 0, 30, 100, 110, 140, 150, -1, 5, 0)),
              "17\t0\t30\t100\t110\t140\t150\t-1\t5");
    EXPECT_EQ(formatepositionstring(point(4, -2147483647 - 1, 255, 0, 255, 0, 2147483647, 9)),
              "-2147483648\t255\t0\t255\t0\t2147483647");
    for (int type = 0; type < 5; ++type) EXPECT_EQ(isPointType(type), type % 2 == 0) << type;
}

TEST(SpawnSave, EmptyTableIsTheTenLineFile) {
    Loaded loaded;
    load(loaded, "");
    EXPECT_EQ(loaded.table.fileBytes(), kEmptyFile);
    load(loaded, "// nothing but a comment\r\n");
    EXPECT_EQ(loaded.table.fileBytes(), kEmptyFile);
}

TEST(SpawnSave, OrderBySectionThenTableOrderWithoutDeletedEntries) {
    Loaded loaded;
    load(loaded, crlf({"2", "17 0 1 1 1 1", "18 0 2 2 2 2", "end", "0", "5 9 3 3 3 3", "end",
                       "3", "17 0 4 4 4 5 5 6 7", "end"}));
    ASSERT_EQ(loaded.table.count, 4);
    loaded.table.entries[1].spotid = -1;
    loaded.table.append(point(2, 5, 1, 8, 8, 8, 8, 99));
    loaded.table.append(point(0, 17, 1, 9, 9, 9, 9, 99));
    EXPECT_EQ(loaded.table.entries[4].spotid, 4);
    EXPECT_EQ(loaded.table.entries[5].spotid, 5);
    EXPECT_EQ(loaded.table.fileBytes(), crlf({"0", "5\t9\t3\t3\t3\t3", "17\t1\t9\t9\t9\t9", "end",
                                              "1", "end",
                                              "2", "17\t0\t1\t1\t1\t1", "5\t1\t8\t8\t8\t8", "end",
                                              "3", "17\t0\t4\t4\t4\t5\t5\t6\t7", "end",
                                              "4", "end"}));
}

TEST(SpawnSave, ReadSaveReadSaveIsByteForByteTheSame) {
    TempFolder work;
    TempFolder program;
    const std::string original = crlf({"// spots", "0", "17  0 30 120 130 -1 // gate", "end", "1",
                                       "18 3 30 100 110 140 150 -1 5", "end", "2", "007 1 1 1 1 1", "end"});
    work.write("data/Quarnel.txt", original);
    std::filesystem::create_directories(program.path() / "data");
    SpawnTable first;
    first.loadmonsterslocation(work.path(), knownMonsters(), {});
    first.save(program.path());
    const std::string saved = program.read("data/Quarnel.txt");
    EXPECT_EQ(work.read("data/Quarnel.txt"), original) << "saved below the program's folder, not the work folder";

    SpawnTable second;
    second.loadmonsterslocation(program.path(), knownMonsters(), {});
    EXPECT_EQ(liveEntries(second), liveEntries(first));
    second.save(program.path());
    EXPECT_EQ(program.read("data/Quarnel.txt"), saved);
    EXPECT_EQ(saved, crlf({"0", "17\t0\t30\t120\t130\t-1", "end", "1", "18\t3\t30\t100\t110\t140\t150\t-1\t5",
                           "end", "2", "end", "3", "end", "4", "end"}));
}

TEST(SpawnSave, MissingProgramDataFolderIsCannotCreateWithTheFullPath) {
    TempFolder program;
    Loaded loaded;
    load(loaded, "0\r\n17 0 30 1 2 3\r\n");
    const auto before = liveEntries(loaded.table);
    try {
        loaded.table.save(program.path());
        ADD_FAILURE() << "saved";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file " + (program.path() / "data" / "Quarnel.txt").string());
    }
    EXPECT_FALSE(program.exists("data"));
    EXPECT_EQ(liveEntries(loaded.table), before);
}

TEST(SpawnRefusal, NeverReadOrNotOpenedTablesAreNotSaved) {
    TempFolder program;
    std::filesystem::create_directories(program.path() / "data");
    SpawnTable never;
    EXPECT_NE(never.saveRefusal().find(spawnFileLabel() + " was not read"), std::string::npos)
        << never.saveRefusal();
    try {
        never.save(program.path());
        ADD_FAILURE() << "saved";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), never.saveRefusal());
    }

    SpawnTable unopened;
    try {
        unopened.loadmonsterslocation(program.path() / "nowhere", knownMonsters(), {});
        ADD_FAILURE() << "read";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + spawnFileLabel());
    }
    EXPECT_NE(unopened.saveRefusal().find("could not be opened"), std::string::npos) << unopened.saveRefusal();
    EXPECT_THROW(unopened.save(program.path()), TableError);
    EXPECT_FALSE(program.exists("data/Quarnel.txt"));
}

TEST(SpawnRefusal, StoppedReadIsNotSavedAndTheOldFileStays) {
    TempFolder folder;
    const std::string file = crlf({"0", "17 0 30 1 2 3", "oops here", "17 0 30 4 5 6"});
    folder.write("data/Quarnel.txt", file);
    SpawnTable table;
    EXPECT_THROW(table.loadmonsterslocation(folder.path(), knownMonsters(), {}), TableError);
    EXPECT_EQ(table.count, 1);
    try {
        table.save(folder.path());
        ADD_FAILURE() << "saved";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  spawnFileLabel() +
                      " was not read completely (reading stopped at line 3); saving now would "
                      "lose the rest of it. Correct the file and start the editor again.");
    }
    EXPECT_EQ(folder.read("data/Quarnel.txt"), file);
}

std::string manyPointLines(int n) {
    std::string bytes = "2\r\n";
    for (int i = 0; i < n; ++i) bytes += "17 " + std::to_string(i % 256) + " 1 2 3 -1\r\n";
    return bytes + "end\r\n";
}

TEST(SpawnCapacity, MoreThan10240EntriesStopReading) {
    Loaded loaded;
    // A dropped line past the room does not count; the 10241st accepted one stops the reader.
    std::string bytes = manyPointLines(10240);
    bytes += "99 0 1 2 3 -1\r\n18 0 1 2 3 -1\r\n";
    try {
        load(loaded, bytes);
        ADD_FAILURE() << "read";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "data/Quarnel.txt holds more than 10240 spawn places; only the first 10240 are listed.");
        EXPECT_EQ(error.line(), 10244);
    }
    EXPECT_EQ(loaded.table.count, kSpawnCapacity);
    EXPECT_EQ(loaded.table.entries.size(), static_cast<std::size_t>(kSpawnCapacity));
    EXPECT_EQ(loaded.notices.size(), 1u);
    EXPECT_FALSE(loaded.table.saveRefusal().empty());
}

TEST(SpawnCapacity, AppendToAFullTableIsRefusedAndChangesNothing) {
    Loaded loaded;
    load(loaded, manyPointLines(10239));
    loaded.table.append(point(2, 18, 0, 0, 0, 0, 0, 0));
    ASSERT_EQ(loaded.table.count, kSpawnCapacity);
    const auto before = liveEntries(loaded.table);
    try {
        loaded.table.append(point(2, 18, 1, 1, 1, 1, 1, 0));
        ADD_FAILURE() << "appended";
    } catch (const TableError& error) {
        EXPECT_NE(std::string(error.what()).find("full"), std::string::npos) << error.what();
    }
    EXPECT_EQ(loaded.table.count, kSpawnCapacity);
    EXPECT_EQ(liveEntries(loaded.table), before);
    EXPECT_TRUE(loaded.table.saveRefusal().empty());
}

}  // namespace
