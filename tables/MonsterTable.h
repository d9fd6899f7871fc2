#pragma once
// The monster table file data/monster.txt: one monster a line, 28 columns, then an
// optional "end" line after which nothing is interpreted.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct MonsterDataRecord {
    bool canmove = false;
    std::uint8_t level = 0;
    std::int32_t id = 0;
    std::string name;  // column 3 without its first and last character

    bool operator==(const MonsterDataRecord&) const = default;
};

// id -1, level 0, canmove false, name "NOT FOUND IN MONSTERS.TXT!".
MonsterDataRecord notFoundMonster();

inline constexpr int kMonsterCapacity = 1024;
inline constexpr int kEditableColumns = 17;  // columns 4..13, 17..19, 25..28

class MonsterTable {
public:
    MonsterTable();  // room for kMonsterCapacity records, monstercount 0

    // Reads <workFolder>/data/monster.txt. On a bad line (or the 1025th monster) it
    // throws TableError with file and line; the monsters read before stay, and
    // monsterlines still holds every line of the file so a later save loses nothing.
    // When the file cannot be opened nothing is loaded and saving is refused.
    void loadmonsterdata(const std::filesystem::path& workFolder);
    void loadFromText(std::string_view bytes, const std::string& label);

    MonsterDataRecord getmonsterbyid(std::int32_t id) const;

    // Writes monsterlines to <workFolder>/data/monster.txt atomically; throws TableError.
    void savemonsterdata(const std::filesystem::path& workFolder) const;
    std::string fileBytes() const;  // exactly what a save writes

    bool saveAllowed() const { return opened_; }

    std::vector<std::string> monsterlines;        // every line of the file, normal form
    std::vector<MonsterDataRecord> monsters;      // room for kMonsterCapacity
    int monstercount = 0;

private:
    bool opened_ = false;
};

// Rebuilds one monster line from its stored line and the new values of columns
// 4..13, 17..19 and 25..28 in that order; always 28 columns joined by tabs.
std::string rebuildmonsterline(std::string_view storedLine,
                               std::span<const std::int32_t, kEditableColumns> values);
