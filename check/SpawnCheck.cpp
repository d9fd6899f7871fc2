#include "SpawnCheck.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "JpegImage.h"
#include "LineFormat.h"
#include "LineSink.h"
#include "MapPicture.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TextFile.h"

namespace {

// A notice is a message box's text; a problem is one line.
std::string oneLine(std::string_view text) {
    std::string out;
    bool lineBreak = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            lineBreak = true;
            continue;
        }
        if (lineBreak && !out.empty()) out.push_back(' ');
        lineBreak = false;
        out.push_back(c);
    }
    return out;
}

// The columns of a spawn line that was read are plain numbers, one a run of bytes.
constexpr std::size_t kMapColumn = 1;
constexpr std::size_t kX0Column = 3;
constexpr std::size_t kY0Column = 4;

std::string unreadMonstersMessage() {
    return monsterFileLabel() + " cannot be read, so the editor does not read " + spawnFileLabel() +
           " either, and will not save over it";
}

void checkCorners(const SpawnEntry& spot, int line, const FileReport& report) {
    if (spot.ispoint) return;
    std::string reversed;
    if (spot.x0 > spot.x1) reversed = "x0 " + std::to_string(spot.x0) + " > x1 " + std::to_string(spot.x1);
    if (spot.y0 > spot.y1) {
        if (!reversed.empty()) reversed += " and ";
        reversed += "y0 " + std::to_string(spot.y0) + " > y1 " + std::to_string(spot.y1);
    }
    if (reversed.empty()) return;
    const int column = rawFieldColumn(report.rawLine(line), spot.x0 > spot.x1 ? kX0Column : kY0Column);
    report.warning(line, column, "reversed-range",
                   "range spot with " + reversed +
                       ": its corners are in reverse order (the add-location dialog writes x0 <= x1 and y0 <= y1)");
}

// Why a picture path is no picture, or "" when it is a regular file.
std::string whyNoPicture(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return "is not there";
    if (error == std::errc::too_many_symbolic_link_levels) return "is a symbolic link loop";
    if (error) return "cannot be looked at (" + error.message() + ")";
    // As the spawn page: only a regular file counts as a picture.
    return status.type() == std::filesystem::file_type::regular ? "" : "is not a regular file";
}

void checkPicture(const std::filesystem::path& folder, int map, int line, const FileReport& report) {
    const std::filesystem::path file = mapPicturePath(folder, map);
    const int column = rawFieldColumn(report.rawLine(line), kMapColumn);
    if (const std::string why = whyNoPicture(file); !why.empty()) {
        report.warning(line, column, "no-picture",
                       "no picture of map " + std::to_string(map) + ": " + file.string() + " " + why +
                           ", so the preview shows no map");
        return;
    }
    try {
        // Whether it decodes, not how it looks: the smallest scale still reads all its data.
        readJpegFile(file, 1);
    } catch (const TableError& error) {
        report.warning(line, column, "unreadable-picture",
                       "the picture of map " + std::to_string(map) + " does not decode: " +
                           describe(error, file.string()));
    }
}

// Spawn lines dropped only because their monster is on a line of the monster table
// that was not read: one note at the first of them says how many.
class FollowOnLines {
public:
    // False when the monster is on no unread line, so the drop is a problem of its own.
    bool take(const MissingMonster& dropped, const UnreadMonsters& unread) {
        const auto found = unread.firstLineOf.find(dropped.monsterid);
        if (found == unread.firstLineOf.end()) return false;
        if (!count_++) firstSpawnLine_ = dropped.line;
        firstMonsterLine_ = firstMonsterLine_ ? std::min(firstMonsterLine_, found->second) : found->second;
        return true;
    }

    void report(const FileReport& report) const {
        if (!count_) return;
        const std::string lines =
            count_ == 1 ? "this spawn line names a monster that is only on an unread line of " + monsterFileLabel() +
                              " (line " + std::to_string(firstMonsterLine_) +
                              "): the editor drops it until that line can be read"
                        : "this spawn line and " + std::to_string(count_ - 1) + " more after it name monsters that " +
                              "are only on unread lines of " + monsterFileLabel() + " (from line " +
                              std::to_string(firstMonsterLine_) +
                              "): the editor drops them until those lines can be read, so they are not listed one "
                              "by one";
        report.note(firstSpawnLine_, rawFieldColumn(report.rawLine(firstSpawnLine_), 0), "unread-monster", lines);
    }

private:
    int count_ = 0;
    int firstSpawnLine_ = 0;
    int firstMonsterLine_ = 0;
};

}  // namespace

int checkSpawnFile(const std::filesystem::path& file, const MonsterTable& monsters, bool monstersRead,
                   const UnreadMonsters& unread, const std::filesystem::path* pictureFolder, FileReport& report) {
    report.temporariesBeside(file);
    if (!report.read(file)) return 0;
    return checkSpawnText(monsters, monstersRead, unread, pictureFolder, report);
}

int checkSpawnText(const MonsterTable& monsters, bool monstersRead, const UnreadMonsters& unread,
                   const std::filesystem::path* pictureFolder, FileReport& report) {
    const std::string& label = report.file();
    // The editor reads the spawn file only after a monster table that lists a monster.
    if (!monstersRead || monsters.monstercount == 0) {
        report.error(0, "load-stops", monstersRead ? noMonstersMessage() : unreadMonstersMessage());
        return 0;
    }

    std::vector<int> lineOf;  // the 1-based line of each entry read
    const LineSink sink = report.lineSink(lineOf);
    SpawnTable table;
    FollowOnLines followOn;
    table.loadFromText(
        report.bytes(), label, monsters,
        [&](const MissingMonster& dropped) {
            if (followOn.take(dropped, unread)) return;
            report.error(dropped.line, rawFieldColumn(report.rawLine(dropped.line), 0), "missing-monster",
                         oneLine(dropped.text));
        },
        &sink);
    followOn.report(report);

    // By map number, the line of its first spot; 0: no spot on that map.
    std::array<int, std::numeric_limits<decltype(SpawnEntry::mapnumber)>::max() + 1> firstLineOfMap{};
    for (int i = 0; i < table.count; ++i) {
        const SpawnEntry& spot = table.entries[static_cast<std::size_t>(i)];
        const int line = lineOf[static_cast<std::size_t>(i)];
        checkCorners(spot, line, report);
        if (!firstLineOfMap[spot.mapnumber]) firstLineOfMap[spot.mapnumber] = line;
    }
    if (pictureFolder) {
        for (std::size_t map = 0; map < firstLineOfMap.size(); ++map)
            if (firstLineOfMap[map]) checkPicture(*pictureFolder, static_cast<int>(map), firstLineOfMap[map], report);
    }
    return table.count;
}
