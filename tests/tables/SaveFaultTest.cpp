#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

struct Fault {
    const char* name;
    WriteFaults faults;
};

const std::vector<Fault> kFaults = {
    {"after0", {0, false, false}},   {"after1", {1, false, false}},   {"after7", {7, false, false}},
    {"after50", {50, false, false}}, {"flush", {-1, true, false}}, {"rename", {-1, false, true}},
    // In place, for want of a temporary file:
    {"inPlaceAfter7", {.failAfterBytes = 7, .failTemporary = true}},
    {"inPlaceReadBack", {.failTemporary = true, .failReadBack = true}},
};

class FailingTableSave : public testing::TestWithParam<Fault> {
protected:
    void TearDown() override { setWriteFaultsForTesting({}); }
};

TEST_P(FailingTableSave, MonsterTableLeavesOldFileAndTableThenSavesLater) {
    TempFolder folder;
    const std::string old = crlf({monsterLine("1", "Old  Wolf", "3"), monsterLine("2", "Rat", "4"), "end"}) + "x";
    folder.write("data/monster.txt", old);
    MonsterTable table;
    table.loadmonsterdata(folder.path());
    std::array<std::int32_t, kEditableColumns> values{};
    values.fill(9);
    table.monsterlines[1] = rebuildmonsterline(table.monsterlines[1], values);
    const auto linesBefore = table.monsterlines;
    const auto monstersBefore = table.monsters;

    setWriteFaultsForTesting(GetParam().faults);
    try {
        table.savemonsterdata(folder.path());
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + monsterFileLabel());
    }
    EXPECT_EQ(folder.read("data/monster.txt"), old);
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"monster.txt"});
    EXPECT_EQ(table.monsterlines, linesBefore);
    EXPECT_EQ(table.monsters, monstersBefore);

    setWriteFaultsForTesting({});
    table.savemonsterdata(folder.path());
    EXPECT_EQ(folder.read("data/monster.txt"), table.fileBytes());
}

TEST_P(FailingTableSave, SpawnFileLeavesOldFileAndTableThenSavesLater) {
    TempFolder folder;
    const MonsterTable monsters = monstersWithIds({17});
    const std::string old = "0\r\n17 0 30 1 2 3 // old\r\nend\r\n";
    folder.write("data/Quarnel.txt", old);
    SpawnTable table;
    table.loadmonsterslocation(folder.path(), monsters, {});
    SpawnEntry added;
    added.ispoint = true;
    added.monsterid = 17;
    table.append(added);
    const auto entriesBefore = table.entries;

    setWriteFaultsForTesting(GetParam().faults);
    try {
        table.save(folder.path());
        ADD_FAILURE() << "reported success";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file " + (folder.path() / "data" / "Quarnel.txt").string());
    }
    EXPECT_EQ(folder.read("data/Quarnel.txt"), old);
    EXPECT_EQ(namesIn(folder.path() / "data"), std::vector<std::string>{"Quarnel.txt"});
    EXPECT_EQ(table.count, 2);
    EXPECT_EQ(table.entries, entriesBefore);
    EXPECT_TRUE(table.saveRefusal().empty());

    setWriteFaultsForTesting({});
    table.save(folder.path());
    EXPECT_EQ(folder.read("data/Quarnel.txt"), table.fileBytes());
}

INSTANTIATE_TEST_SUITE_P(Faults, FailingTableSave, testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FailingTableSave, TargetThatIsAFolder) {
    TempFolder folder;
    folder.write("data/monster.txt/keep", "k");
    folder.write("data/Quarnel.txt/keep", "k");
    MonsterTable monsters;
    monsters.loadFromText(crlf({monsterLine("1", "A", "1"), "end"}), monsterFileLabel());
    SpawnTable spawns;
    spawns.loadFromText("", spawnFileLabel(), monsters, {});
    EXPECT_THROW(monsters.savemonsterdata(folder.path()), TableError);
    EXPECT_THROW(spawns.save(folder.path()), TableError);
    EXPECT_EQ(folder.read("data/monster.txt/keep"), "k");
    EXPECT_EQ(folder.read("data/Quarnel.txt/keep"), "k");
    EXPECT_EQ(namesIn(folder.path() / "data"), (std::vector<std::string>{"Quarnel.txt", "monster.txt"}));
}

TEST(FailingTableSave, MissingDataFolder) {
    TempFolder folder;
    MonsterTable monsters;
    monsters.loadFromText(crlf({monsterLine("1", "A", "1")}), monsterFileLabel());
    SpawnTable spawns;
    spawns.loadFromText("", spawnFileLabel(), monsters, {});
    EXPECT_THROW(monsters.savemonsterdata(folder.path()), TableError);
    EXPECT_THROW(spawns.save(folder.path()), TableError);
    EXPECT_TRUE(namesIn(folder.path()).empty());
}

TEST(StoppedMonsterLoad, LaterSaveWritesEveryLineOfTheFile) {
    TempFolder folder;
    const std::vector<std::string> lines = {monsterLine("1", "A", "1"), monsterLine("2", "B", "300"),
                                            monsterLine("3", "C", "1"), "end", "after"};
    folder.write("data/monster.txt", crlf(lines));
    MonsterTable table;
    EXPECT_THROW(table.loadmonsterdata(folder.path()), TableError);
    EXPECT_EQ(table.monstercount, 1);
    table.savemonsterdata(folder.path());
    EXPECT_EQ(folder.read("data/monster.txt"), crlf(lines));
}

}  // namespace
