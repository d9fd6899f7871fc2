#pragma once
// What the history's steps (EditCommands.h) act on, and all they may do to it: read
// the tables, to name a step and keep what it replaces, and make the few changes that
// a step makes and its undo unmakes, each telling the views what changed. The document
// is the one target; no window holds one, so only a step of the history changes a
// table.

#include <cstdint>
#include <string>
#include <vector>

#include "MonsterTable.h"
#include "SpawnTable.h"

// One spot of a step that changes many at once, as it was and as it is: a spot that was
// not live (appended, or deleted and brought back) has before.spotid -1, one that is no
// longer live (deleted) after.spotid -1.
struct SpotChange {
    SpawnEntry before;
    SpawnEntry after;
    std::int32_t spotid() const { return after.spotid != -1 ? after.spotid : before.spotid; }
};

class StepTarget {
public:
    virtual const MonsterTable& monsters() const = 0;
    virtual const SpawnTable& spawns() const = 0;

    virtual void setMonsterLine(int index, const std::string& line, bool canmove) = 0;
    // Appends the spot; "Create" made it, so it is told as created as well as added.
    virtual void addSpot(const SpawnEntry& entry) = 0;
    virtual void removeSpot(std::int32_t spotid) = 0;
    virtual void reviveSpot(std::int32_t spotid) = 0;
    // A live spot's new values in its place.
    virtual void putSpot(const SpawnEntry& entry) = 0;
    // Every spot as it is after (forward) or before the changes.
    virtual void putSpots(const std::vector<SpotChange>& changes, bool forward) = 0;

protected:
    ~StepTarget() = default;
};
