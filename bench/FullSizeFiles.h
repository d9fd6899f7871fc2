#pragma once
// Full-size table files as a hand-kept server has them: 1024 monsters with mixed
// blanks and tabs and quoted names of several words, and 10240 spawn lines over all
// five sections with comments. With withWarnings, every monster line has a move range
// the stats page has no entry for and a third of the range lines have their corners
// in reverse order, so that a check has thousands of problems to report.

#include <string>

#include "MonsterTable.h"
#include "SpawnTable.h"

inline std::string fullMonsterFile(bool withWarnings = false) {
    std::string bytes;
    for (int id = 0; id < kMonsterCapacity; ++id) {
        bytes += std::to_string(id) + "\t0\t\"Monster  of kind " + std::to_string(id) + "\"  " +
                 std::to_string(id % 100);
        for (int column = 5; column <= 28; ++column) {
            const int value = column == 13 && !withWarnings ? id % 6 : column * 7 + id % 13;
            bytes += " \t" + std::to_string(value);
        }
        bytes += "\r\n";
    }
    return bytes + "end\r\n";
}

// `count` monster lines as a hand-kept file has them, beyond what the editor holds:
// blanks and tabs mixed, quoted names of several words, levels 1 to 100, move ranges
// 0 to 5; then the end line.
inline std::string manyMonstersFile(int count) {
    std::string bytes;
    for (int id = 0; id < count; ++id) {
        bytes += std::to_string(id) + "\t0\t\"Monster  of kind " + std::to_string(id) + "\"  " +
                 std::to_string(id % 100 + 1);
        for (int column = 5; column <= 28; ++column) {
            const int value = column == 13 ? id % 6 : column * 7 + (id * 37) % 1000;
            bytes += " \t" + std::to_string(value);
        }
        bytes += "\r\n";
    }
    return bytes + "end\r\n";
}

inline std::string fullSpawnFile(bool withWarnings = false) {
    const int corner = withWarnings ? 256 : 200;  // x0 and y0 run below this
    std::string bytes = "// generated\r\n";
    for (int type = 0; type < 5; ++type) {
        bytes += std::to_string(type) + "\r\n";
        for (int i = 0; i < kSpawnCapacity / 5; ++i) {
            bytes += std::to_string(i % kMonsterCapacity) + "\t" + std::to_string(i % 7) + "  30 " +
                     std::to_string(i % corner) + "\t" + std::to_string((i * 3) % corner);
            bytes += (type == 1 || type == 3) ? " 200 210 -1 5" : " -1";
            if (i % 10 == 0) bytes += "   // note";
            bytes += "\r\n";
        }
        bytes += "end\r\n";
    }
    return bytes;
}
