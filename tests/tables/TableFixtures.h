#pragma once
// Small builders for monster and spawn file text used across the table tests.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "MonsterTable.h"

// A monster line of 28 columns: id, a spare column, the quoted name, the level,
// columns 5..12 as 10, 11, ..., the move range in column 13, then 14, 15, ... 28.
inline std::string monsterLine(const std::string& id, const std::string& name,
                               const std::string& level, const std::string& moveRange = "3") {
    std::string line = id + "\t0\t\"" + name + "\"\t" + level;
    for (int column = 5; column <= 28; ++column)
        line += "\t" + (column == 13 ? moveRange : std::to_string(column * 10));
    return line;
}

inline std::string crlf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line + "\r\n";
    return bytes;
}

// A monster table that knows the given monster numbers.
inline MonsterTable monstersWithIds(const std::vector<int>& ids) {
    std::vector<std::string> lines;
    for (const int id : ids) lines.push_back(monsterLine(std::to_string(id), "M" + std::to_string(id), "1"));
    lines.push_back("end");
    MonsterTable table;
    table.loadFromText(crlf(lines), "data/monster.txt");
    return table;
}

// The sorted names in a folder: after a save, anything beside the table file and
// its numbered backups is a temporary file left behind.
inline std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// namesIn without the numbered backups ("<name>.~<n>~").
inline std::vector<std::string> namesButBackups(const std::filesystem::path& folder) {
    std::vector<std::string> names = namesIn(folder);
    std::erase_if(names, [](const std::string& name) {
        const auto mark = name.rfind(".~");
        return mark != std::string::npos && name.size() > mark + 3 && name.back() == '~' &&
               name.find_first_not_of("0123456789", mark + 2) == name.size() - 1;
    });
    return names;
}
