#include "WorkList.h"

#include <algorithm>

#include "IdSet.h"

WorkList::WorkList() : entries(kSpawnCapacity) {}

void WorkList::getWorkLocations(const SpawnTable& table, std::int32_t monsterid,
                                std::int32_t mapnumber) {
    count = 0;
    for (int i = 0; i < table.count; ++i) {
        const SpawnEntry& entry = table.entries[static_cast<std::size_t>(i)];
        if (entry.monsterid != monsterid || entry.spotid == -1) continue;
        if (mapnumber != -1 && mapnumber != entry.mapnumber) continue;
        entries[static_cast<std::size_t>(count++)] = entry;
    }
    for (std::size_t i = static_cast<std::size_t>(count); i < entries.size(); ++i)
        entries[i].spotid = -1;
}

bool havepos(const SpawnTable& table, std::int32_t monsterid) {
    for (int i = 0; i < table.count; ++i)
        if (table.entries[static_cast<std::size_t>(i)].monsterid == monsterid) return true;
    return false;
}

std::vector<bool> haveposOfEach(const SpawnTable& table, const MonsterTable& monsters) {
    IdSet withSpots(static_cast<std::size_t>(std::max(table.count, 0)));
    for (int i = 0; i < table.count; ++i) withSpots.insert(table.entries[static_cast<std::size_t>(i)].monsterid);
    std::vector<bool> have(static_cast<std::size_t>(std::max(monsters.monstercount, 0)));
    for (std::size_t i = 0; i < have.size(); ++i) have[i] = withSpots.contains(monsters.monsters[i].id);
    return have;
}

void deletespot(SpawnTable& table, std::int32_t spotid) {
    for (int i = 0; i < table.count; ++i) {
        SpawnEntry& entry = table.entries[static_cast<std::size_t>(i)];
        if (entry.spotid == spotid) {
            entry.spotid = -1;
            return;
        }
    }
}

void restorespot(SpawnTable& table, std::int32_t spotid) {
    if (spotid < 0 || spotid >= table.count) return;
    SpawnEntry& entry = table.entries[static_cast<std::size_t>(spotid)];
    if (entry.spotid == -1) entry.spotid = spotid;
}

void replacespot(SpawnTable& table, std::int32_t spotid, const SpawnEntry& entry) {
    if (!table.liveSpot(spotid)) return;
    SpawnEntry& kept = table.entries[static_cast<std::size_t>(spotid)];
    kept = entry;
    kept.ispoint = isPointType(entry.spottype);
    kept.spotid = spotid;
}

bool hasLiveSpot(const SpawnTable& table, std::int32_t monsterid) {
    for (int i = 0; i < table.count; ++i) {
        const SpawnEntry& entry = table.entries[static_cast<std::size_t>(i)];
        if (entry.monsterid == monsterid && entry.spotid != -1) return true;
    }
    return false;
}
