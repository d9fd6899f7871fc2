#pragma once
// The spawn file data/Quarnel.txt: five sections (spot types 0..4) of point and
// range lines, and the spawn table that holds its entries for the whole run.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"

class MonsterTable;
struct LineSink;

struct SpawnEntry {
    bool ispoint = false;
    std::uint8_t mapnumber = 0;
    std::uint8_t x0 = 0;
    std::uint8_t y0 = 0;
    std::uint8_t x1 = 0;
    std::uint8_t y1 = 0;
    std::uint8_t distance = 0;
    std::uint8_t count = 0;
    std::uint8_t spottype = 0;
    std::int32_t monsterid = 0;
    std::int32_t dir = 0;
    std::int32_t spotid = 0;  // index in the table; -1 marks a deleted entry

    bool operator==(const SpawnEntry&) const = default;
};

inline constexpr int kSpawnCapacity = 10240;

// Types 0, 2 and 4 are point spots; 1 and 3 range spots.
bool isPointType(int spottype);

// One line of the spawn file, without its line end.
std::string formatepositionstring(const SpawnEntry& entry);

// The spots' lines as a save writes them, section by section (types 0 to 4): the
// section's marker, the lines of its spots in the order given, "end", every line ended
// by CR LF. Deleted spots are left out; with everySection false, so are the sections
// that have no spot.
std::string sectionsText(std::span<const SpawnEntry> spots, bool everySection);

// A data line dropped because its monster is not in the monster table; reading goes
// on after it.
struct MissingMonster {
    int line = 0;  // 1-based line of the dropped data line
    std::int32_t monsterid = 0;
    std::string caption;  // "Error: cant find monster"
    std::string text;     // the notice's text, naming the monster
};
// Told of every dropped line, in file order.
using MissingMonsterNotice = std::function<void(const MissingMonster&)>;

class SpawnTable {
public:
    SpawnTable();  // room for kSpawnCapacity entries, count 0

    // Reads <workFolder>/data/Quarnel.txt. Throws TableError with file and line at
    // the first bad line; entries accepted before it stay. A NUL byte ends the text:
    // the lines before its line are read, saving is refused, and TableError
    // (nulByteMessage) is thrown without file and line. A monster table that lists no
    // monster would drop every line: then nothing is read, saving is refused, and
    // TableError(noMonstersMessage()) says so.
    void loadmonsterslocation(const std::filesystem::path& workFolder,
                              const MonsterTable& monsters, const MissingMonsterNotice& notice);
    // With a sink, every line where the read would stop is told to it and skipped, and
    // reading goes on: past the 10240th entry lines are still read for their errors and
    // dropped monsters, but not kept; a monster table without a monster is told (line 0)
    // and no line is dropped; the NUL byte is told with its line.
    void loadFromText(std::string_view bytes, const std::string& label,
                      const MonsterTable& monsters, const MissingMonsterNotice& notice,
                      const LineSink* goOn = nullptr);

    // The save writes below the program's folder, which need not be the folder read at
    // start-up. When the file there holds exactly the bytes read, later changes to it
    // are what checkSave asks about; otherwise it asks before replacing a file that is
    // not the one read (SeenFile::questionBeforeSave).
    void rememberSaveTarget(const std::filesystem::path& programFolder);

    // Stores the entry at index count with spotid = count. Throws TableError and
    // changes nothing when the table is full.
    void append(SpawnEntry entry);
    // Throws what append throws when the table is full.
    void checkRoom() const;
    // The live entry with this spot number (its index), or null for an unknown or
    // deleted one.
    const SpawnEntry* liveSpot(std::int32_t spotid) const;

    // Throws TableError(saveRefusal()) when the table may not be saved, and
    // TableError with the system's reason when the file the save replaces cannot be
    // read to compare. Otherwise gives the question to ask before the save, when that
    // file is no longer what the editor remembered of it or is another file than the
    // one read, with other bytes; "" when there is nothing to ask.
    std::string checkSave(const std::filesystem::path& programFolder) const;
    // Writes the five sections to <programFolder>/data/Quarnel.txt after a numbered
    // backup of the old file (writeFileAtomically). Refused (TableError, nothing
    // written) when the file was not read completely. False, with nothing written,
    // when no backup could be made and withoutBackup said no.
    bool save(const std::filesystem::path& programFolder, const GoOnWithoutBackup& withoutBackup = {});
    std::string fileBytes() const;  // exactly what a save writes

    // Empty when saving is allowed, else the reason shown to the operator.
    std::string saveRefusal() const { return saveRefusal_; }

    std::vector<SpawnEntry> entries;  // room for kSpawnCapacity
    int count = 0;

private:
    // Throws, refusing later saves, when the monster table lists no monster.
    void refuseWithoutMonsters(const MonsterTable& monsters);

    // Only a file read to its end may be written back; until then this says why not.
    std::string saveRefusal_;
    SeenFile seen_;  // the file a save replaces, as last read or written
};

// The start-up message when the monster table lists no monster at all.
std::string noMonstersMessage();

// One line for the start-up when the spawn file a save writes (below the program's
// folder) is not the one read (below the working folder); "" when it is.
std::string spawnFoldersNotice(const std::filesystem::path& workFolder, const std::filesystem::path& programFolder);
