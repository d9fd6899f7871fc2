#pragma once
// The work list: copies of one monster's live spots, on one map or on all maps.
// The spawn page and the map preview read spots only from here.

#include <cstdint>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"

class WorkList {
public:
    WorkList();  // room for kSpawnCapacity entries, count 0

    // Copies every live entry of the monster (mapnumber -1: every map) in table order;
    // every entry from count on gets spotid -1.
    void getWorkLocations(const SpawnTable& table, std::int32_t monsterid, std::int32_t mapnumber);

    std::vector<SpawnEntry> entries;
    int count = 0;
};

// True when any entry of the table, deleted or not, has this monster number.
bool havepos(const SpawnTable& table, std::int32_t monsterid);
// True when a live entry of the table has this monster number.
bool hasLiveSpot(const SpawnTable& table, std::int32_t monsterid);
// havepos of every monster of the monster table, in its order, from one pass over the
// spawn table.
std::vector<bool> haveposOfEach(const SpawnTable& table, const MonsterTable& monsters);

// Marks the first entry with this spot number deleted; an unknown number is ignored.
void deletespot(SpawnTable& table, std::int32_t spotid);
// Makes the deleted entry at this index live again with its old spot number (its
// index), in its old place: undoing a deletion. Anything else changes nothing.
void restorespot(SpawnTable& table, std::int32_t spotid);
// Gives the live entry with this spot number the place and values of `entry`, keeping
// its spot number and its place in the table. Anything else changes nothing.
void replacespot(SpawnTable& table, std::int32_t spotid, const SpawnEntry& entry);
