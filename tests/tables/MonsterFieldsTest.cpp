#include <gtest/gtest.h>

#include <string>

#include "LineFormat.h"
#include "MonsterFields.h"
#include "TableFixtures.h"

namespace {

// Columns 1..n of a monster line of TableFixtures (a quoted name of two words).
std::string firstColumns(int n) {
    const std::string line = normalizeline(monsterLine("7", "Grey  Wolf", "12"), false);
    std::size_t end = 0;
    for (int column = 0; column < n + 1; ++column) end = line.find('\t', end + 1);  // +1: the name's tab
    return line.substr(0, end);
}

std::string withColumn(int column, const std::string& text) {
    std::string line = normalizeline(monsterLine("7", "Grey  Wolf", "12"), false);
    std::size_t start = 0;
    for (int c = 1; c < column; ++c) start = line.find('\t', start) + 1;
    if (column > 3) start = line.find('\t', start) + 1;  // the name's own tab
    const std::size_t end = line.find('\t', start);
    return line.replace(start, end - start, text);
}

TEST(MonsterLineRead, AWholeLineGivesEveryField) {
    const auto fields =
        readMonsterLine(normalizeline(monsterLine("$1F", "Grey  Wolf", "$FF", "9"), false), "data/monster.txt", 3);
    ASSERT_TRUE(fields.complete()) << fields.error->what();
    EXPECT_FALSE(fields.error);
    EXPECT_EQ(fields.id, "$1F");
    EXPECT_EQ(fields.name, "\"Grey Wolf\"");
    const std::array<std::int32_t, kEditableColumns> expected = {255, 50, 60, 70, 80, 90, 100, 110, 120,
                                                                 9,   170, 180, 190, 250, 260, 270, 280};
    EXPECT_EQ(fields.values, expected);  // as written: the page pulls them into bounds
    for (int field = 0; field < kEditableColumns; ++field)
        EXPECT_EQ(readMonsterField(normalizeline(monsterLine("$1F", "Grey  Wolf", "$FF", "9"), false), field),
                  expected[static_cast<std::size_t>(field)]);
}

TEST(MonsterLineRead, ALineThatCannotBeReadNamesTheFieldAndWhy) {
    struct Case {
        std::string line;  // as in the file
        const char* field;  // the first field not read
        std::string message;
        const char* reason;
    };
    const std::string full = monsterLine("7", "Grey  Wolf", "12");
    std::string unclosed = full;
    unclosed.erase(unclosed.find("Wolf\"") + 4, 1);
    const Case cases[] = {
        {full + "\t77 78", "Fire Rezist", "'280\t77\t78' is not a valid integer value",
         "the line has 30 columns; a monster line has 28"},
        {firstColumns(20), "Poison Rezist", "'' is not a valid integer value",
         "the line has 20 columns; a monster line has 28"},
        {firstColumns(27) + " ", "Fire Rezist", "'' is not a valid integer value",
         "the line has 27 columns; a monster line has 28"},
        {full + "  ", "Fire Rezist", "'280\t' is not a valid integer value", "the line ends with blanks"},
        {withColumn(5, "99999999999"), "HP", "'99999999999' is not a valid integer value",
         "column 5 (HP) is beyond the 32-bit range -2147483648..2147483647"},
        {withColumn(26, "-$80000001"), "Ice Rezist", "'-$80000001' is not a valid integer value",
         "column 26 (Ice Rezist) is beyond the 32-bit range -2147483648..2147483647"},
        {withColumn(7, "7x"), "DmgMin", "'7x' is not a valid integer value", "column 7 (DmgMin) is not a number"},
        {withColumn(13, "low"), "MoveRange", "'low' is not a valid integer value",
         "column 13 (MoveRange) is not a number"},
        {unclosed, "LVL", "'' is not a valid integer value",
         "the name in column 3 has no closing quote"},
    };
    for (const auto& c : cases) {
        const auto fields = readMonsterLine(normalizeline(c.line, false), "data/monster.txt", 12);
        ASSERT_TRUE(fields.error) << c.line;
        ASSERT_LT(fields.read, kEditableColumns) << c.line;
        EXPECT_STREQ(kMonsterFields[static_cast<std::size_t>(fields.read)].columnName, c.field) << c.line;
        EXPECT_EQ(fields.error->what(), c.message) << c.line;
        EXPECT_EQ(fields.error->detail(), std::string("data/monster.txt, line 12: ") + c.reason) << c.line;
        // One field alone reads as far as the whole line does.
        for (int field = 0; field < kEditableColumns; ++field) {
            const auto one = readMonsterField(normalizeline(c.line, false), field);
            if (field < fields.read)
                EXPECT_EQ(one, fields.values[static_cast<std::size_t>(field)]) << c.line;
            else
                EXPECT_FALSE(one) << c.line << " field " << field;
        }
    }
}

}  // namespace
