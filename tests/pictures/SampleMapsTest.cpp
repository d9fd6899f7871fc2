// The sample data shipped beside the program: every map the spawn file uses has a
// picture that decodes.

#include <gtest/gtest.h>

#include "JpegImage.h"
#include "MonsterTable.h"
#include "SpawnTable.h"

#include <filesystem>
#include <set>
#include <string>

namespace {

const std::filesystem::path kSample = std::filesystem::path(VARNEX_SOURCE_DIR) / "sample";

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
