#pragma once
// Every in-memory table of a run, owned by the main window.

#include "MonsterTable.h"
#include "SpawnTable.h"
#include "WorkList.h"

struct Workspace {
    MonsterTable monsters;
    SpawnTable spawns;
    WorkList work;
};
