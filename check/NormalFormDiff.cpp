#include "NormalFormDiff.h"

#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TextDiff.h"
#include "TextFile.h"

namespace {

std::string fileDiff(const std::string& bytes, const std::string& saved, const std::string& inFolder) {
    return unifiedDiff(bytes, saved, "a/" + inFolder, "b/" + inFolder);
}

}  // namespace

std::string normalFormDiff(const std::filesystem::path& folder) {
    std::string out;
    // The editor's own readers decide what it would save; each throws where its load
    // stops, which leaves that file unsaved (and, for the monster table, the spawn file
    // unread).
    MonsterTable monsters;
    try {
        const std::string bytes = readWholeFile(folder / "data" / "monster.txt", monsterFileLabel());
        monsters.loadFromText(bytes, monsterFileLabel());
        out += fileDiff(bytes, monsters.fileBytes(), "data/monster.txt");
    } catch (const TableError&) {
        return out;
    }
    try {
        const std::string bytes = readWholeFile(folder / "data" / "Quarnel.txt", spawnFileLabel());
        SpawnTable spawns;
        spawns.loadFromText(bytes, spawnFileLabel(), monsters, {});
        out += fileDiff(bytes, spawns.fileBytes(), "data/Quarnel.txt");
    } catch (const TableError&) {
    }
    return out;
}
