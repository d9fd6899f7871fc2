#include "MonsterTable.h"
MonsterDataRecord notFoundMonster() { return {false, 0, -1, "NOT FOUND IN MONSTERS.TXT!"}; }
MonsterTable::MonsterTable() : monsters(kMonsterCapacity) {}
void MonsterTable::loadmonsterdata(const std::filesystem::path&) {}
void MonsterTable::loadFromText(std::string_view, const std::string&) {}
MonsterDataRecord MonsterTable::getmonsterbyid(std::int32_t) const { return notFoundMonster(); }
void MonsterTable::savemonsterdata(const std::filesystem::path&) const {}
std::string MonsterTable::fileBytes() const { return {}; }
std::string rebuildmonsterline(std::string_view l, std::span<const std::int32_t, kEditableColumns>) { return std::string(l); }
