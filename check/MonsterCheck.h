#pragma once
// The monster table's part of a check.

#include <cstdint>
#include <filesystem>
#include <unordered_map>

#include "FileReport.h"

class MonsterTable;

// The monster numbers that only lines of the table the check could not take hold: lines
// where the load stops, lines past the 1024th monster, and the lines from a NUL byte
// on (up to the end line), each by the number in its first column. A spawn line naming
// one of them is dropped only because of that line.
struct UnreadMonsters {
    std::unordered_map<std::int32_t, int> firstLineOf;  // monster number: its first unread line
};

// Reads the file into table as the editor does, but goes on after each line where
// the editor's load would stop; then reads every monster line as the stats page does.
// Errors: lines the load stops at, monster lines the stats page cannot show in full.
// Warnings: values the stats page would change, move ranges it cannot show, repeated
// monster numbers, lines after the end line. False when the file cannot be read.
bool checkMonsterFile(const std::filesystem::path& file, MonsterTable& table, UnreadMonsters& unread,
                      FileReport& report);
// The same over the bytes the report holds (FileReport::take), whatever file they are
// to go into.
void checkMonsterText(MonsterTable& table, UnreadMonsters& unread, FileReport& report);
