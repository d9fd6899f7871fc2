#include "SpawnTable.h"
bool isPointType(int t) { return t == 0 || t == 2 || t == 4; }
std::string formatepositionstring(const SpawnEntry&) { return {}; }
SpawnTable::SpawnTable() : entries(kSpawnCapacity) {}
void SpawnTable::loadmonsterslocation(const std::filesystem::path&, const MonsterTable&, const MissingMonsterNotice&) {}
void SpawnTable::loadFromText(std::string_view, const std::string&, const MonsterTable&, const MissingMonsterNotice&) {}
void SpawnTable::append(SpawnEntry e) { e.spotid = count; entries[count++] = e; }
void SpawnTable::save(const std::filesystem::path&) const {}
std::string SpawnTable::fileBytes() const { return {}; }
std::string SpawnTable::saveRefusal() const { return {}; }
