#pragma once
// The monster table file data/monster.txt: one monster a line, 28 columns, then an
// optional "end" line after which nothing is interpreted.
//
// tables/ reads and writes bytes. `MonsterTable` keeps `data/monster.txt` as its normal-form lines
// plus one `MonsterDataRecord` per monster; `SpawnTable` holds the entries of `data/Quarnel.txt`
// and writes them back in the fixed five-section form; `MonsterFields` names the 17 edited columns
// (names, columns, bounds) and reads a stored monster line into those fields, naming the field that
// stopped it and why; `WorkList` holds the copies of one monster's spots that the spawn page and
// the preview read. Errors are `TableError` (the operator's message, plus the file and 1-based line
// where it arose and, from the readers, the byte column of the field at fault in the line as the
// file holds it: `rawColumn` maps a place in a line's normal form back to it). A file that starts
// with a UTF-8 byte order mark stops both readers at line 1 with a message of its own
// (`lineError`). `visibleText` (tables/VisibleText.h) writes the bytes of a file quoted in a
// message so that every one shows: tabs, control characters, invisible characters and bytes that
// are not UTF-8 become `\t`, `\xNN` or `\uXXXX`; the checker passes every message through it, and
// it is there for the editor's error boxes. The spawn reader reports each line dropped for a
// missing monster, with its line number, through a callback; the main window shows the first ten
// notices and sums up the rest in one box (app/MissingMonsterNotices.h).

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"

struct LineSink;

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
    // When the file cannot be opened nothing is loaded and saving is refused. A NUL
    // byte ends the text: only the lines before its line are read as monsters, saving
    // is refused, and the load throws TableError(nulByteMessage) without file and line.
    void loadmonsterdata(const std::filesystem::path& workFolder);
    // Without a sink, as loadmonsterdata. With one, every line where the load would
    // stop is told to the sink and skipped, so the monsters are those of the lines that
    // read (the sink's taken() says which); lines past the 1024th monster are still
    // read for their errors but not kept, and the NUL byte is told with its line.
    void loadFromText(std::string_view bytes, const std::string& label, const LineSink* goOn = nullptr);

    MonsterDataRecord getmonsterbyid(std::int32_t id) const;
    // The index of the monster getmonsterbyid gives (the first with this number), or -1.
    int indexOf(std::int32_t id) const;

    // Throws TableError(saveRefusal()) when the table may not be saved, and
    // TableError with the system's reason when the file cannot be read again to
    // compare. Otherwise gives the question to ask before the save, when the file on
    // disk is no longer what the editor read or last wrote, or "" when there is nothing
    // to ask.
    std::string checkSave(const std::filesystem::path& workFolder) const;
    // Writes monsterlines to <workFolder>/data/monster.txt after a numbered backup of
    // the old file (writeFileAtomically); throws TableError. False, with nothing
    // written, when no backup could be made and withoutBackup said no.
    bool savemonsterdata(const std::filesystem::path& workFolder, const GoOnWithoutBackup& withoutBackup = {});
    std::string fileBytes() const;  // exactly what a save writes

    // Empty when saving is allowed, else the reason shown to the operator.
    std::string saveRefusal() const { return saveRefusal_; }

    std::vector<std::string> monsterlines;        // every line of the file, normal form
    std::vector<MonsterDataRecord> monsters;      // room for kMonsterCapacity
    int monstercount = 0;

private:
    // Only a file read to its end may be written back; until then this says why not.
    std::string saveRefusal_;
    SeenFile seen_;  // the file a save replaces, as last read or written
};

// The index of the table's end line, the first that is exactly "end" in normal form,
// or the number of lines when none is. The lines before it are the monster lines; it
// and the lines after it are kept and written back but never read.
std::size_t endLineIndex(const std::vector<std::string>& normalisedLines);

// The monster number in the first column of a line in normal form, read as the table
// reads it, or nothing when it does not read as one.
std::optional<std::int32_t> monsterNumberOf(std::string_view normalisedLine);

// Rebuilds one monster line from its stored line and the new values of columns
// 4..13, 17..19 and 25..28 in that order; always 28 columns joined by tabs.
std::string rebuildmonsterline(std::string_view storedLine,
                               std::span<const std::int32_t, kEditableColumns> values);
