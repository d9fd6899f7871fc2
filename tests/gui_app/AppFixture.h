#pragma once
// Working folders with small table files for the window tests.

#include <string>
#include <vector>

#include "TempFolder.h"

// A monster line of 28 columns: level, move range and HP as given, the rest fixed.
std::string monsterLine(int id, const std::string& name, int level = 10, int moveRange = 2,
                        int hp = 100);

std::string monsterFile(const std::vector<std::string>& lines);

// A spawn file with these point spots (monster, map, x, y) in section 0 and nothing else.
struct PointSpot {
    int monster;
    int map;
    int x;
    int y;
};
std::string spawnFile(const std::vector<PointSpot>& points);

// Six monsters 100..105; spots for 100 (maps 1, 2), 103 (map 4) and 104 (map 1).
void writeStandardTables(const TempFolder& folder);
