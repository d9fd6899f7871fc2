// The checker's errors against the editor's own readers over the same planted folder:
// every error is a line where the editor's load stops, a monster the stats page cannot
// show, or a spawn line the editor drops, and every such line is an error.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Checker.h"
#include "MonsterFields.h"
#include "PlantedFolder.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TextFile.h"

namespace {


// The editor's load, again and again: where it stops, the line is mended (a monster
// line of a number nobody uses, or an empty spawn line) and the load starts over.
template <typename Load, typename Mend>
std::set<int> stopsUntilItLoads(std::vector<std::string>& lines, Load load, Mend mend) {
    std::set<int> stops;
    for (std::size_t round = 0; round <= lines.size(); ++round) {
        try {
            load(joinLinesCrLf(lines));
            return stops;
        } catch (const TableError& e) {
            if (e.line() < 1 || !stops.insert(e.line()).second) {
                ADD_FAILURE() << "the load stopped without a new line: " << e.what();
                return stops;
            }
            lines[static_cast<std::size_t>(e.line() - 1)] = mend(e.line());
        }
    }
    ADD_FAILURE() << "the load never went through";
    return stops;
}

TEST(VarnexCheck, EveryErrorIsWhereTheEditorStopsOrCannotEdit) {
    const std::filesystem::path monsterFile = kPlanted / "data" / "monster.txt";
    const std::filesystem::path spawnFile = kPlanted / "data" / "Quarnel.txt";
    const std::string monsterLabel = monsterFile.string();
    const std::string spawnLabel = spawnFile.string();

    std::set<int> checkedMonsters;
    std::set<int> checkedSpawns;
    for (const Problem& problem : checkFolder(kPlanted, {}).problems) {
        if (problem.severity != Severity::Error) continue;
        (problem.file == monsterLabel ? checkedMonsters : checkedSpawns).insert(problem.line);
    }
    ASSERT_GE(checkedMonsters.size(), 3u);
    ASSERT_GE(checkedSpawns.size(), 3u);

    std::vector<std::string> monsterLines = splitLines(readWholeFile(monsterFile, monsterLabel));
    MonsterTable monsters;
    std::set<int> editorMonsters = stopsUntilItLoads(
        monsterLines, [&](const std::string& bytes) { monsters.loadFromText(bytes, monsterLabel); },
        [](int line) { return monsterLine(std::to_string(1000000 + line), "Mended", "1"); });
    for (int i = 0; i < monsters.monstercount; ++i) {
        if (!readMonsterLine(monsters.monsterlines[static_cast<std::size_t>(i)], monsterLabel, i + 1).complete())
            editorMonsters.insert(i + 1);
    }
    EXPECT_EQ(editorMonsters, checkedMonsters);

    std::vector<std::string> spawnLines = splitLines(readWholeFile(spawnFile, spawnLabel));
    std::set<int> dropped;
    std::set<int> editorSpawns = stopsUntilItLoads(
        spawnLines,
        [&](const std::string& bytes) {
            SpawnTable spawns;
            spawns.loadFromText(bytes, spawnLabel, monsters,
                                [&](const MissingMonster& notice) { dropped.insert(notice.line); });
        },
        [](int) { return std::string(); });
    editorSpawns.insert(dropped.begin(), dropped.end());
    EXPECT_EQ(editorSpawns, checkedSpawns);
}

}  // namespace
