#include "SpawnLines.h"

#include "MonsterTable.h"
#include "TableError.h"
#include "TextFile.h"

std::string spawnLinesText(std::span<const SpawnEntry> spots) { return sectionsText(spots, false); }

std::vector<SpawnEntry> readSpawnLines(std::string_view text, const MonsterTable& monsters) {
    std::vector<MissingMonster> missing;
    SpawnTable read;
    read.loadFromText(text, kPastedTextLabel, monsters, [&](const MissingMonster& line) { missing.push_back(line); });
    if (!missing.empty()) {
        std::string named;
        for (const MissingMonster& line : missing) {
            if (!named.empty()) named += ", ";
            named += std::to_string(line.monsterid) + " (line " + std::to_string(line.line) + ")";
        }
        throw TableError("The pasted lines name monsters that " + monsterFileLabel() + " does not list: " + named +
                         ".");
    }
    return {read.entries.begin(), read.entries.begin() + read.count};
}
