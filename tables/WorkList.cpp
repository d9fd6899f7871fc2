#include "WorkList.h"
WorkList::WorkList() : entries(kSpawnCapacity) {}
void WorkList::getWorkLocations(const SpawnTable&, std::int32_t, std::int32_t) { count = 0; }
bool havepos(const SpawnTable&, std::int32_t) { return false; }
void deletespot(SpawnTable&, std::int32_t) {}
