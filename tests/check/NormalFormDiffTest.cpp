// varnex-check --diff against the system's `diff -u` of each file and the file the
// editor's own save writes after reading it without an edit.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "MonsterTable.h"
#include "PlantedFolder.h"
#include "RealDiff.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

struct Server {
    const char* name;
    std::string monsters;
    std::string spawns;
    bool editorSaves;  // whether the editor reads both files to their ends
};

#ifndef _WIN32
std::string sampleFile(const char* name) {
    return fileBytes(fs::path(VARNEX_SOURCE_DIR) / "sample" / "data" / name);
}

// What the editor does with the folder: reads both tables and saves each with its save
// button, into `saved`.
void saveAsTheEditorDoes(const fs::path& folder, const fs::path& saved) {
    fs::create_directories(saved / "data");
    fs::copy(folder / "data", saved / "data", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    MonsterTable monsters;
    monsters.loadmonsterdata(saved);
    SpawnTable spawns;
    spawns.loadmonsterslocation(saved, monsters, {});
    ASSERT_TRUE(monsters.savemonsterdata(saved));
    ASSERT_TRUE(spawns.save(saved));
}
#endif

TEST(VarnexCheckDiff, IsDiffOfEachFileAgainstWhatTheEditorSaves) {
#ifdef _WIN32
    GTEST_SKIP() << "no diff program on Windows";
#else
    const Server servers[] = {
        {"the sample", sampleFile("monster.txt"), sampleFile("Quarnel.txt"), true},
        {"already in normal form", crlf({monsterLine("0", "Ant", "1"), "end"}), crlf({"0", "0\t0\t0\t1\t1\t-1", "end",
                                                                                       "1", "end", "2", "end", "3",
                                                                                       "end", "4", "end"}),
         true},
        {"line feeds, no end of the last line, sections out of order",
         monsterLine("0", "Two  Words", "1") + "\n" + monsterLine("1", "Ant", "2"),
         "2\n0 0 0 5 5 1 // kept\n\n5\nend\n0\n1 3 0 1 1 -1\n9 0 0 1 1 -1\nend", true},
        {"from CR line ends", "0 0 \"A\" 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5\r", "0\r0 0 0 1 2 -1\r",
         true},
        {"a monster line the load stops at", crlf({monsterLine("0", "Ant", "1"), "x"}), crlf({"0", "0 0 0 1 1 -1"}),
         false},
        {"a spawn line the load stops at", crlf({monsterLine("0", "Ant", "1")}), crlf({"0", "0 0 0 1 1 -1", "end 5"}),
         false},
    };
    for (const Server& server : servers) {
        const TempFolder folder;
        folder.write("data/monster.txt", server.monsters);
        folder.write("data/Quarnel.txt", server.spawns);
        const fs::path saved = folder.path() / "saved";
        std::string expected;
        if (server.editorSaves) {
            saveAsTheEditorDoes(folder.path(), saved);
            for (const char* file : {"data/monster.txt", "data/Quarnel.txt"})
                expected += realUnifiedDiff(folder.path() / file, saved / file, std::string("a/") + file,
                                            std::string("b/") + file);
        }
        const Outcome run = check({"--diff", "--no-pictures", folder.path().string()});
        EXPECT_EQ(run.out, expected) << server.name;
        EXPECT_EQ(run.status, check({"--no-pictures", folder.path().string()}).status) << server.name;
    }
    // The monster table lists every monster of the sample's spawn file: a dropped line
    // is tried here.
    ASSERT_NE(sampleFile("Quarnel.txt").find("// check this one"), std::string::npos);
#endif
}

TEST(VarnexCheckDiff, DropsTheSpawnLinesOfMissingMonsters) {
    const TempFolder folder;
    folder.write("data/monster.txt", crlf({monsterLine("0", "Ant", "1")}));
    folder.write("data/Quarnel.txt", crlf({"0", "0\t0\t0\t1\t1\t-1", "7\t0\t0\t2\t2\t-1", "end"}));
    const Outcome run = check({"--diff", "--no-pictures", folder.path().string()});
    EXPECT_EQ(run.out, "--- a/data/Quarnel.txt\n+++ b/data/Quarnel.txt\n@@ -1,4 +1,11 @@\n 0\r\n 0\t0\t0\t1\t1\t-1\r\n"
                       "-7\t0\t0\t2\t2\t-1\r\n+end\r\n+1\r\n+end\r\n+2\r\n+end\r\n+3\r\n+end\r\n+4\r\n end\r\n");
    EXPECT_EQ(run.status, kExitErrors);  // the dropped line is an error of the check, as without --diff
}

}  // namespace
