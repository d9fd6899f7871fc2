// The sample data shipped beside the program: both tables read cleanly and every map
// the spawn file uses has a picture that decodes.

#include <gtest/gtest.h>

#include "JpegImage.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"

#include <filesystem>
#include <set>
#include <string>

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

TEST(SampleData, EveryUsedMapHasAPicture) {
    MonsterTable monsters;
    monsters.loadmonsterdata(kSample);
    SpawnTable spawns;
    spawns.loadmonsterslocation(kSample, monsters, {});
    std::set<int> maps;
    for (int i = 0; i < spawns.count; ++i) maps.insert(spawns.entries[static_cast<std::size_t>(i)].mapnumber);
    ASSERT_GE(maps.size(), 3u);
    for (const int map : maps) {
        const auto file = kSample / "VarnexMaps" / (std::to_string(map) + ".jpg");
        RgbImage img;
        ASSERT_NO_THROW(img = readJpegFile(file)) << file;
        EXPECT_GE(img.width, 256) << file;
        EXPECT_EQ(img.width, img.height) << file;
        EXPECT_LE(std::filesystem::file_size(file), 80u * 1024u) << file;
    }
}

}  // namespace
