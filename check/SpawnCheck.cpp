#include "SpawnCheck.h"

#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "JpegImage.h"
#include "LineSink.h"
#include "MapPicture.h"
#include "SpawnTable.h"
#include "TableError.h"

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

void checkCorners(const SpawnEntry& spot, int line, const FileReport& report) {
    if (spot.ispoint) return;
    std::string reversed;
    if (spot.x0 > spot.x1) reversed = "x0 " + std::to_string(spot.x0) + " > x1 " + std::to_string(spot.x1);
    if (spot.y0 > spot.y1) {
        if (!reversed.empty()) reversed += " and ";
        reversed += "y0 " + std::to_string(spot.y0) + " > y1 " + std::to_string(spot.y1);
    }
    if (reversed.empty()) return;
    report.warning(line, "reversed-range",
                   "range spot with " + reversed +
                       ": its corners are in reverse order (the add-location dialog writes x0 <= x1 and y0 <= y1)");
}

void checkPicture(const std::filesystem::path& folder, int map, int line, const FileReport& report) {
    const std::filesystem::path file = mapPicturePath(folder, map);
    std::error_code ignored;
    // As the spawn page: only a regular file counts as a picture.
    if (!std::filesystem::is_regular_file(file, ignored)) {
        const bool there = std::filesystem::exists(file, ignored);
        report.warning(line, "no-picture",
                       "no picture of map " + std::to_string(map) + ": " + file.string() +
                           (there ? " is not a regular file" : " is not there") + ", so the preview shows no map");
        return;
    }
    try {
        readJpegFile(file);
    } catch (const TableError& error) {
        report.warning(line, "unreadable-picture",
                       "the picture of map " + std::to_string(map) + " does not decode: " +
                           describe(error, file.string()));
    }
}

}  // namespace

int checkSpawnFile(const std::filesystem::path& file, const MonsterTable& monsters,
                   const std::filesystem::path* pictureFolder, const FileReport& report) {
    const std::string& label = report.file();
    report.temporariesBeside(file);
    const std::optional<std::string> bytes = report.read(file);
    if (!bytes) return 0;

    std::vector<int> lineOf;  // the 1-based line of each entry read
    const LineSink sink = report.lineSink(lineOf);
    SpawnTable table;
    table.loadFromText(
        *bytes, label, monsters,
        [&](const MissingMonster& dropped) { report.error(dropped.line, "missing-monster", oneLine(dropped.text)); },
        &sink);

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
