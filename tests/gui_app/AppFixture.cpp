#include "AppFixture.h"

std::string monsterLine(int id, const std::string& name, int level, int moveRange, int hp) {
    return std::to_string(id) + "\t0\t\"" + name + "\"\t" + std::to_string(level) + "\t" +
           std::to_string(hp) + "\t10\t5\t9\t4\t3\t30\t25\t" + std::to_string(moveRange) +
           "\t0\t0\t0\t400\t1500\t60\t0\t0\t0\t0\t0\t1\t2\t3\t4";
}

std::string monsterFile(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text + "end\r\n";
}

std::string spawnFile(const std::vector<PointSpot>& points) {
    std::string text = "0\r\n";
    for (const auto& p : points)
        text += std::to_string(p.monster) + "\t" + std::to_string(p.map) + "\t0\t" +
                std::to_string(p.x) + "\t" + std::to_string(p.y) + "\t1\r\n";
    text += "end\r\n";
    for (int section = 1; section < 5; ++section) text += std::to_string(section) + "\r\nend\r\n";
    return text;
}

void writeStandardTables(const TempFolder& folder) {
    folder.write("data/monster.txt",
                 monsterFile({monsterLine(100, "Ash Hound"), monsterLine(101, "Bog Rat", 3, 0),
                              monsterLine(102, "Cinder Imp"), monsterLine(103, "Dune Crab"),
                              monsterLine(104, "Elm Wight", 44), monsterLine(105, "Fog Bat")}));
    folder.write("data/Quarnel.txt", spawnFile({{100, 1, 10, 20},
                                                {100, 2, 11, 21},
                                                {103, 4, 12, 22},
                                                {104, 1, 13, 23}}));
}
