// The spawn file from arbitrary bytes, against a small monster table. Where it loads
// completely: save to bytes, read again, save again; both saves are the same bytes
// and the entries agree section by section.

#include "FuzzCheck.h"
#include "LineSink.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TextFile.h"
#include "WorkList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kLabel = "data/Quarnel.txt";

const MonsterTable& smallMonsterTable() {
    static const MonsterTable table = [] {
        MonsterTable t;
        t.loadFromText("0\t0\t\"Keeper\"\t1\t50\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"
                       "3\t1\t\"Moss Toad\"\t2\t90\t0\t5\t8\t1\t1\t10\t5\t3\t4\t1\t0\t400\t1600\t10\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"
                       "17\t1\t\"Slate Gargant\"\t90\t9000\t0\t5\t8\t1\t1\t10\t5\t3\t4\t1\t0\t400\t1600\t10\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"
                       "-5\t1\t\"Odd\"\t9\t90\t0\t5\t8\t1\t1\t10\t5\t3\t4\t1\t0\t400\t1600\t10\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"
                       "2147483647\t1\t\"Top\"\t9\t90\t0\t5\t8\t1\t1\t10\t5\t3\t4\t1\t0\t400\t1600\t10\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"
                       "end\r\n",
                       "data/monster.txt");
        return t;
    }();
    return table;
}

// The fields a saved line carries: point spots have no second corner and no count.
bool sameSpot(const SpawnEntry& a, const SpawnEntry& b) {
    const bool core = a.ispoint == b.ispoint && a.spottype == b.spottype && a.monsterid == b.monsterid &&
                      a.mapnumber == b.mapnumber && a.distance == b.distance && a.x0 == b.x0 &&
                      a.y0 == b.y0 && a.dir == b.dir;
    if (!core || a.ispoint) return core;
    return a.x1 == b.x1 && a.y1 == b.y1 && a.count == b.count;
}

std::vector<SpawnEntry> liveOfType(const SpawnTable& t, int type) {
    std::vector<SpawnEntry> out;
    for (int i = 0; i < t.count; ++i) {
        const SpawnEntry& e = t.entries[static_cast<std::size_t>(i)];
        if (e.spottype == type && e.spotid != -1) out.push_back(e);
    }
    return out;
}

void checkTable(const SpawnTable& t) {
    FUZZ_CHECK(t.count >= 0 && t.count <= kSpawnCapacity, "count out of room");
    FUZZ_CHECK(t.entries.size() == static_cast<std::size_t>(kSpawnCapacity), "room resized");
    const MonsterTable& monsters = smallMonsterTable();
    for (int i = 0; i < t.count; ++i) {
        const SpawnEntry& e = t.entries[static_cast<std::size_t>(i)];
        FUZZ_CHECK(e.spotid == i, "spot number is not the index");
        FUZZ_CHECK(e.spottype <= 4, "spot type out of 0..4");
        FUZZ_CHECK(e.ispoint == isPointType(e.spottype), "ispoint does not follow the type");
        FUZZ_CHECK(monsters.getmonsterbyid(e.monsterid).id != -1, "an entry of an unknown monster");
    }
}

void checkSameSections(const SpawnTable& a, const SpawnTable& b) {
    for (int type = 0; type <= 4; ++type) {
        const auto x = liveOfType(a, type), y = liveOfType(b, type);
        FUZZ_CHECK(x.size() == y.size(), "section sizes differ");
        for (std::size_t i = 0; i < x.size(); ++i) FUZZ_CHECK(sameSpot(x[i], y[i]), "an entry changed by a save");
    }
}

// The same bytes read on after every bad line: the first line told is where the read
// stopped, with its message, and the entries and dropped lines before it are the read's.
void goingOnAgrees(std::string_view bytes, const SpawnTable& read, const std::vector<int>& dropped,
                   const std::string* stop) {
    std::vector<std::pair<int, std::string>> told;
    std::vector<int> taken;
    std::vector<int> droppedGoingOn;
    const LineSink sink{[&](const TableError& e) { told.emplace_back(e.line(), e.what()); },
                        [&](int line) { taken.push_back(line); }};
    SpawnTable table;
    table.loadFromText(bytes, kLabel, smallMonsterTable(),
                       [&](const MissingMonster& m) { droppedGoingOn.push_back(m.line); }, &sink);
    FUZZ_CHECK(told.empty() == !stop, "reading on tells a bad line where the read went through, or none where it stopped");
    FUZZ_CHECK(!stop || told.front().second == *stop, "the first bad line told is not the read's stop");
    FUZZ_CHECK(table.count == static_cast<int>(taken.size()), "entries and lines taken differ");
    const int stopLine = told.empty() ? 0 : told.front().first;
    int before = 0;
    while (before < table.count && (!stopLine || taken[static_cast<std::size_t>(before)] < stopLine)) ++before;
    FUZZ_CHECK(before == read.count, "reading on and the read took other entries before the stop");
    for (int i = 0; i < before; ++i)
        FUZZ_CHECK(table.entries[static_cast<std::size_t>(i)] == read.entries[static_cast<std::size_t>(i)],
                   "an entry read differently");
    std::vector<int> droppedBefore;
    for (const int line : droppedGoingOn)
        if (!stopLine || line < stopLine) droppedBefore.push_back(line);
    FUZZ_CHECK(droppedBefore == dropped, "reading on and the read dropped other lines before the stop");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MonsterTable& monsters = smallMonsterTable();
    std::vector<int> droppedLines;
    const auto notice = [&](const MissingMonster& dropped) {
        FUZZ_CHECK(dropped.caption == "Error: cant find monster", "notice caption");
        FUZZ_CHECK(droppedLines.empty() || dropped.line > droppedLines.back(), "dropped lines out of order");
        droppedLines.push_back(dropped.line);
    };

    SpawnTable first;
    try {
        first.loadFromText(bytes, kLabel, monsters, notice);
    } catch (const TableError& e) {
        const int nulLine = lineOfFirstNul(bytes);
        FUZZ_CHECK((e.file() == kLabel && e.line() >= 1 && (nulLine == 0 || e.line() < nulLine)) ||
                       (nulLine > 0 && e.what() == nulByteMessage(kLabel, nulLine)),
                   "a read error without file and line, or not the NUL byte that ended the text");
        FUZZ_CHECK(!first.saveRefusal().empty(), "a file read in part may be saved");
        checkTable(first);
        const std::string stop = e.what();
        goingOnAgrees(bytes, first, droppedLines, &stop);
        return 0;
    }
    checkTable(first);
    goingOnAgrees(bytes, first, droppedLines, nullptr);
    FUZZ_CHECK(first.saveRefusal().empty(), "a file read completely may not be saved");

    const std::string saved = first.fileBytes();
    SpawnTable second;
    int secondNotices = 0;
    try {
        second.loadFromText(saved, kLabel, monsters, [&](const MissingMonster&) { ++secondNotices; });
    } catch (const TableError&) {
        FUZZ_CHECK(false, "a saved file does not read back");
    }
    FUZZ_CHECK(secondNotices == 0, "a saved file names an unknown monster");
    checkTable(second);
    FUZZ_CHECK(second.fileBytes() == saved, "saving twice gives different bytes");
    FUZZ_CHECK(second.count == first.count, "entries lost or gained by a save");
    checkSameSections(first, second);

    // Delete some spots and append one: the next save holds exactly the live ones.
    for (int i = 0; i < first.count; ++i)
        if ((static_cast<std::uint32_t>(i) * 2654435761u ^ static_cast<std::uint32_t>(size)) % 5 == 0) deletespot(first, i);
    if (first.count < kSpawnCapacity) {
        SpawnEntry added;
        added.spottype = static_cast<std::uint8_t>(size % 5);
        added.ispoint = isPointType(added.spottype);
        added.monsterid = 17;
        added.mapnumber = static_cast<std::uint8_t>(size);
        added.x0 = added.x1 = static_cast<std::uint8_t>(size >> 3);
        added.y0 = added.y1 = static_cast<std::uint8_t>(size >> 5);
        added.count = added.ispoint ? 0 : 3;
        added.dir = -1;
        const int before = first.count;
        first.append(added);
        FUZZ_CHECK(first.count == before + 1 && first.entries[static_cast<std::size_t>(before)].spotid == before,
                   "append");
    }
    int live = 0;
    for (int i = 0; i < first.count; ++i) live += first.entries[static_cast<std::size_t>(i)].spotid == -1 ? 0 : 1;
    SpawnTable third;
    third.loadFromText(first.fileBytes(), kLabel, monsters, {});
    FUZZ_CHECK(third.count == live, "a save after deleting holds other than the live spots");
    checkSameSections(first, third);

    // The work list of one monster on all maps is its live spots, in table order.
    WorkList work;
    work.getWorkLocations(first, 17, -1);
    int k = 0;
    for (int i = 0; i < first.count; ++i) {
        const SpawnEntry& e = first.entries[static_cast<std::size_t>(i)];
        if (e.monsterid != 17 || e.spotid == -1) continue;
        FUZZ_CHECK(k < work.count && work.entries[static_cast<std::size_t>(k)] == e, "work list entry");
        ++k;
    }
    FUZZ_CHECK(k == work.count, "work list count");
    return 0;
}
