#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "LineFormat.h"
#include "MonsterTable.h"
#include "TableError.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

const std::string kMonsterLabel = "data/monster.txt";

std::vector<std::string> normalised(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(normalizeline(line, false));
    return out;
}

TEST(MonsterLoad, ReadsIdNameLevelAndMoveRange) {
    const std::vector<std::string> lines = {
        monsterLine("1", "Grey  Wolf", "12", "0"),
        "2 x   \"Rat\"   3   5 6 7 8 9 10 11 12 00 14",  // blanks instead of tabs, move range "00"
        monsterLine("$1F", "Bat", "$FF", "5"),  // hexadecimal anywhere in the monster table
        monsterLine("0x20", "Bog", "0", "1"),
        monsterLine("-4", "Plain", "7", "2"),
        "end",
        "anything \"goes\" here",
    };
    MonsterTable table;
    table.loadFromText(crlf(lines), kMonsterLabel);
    ASSERT_EQ(table.monstercount, 5);
    const std::vector<MonsterDataRecord> expected = {
        {false, 12, 1, "Grey Wolf"}, {true, 3, 2, "Rat"}, {true, 255, 31, "Bat"},
        {true, 0, 32, "Bog"},        {true, 7, -4, "Plain"},
    };
    for (int i = 0; i < 5; ++i) EXPECT_EQ(table.monsters[static_cast<std::size_t>(i)], expected[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(table.monsterlines, normalised(lines));
    EXPECT_EQ(table.saveRefusal(), "");
}

TEST(MonsterLoad, NameWithoutQuotesLosesFirstAndLastLetter) {
    MonsterTable table;
    table.loadFromText("5\t0\tGoblin\t1\t1\t1\t1\t1\t1\t1\t1\t1\t0\t14\r\n", kMonsterLabel);
    ASSERT_EQ(table.monstercount, 1);
    EXPECT_EQ(table.monsters[0].name, "obli");
    EXPECT_FALSE(table.monsters[0].canmove);
}

TEST(MonsterLoad, EmptyMonsterPart) {
    for (const std::string bytes : {"", "end\r\n", "end", "end\r\n1\t2\r\n", " \t end\r\nx\r\n"}) {
        MonsterTable table;
        table.loadFromText(bytes, kMonsterLabel);
        EXPECT_EQ(table.monstercount, 0) << bytes;
        EXPECT_EQ(table.monsterlines, normalised(splitLines(bytes)));
    }
}

TEST(MonsterLoad, WithoutEndEveryLineIsAMonster) {
    MonsterTable table;
    table.loadFromText(monsterLine("1", "A", "1") + "\n" + monsterLine("2", "B", "2"), kMonsterLabel);
    EXPECT_EQ(table.monstercount, 2);
}

struct LoadFailure {
    const char* name;
    std::vector<std::string> lines;
    std::string message;
    int line;          // 1-based
    int monstersKept;
};

const std::vector<LoadFailure> kLoadFailures = {
    {"BadId", {monsterLine("1", "A", "1"), monsterLine("x1", "B", "1"), "end"},
     "'x1' is not a valid integer value", 2, 1},
    {"BadLevel", {monsterLine("1", "A", "1"), monsterLine("2", "B", "ten"), "end"},
     "'ten' is not a valid integer value", 2, 1},
    {"Level256", {monsterLine("1", "A", "256"), "end"}, "Range check error", 1, 0},
    {"LevelMinus1", {monsterLine("1", "A", "1"), monsterLine("2", "B", "1"), monsterLine("3", "C", "-1")},
     "Range check error", 3, 2},
    {"BlankLineBeforeEnd", {monsterLine("1", "A", "1"), "", "end"}, "'' is not a valid integer value", 2, 1},
    {"BlanksOnlyBeforeEnd", {monsterLine("1", "A", "1"), " \t ", "end"}, "'' is not a valid integer value", 2, 1},
    {"CapitalEnd", {monsterLine("1", "A", "1"), "END", "x"}, "'END' is not a valid integer value", 2, 1},
    {"MixedCaseEnd", {"End"}, "'End' is not a valid integer value", 1, 0},
    {"EndWithTrailingBlanks", {"end  ", monsterLine("1", "A", "1")}, "'end' is not a valid integer value", 1, 0},
    {"ShortLine", {"1\t0\t\"A\""}, "'' is not a valid integer value", 1, 0},
    {"HexDigitsWithoutPrefix", {monsterLine("1F", "A", "1")}, "'1F' is not a valid integer value", 1, 0},
    {"Overflow", {monsterLine("2147483648", "A", "1")}, "'2147483648' is not a valid integer value", 1, 0},
};

class MonsterLoadFailure : public testing::TestWithParam<LoadFailure> {};

TEST_P(MonsterLoadFailure, StopsWithMessageFileAndLineKeepingEverythingBefore) {
    const auto& c = GetParam();
    MonsterTable table;
    try {
        table.loadFromText(crlf(c.lines), kMonsterLabel);
        ADD_FAILURE() << "loaded";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), c.message);
        EXPECT_EQ(error.file(), kMonsterLabel);
        EXPECT_EQ(error.line(), c.line);
    }
    EXPECT_EQ(table.monstercount, c.monstersKept);
    EXPECT_EQ(table.monsterlines, normalised(c.lines));  // a later save loses nothing
    EXPECT_EQ(table.fileBytes(), crlf(normalised(c.lines)));
    EXPECT_EQ(table.saveRefusal(), "");
}

INSTANTIATE_TEST_SUITE_P(Files, MonsterLoadFailure, testing::ValuesIn(kLoadFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MonsterLoad, StopsAtThe1025thMonsterKeepingTheFirst1024AndEveryLine) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1030; ++i) lines.push_back(monsterLine(std::to_string(i), "M", "1"));
    lines.push_back("end");
    lines.push_back("tail");
    MonsterTable table;
    try {
        table.loadFromText(crlf(lines), kMonsterLabel);
        ADD_FAILURE() << "loaded";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "data/monster.txt holds more than 1024 monsters; only the first 1024 are listed.");
        EXPECT_EQ(error.line(), 1025);
        EXPECT_EQ(error.file(), kMonsterLabel);
    }
    EXPECT_EQ(table.monstercount, 1024);
    EXPECT_EQ(table.monsters.size(), 1024u);
    EXPECT_EQ(table.monsters[1023].id, 1023);
    EXPECT_EQ(table.monsterlines.size(), lines.size());
}

TEST(MonsterLoad, Exactly1024MonstersLoad) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1024; ++i) lines.push_back(monsterLine(std::to_string(i), "M", "1"));
    lines.push_back("end");
    MonsterTable table;
    table.loadFromText(crlf(lines), kMonsterLabel);
    EXPECT_EQ(table.monstercount, 1024);
}

TEST(MonsterLoad, ReadsTheWorkFolderAndRefusesToSaveWhenItCouldNotOpen) {
    TempFolder folder;
    MonsterTable table;
    try {
        table.loadmonsterdata(folder.path());
        ADD_FAILURE() << "loaded";
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + monsterFileLabel());
    }
    EXPECT_EQ(table.monstercount, 0);
    EXPECT_NE(table.saveRefusal(), "");
    std::filesystem::create_directories(folder.path() / "data");
    try {
        table.savemonsterdata(folder.path());
        ADD_FAILURE() << "saved";
    } catch (const TableError& error) {
        EXPECT_NE(std::string(error.what()).find("could not be read"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(folder.exists("data/monster.txt"));

    MonsterTable never;
    EXPECT_NE(never.saveRefusal(), "");
    EXPECT_THROW(never.savemonsterdata(folder.path()), TableError);
    EXPECT_FALSE(folder.exists("data/monster.txt"));
}

TEST(MonsterLookup, FirstMatchOrTheNotFoundRecord) {
    MonsterTable table;
    table.loadFromText(crlf({monsterLine("9", "First", "1"), monsterLine("9", "Second", "2"),
                             monsterLine("-1", "Minus", "3"), "end"}),
                       kMonsterLabel);
    EXPECT_EQ(table.getmonsterbyid(9).name, "First");
    EXPECT_EQ(table.getmonsterbyid(-1).name, "Minus");
    const MonsterDataRecord missing = table.getmonsterbyid(10);
    EXPECT_EQ(missing, (MonsterDataRecord{false, 0, -1, "NOT FOUND IN MONSTERS.TXT!"}));
    EXPECT_EQ(notFoundMonster(), missing);
    // A record beyond monstercount is not looked at.
    table.monstercount = 1;
    EXPECT_EQ(table.getmonsterbyid(-1).name, "NOT FOUND IN MONSTERS.TXT!");
}

std::array<std::int32_t, kEditableColumns> newValues() {
    std::array<std::int32_t, kEditableColumns> values{};
    for (int i = 0; i < kEditableColumns; ++i) values[static_cast<std::size_t>(i)] = 1000 + i;
    values[9] = -5;  // a negative value is written with its minus
    return values;
}

std::vector<std::string> columns(std::string line) {
    std::vector<std::string> out;
    for (std::size_t tab; (tab = line.find('\t')) != std::string::npos; line.erase(0, tab + 1))
        out.push_back(line.substr(0, tab));
    out.push_back(line);
    return out;
}

TEST(RebuildLine, NewValuesInTheirColumnsOldColumnsKept) {
    const std::string stored = normalizeline(monsterLine("$1F", "Old  Grey Wolf", "4"), false);
    const auto cols = columns(rebuildmonsterline(stored, newValues()));
    ASSERT_EQ(cols.size(), 28u);
    const auto old = columns(monsterLine("$1F", "Old Grey Wolf", "4"));
    EXPECT_EQ(cols[0], "$1F");
    EXPECT_EQ(cols[1], "0");
    EXPECT_EQ(cols[2], "\"Old Grey Wolf\"");
    const int editable[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 18, 19, 25, 26, 27, 28};
    int value = 0;
    for (int column = 4; column <= 28; ++column) {
        const auto& text = cols[static_cast<std::size_t>(column - 1)];
        if (value < kEditableColumns && editable[value] == column) {
            EXPECT_EQ(text, std::to_string(newValues()[static_cast<std::size_t>(value)])) << column;
            ++value;
        } else {
            EXPECT_EQ(text, std::to_string(column * 10)) << column;
        }
    }
    EXPECT_EQ(value, kEditableColumns);
    EXPECT_EQ(cols[12], "-5");
}

TEST(RebuildLine, ThirtyColumnsBecomeTwentyEightAndNoTrailingTab) {
    const std::string stored = monsterLine("1", "A", "1") + "\t29\t30";
    const std::string rebuilt = rebuildmonsterline(stored, newValues());
    EXPECT_EQ(columns(rebuilt).size(), 28u);
    EXPECT_NE(rebuilt.back(), '\t');
    EXPECT_EQ(rebuilt.find("\t29"), std::string::npos);
}

TEST(RebuildLine, ShortLineStillGivesTwentyEightColumns) {
    const auto cols = columns(rebuildmonsterline("1\t0\t\"A\"\t1", newValues()));
    ASSERT_EQ(cols.size(), 28u);
    EXPECT_EQ(cols[13], "");  // old column 14 did not exist
    EXPECT_EQ(cols[27], std::to_string(newValues()[16]));
}

TEST(MonsterSave, WritesEveryLineInNormalFormWithCrLf) {
    TempFolder folder;
    const std::string file = "1  0 \"Big  Rat\"\t 2\t3\r\nend\n\n  tail \t x ";  // no final break
    folder.write("data/monster.txt", file);
    MonsterTable table;
    table.loadmonsterdata(folder.path());
    EXPECT_EQ(table.monstercount, 1);
    table.savemonsterdata(folder.path());
    EXPECT_EQ(folder.read("data/monster.txt"), "1\t0\t\"Big\tRat\"\t2\t3\r\nend\r\n\r\ntail\tx\t\r\n");

    table.monsterlines[0] = rebuildmonsterline(table.monsterlines[0], newValues());
    table.savemonsterdata(folder.path());
    const auto saved = splitLines(folder.read("data/monster.txt"));
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0], table.monsterlines[0]);
    EXPECT_EQ(columns(saved[0])[2], "\"Big Rat\"");
}

TEST(MonsterSave, FirstLineEndSavesTheFileBackNormalised) {
    TempFolder folder;
    folder.write("data/monster.txt", "end\r\n1   2\r\n");
    MonsterTable table;
    table.loadmonsterdata(folder.path());
    table.savemonsterdata(folder.path());
    EXPECT_EQ(folder.read("data/monster.txt"), "end\r\n1\t2\r\n");
}

}  // namespace
