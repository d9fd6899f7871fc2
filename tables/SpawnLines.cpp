#include "SpawnLines.h"

#include "MonsterTable.h"
#include "TableError.h"
#include "TextFile.h"

std::string spawnLinesText(std::span<const SpawnEntry> spots) { return sectionsText(spots, false); }

std::vector<SpawnEntry> readSpawnLines(std::string_view text, const MonsterTable& monsters) {
    std::string named;
    int missing = 0;
    SpawnTable read;
    read.loadFromText(text, kPastedTextLabel, monsters, [&](const MissingMonster& line) {
        if (++missing > kNamedPastedLines) return;
        if (!named.empty()) named += ", ";
        named += std::to_string(line.monsterid) + " (line " + std::to_string(line.line) + ")";
    });
    if (missing > 0) {
        const int more = missing - kNamedPastedLines;
        if (more > 0) named += more == 1 ? " and 1 more line" : " and " + std::to_string(more) + " more lines";
        throw TableError("The pasted lines name monsters that " + monsterFileLabel() + " does not list: " + named +
                         ".");
    }
    return {read.entries.begin(), read.entries.begin() + read.count};
}
