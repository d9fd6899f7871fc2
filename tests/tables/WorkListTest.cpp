#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "IdSet.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "WorkList.h"

namespace {

SpawnEntry spot(int monster, int map, int x) {
    SpawnEntry e;
    e.ispoint = true;
    e.spottype = 2;
    e.monsterid = monster;
    e.mapnumber = static_cast<std::uint8_t>(map);
    e.x0 = static_cast<std::uint8_t>(x);
    return e;
}

// Table: 0 m7/map0, 1 m8/map0, 2 m7/map3, 3 m7/map0 (same place as 0), 4 m7/map3
SpawnTable sampleTable() {
    SpawnTable table;
    for (const auto& e : {spot(7, 0, 10), spot(8, 0, 11), spot(7, 3, 12), spot(7, 0, 10), spot(7, 3, 13)})
        table.append(e);
    return table;
}

std::vector<int> spotIds(const WorkList& work) {
    std::vector<int> ids;
    for (int i = 0; i < work.count; ++i) ids.push_back(work.entries[static_cast<std::size_t>(i)].spotid);
    return ids;
}

bool restIsMarkedEmpty(const WorkList& work) {
    for (std::size_t i = static_cast<std::size_t>(work.count); i < work.entries.size(); ++i)
        if (work.entries[i].spotid != -1) return false;
    return work.entries.size() == static_cast<std::size_t>(kSpawnCapacity);
}

struct Query {
    int monster;
    int map;
    std::vector<int> ids;
};

TEST(WorkLocations, SelectsLiveSpotsOfTheMonsterInTableOrder) {
    const SpawnTable table = sampleTable();
    const std::vector<Query> queries = {
        {7, -1, {0, 2, 3, 4}}, {7, 0, {0, 3}}, {7, 3, {2, 4}}, {8, -1, {1}},
        {8, 3, {}},            {9, -1, {}},    {7, 255, {}},   {-1, -1, {}},
    };
    WorkList work;
    for (const auto& q : queries) {
        work.getWorkLocations(table, q.monster, q.map);
        EXPECT_EQ(spotIds(work), q.ids) << q.monster << " on " << q.map;
        EXPECT_TRUE(restIsMarkedEmpty(work)) << q.monster << " on " << q.map;
    }
    work.getWorkLocations(table, 7, 0);
    EXPECT_EQ(work.entries[0], table.entries[0]);
    EXPECT_EQ(work.entries[1], table.entries[3]);  // same place, both copied
}

TEST(WorkLocations, CopiesAreASnapshotUntilTheNextQuery) {
    SpawnTable table = sampleTable();
    WorkList work;
    work.getWorkLocations(table, 7, -1);
    deletespot(table, 2);
    table.append(spot(7, 0, 99));
    EXPECT_EQ(spotIds(work), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(work.entries[1].x0, 12);
    work.getWorkLocations(table, 7, -1);
    EXPECT_EQ(spotIds(work), (std::vector<int>{0, 3, 4, 5}));
}

TEST(DeleteSpot, MarksOnlyThatEntryAndIgnoresUnknownNumbers) {
    SpawnTable table = sampleTable();
    const auto before = table.entries;
    for (const int unknown : {5, 100, -1, -2}) deletespot(table, unknown);
    EXPECT_EQ(table.entries, before);

    deletespot(table, 3);
    EXPECT_EQ(table.entries[3].spotid, -1);
    EXPECT_EQ(table.count, 5);
    for (const int i : {0, 1, 2, 4}) EXPECT_EQ(table.entries[static_cast<std::size_t>(i)].spotid, i);
    const auto afterFirst = table.entries;
    deletespot(table, 3);
    EXPECT_EQ(table.entries, afterFirst);

    table.append(spot(7, 0, 1));
    EXPECT_EQ(table.entries[5].spotid, 5) << "a deleted number is never given again";
}

// haveposOfEach answers for every monster at once what havepos answers for one.
void expectEachAsHavepos(const SpawnTable& table, const std::vector<bool>& expected) {
    const std::vector<std::int32_t> ids = {7, 8, 9, 7, -1, 1 << 20, 0, INT32_MIN, INT32_MAX, 1 << 21};
    MonsterTable monsters;
    for (std::size_t i = 0; i < ids.size(); ++i) monsters.monsters[i].id = ids[i];
    monsters.monstercount = static_cast<int>(ids.size());
    std::vector<bool> one;
    for (const std::int32_t id : ids) one.push_back(havepos(table, id));
    EXPECT_EQ(one, expected);
    EXPECT_EQ(haveposOfEach(table, monsters), expected);
}

TEST(HavePos, AnyEntryOfTheMonsterDeletedOrNot) {
    SpawnTable table = sampleTable();
    for (const std::int32_t distant : {1 << 20, INT32_MIN, INT32_MAX}) table.append(spot(distant, 1, 1));
    //                          7     8     9      7     -1     2^20  0      min   max   2^21
    expectEachAsHavepos(table, {true, true, false, true, false, true, false, true, true, false});
    deletespot(table, 1);
    expectEachAsHavepos(table, {true, true, false, true, false, true, false, true, true, false});
    table.entries[8] = spot(9, 0, 0);  // beyond count: not looked at
    expectEachAsHavepos(table, {true, true, false, true, false, true, false, true, true, false});
}

// Numbers far apart, close together and at the limits, more than the set expected.
TEST(IdSet, HoldsWhatWasPutInAndNothingElse) {
    std::vector<std::int32_t> in;
    for (std::int32_t i = 0; i < 300; ++i) in.push_back(i * 1024);
    for (std::int32_t i = -50; i < 50; ++i) in.push_back(i);
    in.insert(in.end(), {INT32_MIN, INT32_MAX, INT32_MAX - 1});
    IdSet set(4);
    for (const std::int32_t id : in) set.insert(id);
    for (const std::int32_t id : in) set.insert(id);  // twice changes nothing
    for (const std::int32_t id : in) EXPECT_TRUE(set.contains(id)) << id;
    for (const std::int32_t id : {1023, 1025, 300 * 1024, 50, -51, INT32_MIN + 1})
        EXPECT_FALSE(set.contains(id)) << id;
}

TEST(WorkLocations, FullTableFitsTheWorkList) {
    SpawnTable table;
    for (int i = 0; i < kSpawnCapacity; ++i) table.append(spot(7, i % 2, 0));
    WorkList work;
    work.getWorkLocations(table, 7, -1);
    EXPECT_EQ(work.count, kSpawnCapacity);
    work.getWorkLocations(table, 7, 1);
    EXPECT_EQ(work.count, kSpawnCapacity / 2);
    EXPECT_EQ(work.entries[0].spotid, 1);
    EXPECT_TRUE(restIsMarkedEmpty(work));
}

}  // namespace
