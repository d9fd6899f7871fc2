#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"

namespace {

const std::filesystem::path kSample = std::filesystem::path(VARNEX_SOURCE_DIR) / "sample";

TEST(SampleData, TablesReadWithoutErrorsOrNotices) {
    MonsterTable monsters;
    ASSERT_NO_THROW(monsters.loadmonsterdata(kSample));
    EXPECT_GE(monsters.monstercount, 90);
    int immobile = 0;
    for (int i = 0; i < monsters.monstercount; ++i) immobile += monsters.monsters[static_cast<std::size_t>(i)].canmove ? 0 : 1;
    EXPECT_GT(immobile, 0) << "some sample monsters cannot move";

    SpawnTable spawns;
    std::vector<std::string> notices;
    ASSERT_NO_THROW(spawns.loadmonsterslocation(kSample, monsters, [&](const MissingMonster& dropped) {
        notices.push_back(dropped.text);
    }));
    EXPECT_TRUE(notices.empty()) << notices.front();
    EXPECT_GE(spawns.count, 300);
    EXPECT_EQ(spawns.saveRefusal(), "");
    std::set<int> types;
    for (int i = 0; i < spawns.count; ++i) types.insert(spawns.entries[static_cast<std::size_t>(i)].spottype);
    EXPECT_EQ(types.size(), 5u) << "every section holds spots";
}

// The files staged beside the program must read without a stop and come back
// unchanged through a save and a second read.
TEST(SampleTables, ReadsCompletelyAndSurvivesSaveAndReload) {
    const std::filesystem::path sample = std::filesystem::path(VARNEX_SOURCE_DIR) / "sample";
    MonsterTable monsters;
    monsters.loadmonsterdata(sample);
    EXPECT_GT(monsters.monstercount, 0);
    std::vector<std::string> notices;
    SpawnTable spawns;
    spawns.loadmonsterslocation(sample, monsters,
                                [&](const MissingMonster& dropped) { notices.push_back(dropped.text); });
    EXPECT_TRUE(notices.empty()) << notices.front();
    EXPECT_GT(spawns.count, 0);
    EXPECT_EQ(spawns.saveRefusal(), "");

    MonsterTable monstersAgain;
    monstersAgain.loadFromText(monsters.fileBytes(), "saved monster table");
    EXPECT_EQ(monstersAgain.monsterlines, monsters.monsterlines);
    EXPECT_EQ(monstersAgain.monstercount, monsters.monstercount);

    SpawnTable spawnsAgain;
    spawnsAgain.loadFromText(spawns.fileBytes(), "saved spawn file", monsters, {});
    EXPECT_EQ(spawnsAgain.count, spawns.count);
    EXPECT_EQ(spawnsAgain.fileBytes(), spawns.fileBytes());
}

}  // namespace
