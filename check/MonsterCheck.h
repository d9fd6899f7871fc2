#pragma once
// The monster table's part of a check.

#include <filesystem>

#include "FileReport.h"

class MonsterTable;

// Reads the file into table as the editor does, but goes on after each line where
// the editor's load would stop; then reads every monster line as the stats page does.
// Errors: lines the load stops at, monster lines the stats page cannot show in full.
// Warnings: values the stats page would change, move ranges it cannot show, repeated
// monster numbers, lines after the end line. False when the file cannot be read.
bool checkMonsterFile(const std::filesystem::path& file, MonsterTable& table, FileReport& report);
