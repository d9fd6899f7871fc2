// The monster table from arbitrary bytes. Every monster line is read as the stats page
// reads it. Where it loads, one monster line is rebuilt with arbitrary values, the
// table is saved to bytes and read again: the lines read back are the saved ones, and
// the records agree.

#include "FuzzCheck.h"
#include "LineFormat.h"
#include "LineSink.h"
#include "MonsterFields.h"
#include "MonsterTable.h"
#include "TableError.h"
#include "TextFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kLabel = "data/monster.txt";

// Loads; tells whether it went through, and why not. Every line of the input is kept
// either way.
bool load(MonsterTable& table, std::string_view bytes, std::string* stop = nullptr) {
    bool loaded = true;
    try {
        table.loadFromText(bytes, kLabel);
    } catch (const TableError& e) {
        if (stop) *stop = e.what();
        const int nulLine = lineOfFirstNul(bytes);
        FUZZ_CHECK((e.file() == kLabel && e.line() >= 1 && (nulLine == 0 || e.line() < nulLine)) ||
                       (nulLine > 0 && e.what() == nulByteMessage(kLabel, nulLine)),
                   "a load error without file and line, or not the NUL byte that ended the text");
        FUZZ_CHECK(static_cast<std::size_t>(e.line()) <= table.monsterlines.size(), "error line past the end");
        FUZZ_CHECK(nulLine == 0 || !table.saveRefusal().empty(), "a table cut short by a NUL may be saved");
        loaded = false;
    }
    FUZZ_CHECK(table.monsterlines.size() == splitLines(bytes).size(), "lines lost on loading");
    FUZZ_CHECK(table.monstercount >= 0 && table.monstercount <= kMonsterCapacity, "monster count out of room");
    FUZZ_CHECK(table.monsters.size() == static_cast<std::size_t>(kMonsterCapacity), "monster room resized");
    return loaded;
}

// The stats page's reading of a monster line: it stops with a placed, explained error
// exactly when it could not read every field.
MonsterLineFields readChecked(const std::string& line, int lineNumber) {
    const MonsterLineFields fields = readMonsterLine(line, kLabel, lineNumber);
    FUZZ_CHECK(fields.read >= 0 && fields.read <= kEditableColumns, "fields read out of range");
    FUZZ_CHECK(fields.complete() != fields.error.has_value(), "an error without a stop, or a stop without one");
    if (fields.error)
        FUZZ_CHECK(fields.error->line() == lineNumber && !fields.error->reason().empty(),
                   "a field error without its line or reason");
    return fields;
}

// The same bytes read on after every bad line: the first line told is where the load
// stopped, with its message, and the monsters before it are the load's.
void goingOnAgrees(std::string_view bytes, const MonsterTable& loadedTable, bool loaded, const std::string& stop) {
    std::vector<std::pair<int, std::string>> told;
    std::vector<int> taken;
    const LineSink sink{[&](const TableError& e) { told.emplace_back(e.line(), e.what()); },
                        [&](int line) { taken.push_back(line); }};
    MonsterTable table;
    table.loadFromText(bytes, kLabel, &sink);
    FUZZ_CHECK(told.empty() == loaded, "reading on tells a bad line where the load went through, or none where it stopped");
    FUZZ_CHECK(told.empty() || told.front().second == stop, "the first bad line told is not the load's stop");
    for (std::size_t i = 0; i < told.size(); ++i)
        FUZZ_CHECK(told[i].first >= 1 && (i == 0 || told[i].first >= told[i - 1].first), "bad lines out of order");
    FUZZ_CHECK(table.monstercount == static_cast<int>(taken.size()), "monsters and lines taken differ");
    int before = 0;
    while (before < table.monstercount && (told.empty() || taken[static_cast<std::size_t>(before)] < told.front().first))
        ++before;
    FUZZ_CHECK(before == loadedTable.monstercount, "reading on and the load read other monsters before the stop");
    for (int i = 0; i < before; ++i) {
        const auto at = static_cast<std::size_t>(i);
        FUZZ_CHECK(table.monsters[at] == loadedTable.monsters[at] && taken[at] == i + 1, "a monster read differently");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    std::array<std::int32_t, kEditableColumns> values{};
    for (auto& v : values) v = fdp.ConsumeIntegral<std::int32_t>();
    const auto pick = fdp.ConsumeIntegral<std::uint16_t>();
    const std::string bytes = fdp.ConsumeRemainingBytesAsString();

    MonsterTable table;
    std::string stop;
    const bool loaded = load(table, bytes, &stop);
    goingOnAgrees(bytes, table, loaded, stop);
    for (const auto& line : table.monsterlines)
        FUZZ_CHECK(normalizeline(line, false) == line, "a stored line is not in normal form");
    for (int i = 0; i < table.monstercount; ++i) readChecked(table.monsterlines[static_cast<std::size_t>(i)], i + 1);
    if (!loaded || table.monstercount == 0) return 0;

    const int index = pick % table.monstercount;
    const auto at = static_cast<std::size_t>(index);
    const MonsterDataRecord before = table.monsters[at];
    const bool shownInFull = readChecked(table.monsterlines[at], index + 1).complete();
    table.monsterlines[at] = rebuildmonsterline(table.monsterlines[at], values);
    // A line the stats page could edit reads back in full, with the values written.
    if (shownInFull) {
        const MonsterLineFields rebuilt = readChecked(table.monsterlines[at], index + 1);
        FUZZ_CHECK(rebuilt.complete() && rebuilt.values == values, "a rebuilt line does not read back");
    }

    MonsterTable reread;
    const bool reloaded = load(reread, table.fileBytes());
    FUZZ_CHECK(reread.monsterlines.size() == table.monsterlines.size(), "line count changed by a save");
    for (std::size_t i = 0; i < table.monsterlines.size(); ++i)
        FUZZ_CHECK(reread.monsterlines[i] == normalizeline(table.monsterlines[i], false),
                   "a line read back differs from the saved one");

    // A level in 0..255 loads again; every monster keeps its record, the rebuilt one
    // takes the new level and move range.
    if (values[0] < 0 || values[0] > 255) return 0;
    FUZZ_CHECK(reloaded, "a table with a rebuilt line no longer loads");
    FUZZ_CHECK(reread.monstercount == table.monstercount, "monster count changed by a save");
    for (int i = 0; i < table.monstercount; ++i) {
        const auto& got = reread.monsters[static_cast<std::size_t>(i)];
        if (i != index) {
            FUZZ_CHECK(got == table.monsters[static_cast<std::size_t>(i)], "an untouched monster changed");
            continue;
        }
        FUZZ_CHECK(got.id == before.id, "the rebuilt monster lost its number");
        FUZZ_CHECK(got.name == before.name, "the rebuilt monster lost its name");
        FUZZ_CHECK(got.level == values[0], "the rebuilt monster's level");
        FUZZ_CHECK(got.canmove == (values[9] != 0), "the rebuilt monster's move range");
    }
    return 0;
}
