#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"

namespace {

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
