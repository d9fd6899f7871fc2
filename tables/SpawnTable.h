#pragma once
// The spawn file data/Quarnel.txt: five sections (spot types 0..4) of point and
// range lines, and the spawn table that holds its entries for the whole run.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class MonsterTable;

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

// Told of every data line dropped because its monster is not in the monster table;
// reading goes on afterwards. Caption "Error: cant find monster".
using MissingMonsterNotice =
    std::function<void(const std::string& caption, const std::string& text)>;

class SpawnTable {
public:
    SpawnTable();  // room for kSpawnCapacity entries, count 0

    // Reads <workFolder>/data/Quarnel.txt. Throws TableError with file and line at
    // the first bad line; entries accepted before it stay.
    void loadmonsterslocation(const std::filesystem::path& workFolder,
                              const MonsterTable& monsters, const MissingMonsterNotice& notice);
    void loadFromText(std::string_view bytes, const std::string& label,
                      const MonsterTable& monsters, const MissingMonsterNotice& notice);

    // Stores the entry at index count with spotid = count. Throws TableError and
    // changes nothing when the table is full.
    void append(SpawnEntry entry);

    // Writes the five sections to <programFolder>/data/Quarnel.txt atomically.
    // Refused (TableError, nothing written) when the file was not read completely.
    void save(const std::filesystem::path& programFolder) const;
    std::string fileBytes() const;  // exactly what a save writes

    // Empty when saving is allowed, else the reason shown to the operator.
    std::string saveRefusal() const { return saveRefusal_; }

    std::vector<SpawnEntry> entries;  // room for kSpawnCapacity
    int count = 0;

private:
    // Only a file read to its end may be written back; until then this says why not.
    std::string saveRefusal_;
};
