#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TableError.h"

TEST(TableError, WhereNamesFileAndLineWhenKnown) {
    EXPECT_EQ(TableError("x").where(), "");
    EXPECT_EQ(TableError("x", "data/Quarnel.txt").where(), "data/Quarnel.txt");
    EXPECT_EQ(TableError("x", "data/Quarnel.txt", 17).where(), "data/Quarnel.txt, line 17");
    const TableError moved = TableError(kRangeCheckError).at("data/monster.txt", 3);
    EXPECT_STREQ(moved.what(), "Range check error");
    EXPECT_EQ(moved.line(), 3);
}

TEST(TableError, DetailAddsTheReasonToWhere) {
    EXPECT_EQ(TableError("x").detail(), "");
    EXPECT_EQ(TableError("x").because("why").detail(), "why");
    const TableError placed = TableError("x").because("ends with blanks").at("data/monster.txt", 12);
    EXPECT_EQ(placed.detail(), "data/monster.txt, line 12: ends with blanks");
    EXPECT_STREQ(placed.what(), "x");
}

namespace {

struct QuotedField {
    std::string field;
    std::string quoted;  // what stands between the quotes of the message
};

const std::string kA99(99, 'a');
const std::vector<QuotedField> kQuotedFields = {
    {"", ""},
    {"x1", "x1"},
    {kA99 + "b", kA99 + "b"},                      // 100 bytes: whole
    {kA99 + "bc", kA99 + "b..."},                  // 101 bytes: cut to 100
    {kA99 + "\xc3\xa9z", kA99 + "..."},            // no cut inside a UTF-8 letter
    {"a" + std::string(97, 'b') + "\xe2\x82\xac" + "z", "a" + std::string(97, 'b') + "..."},
    {std::string(101, '\x80') + "z", std::string(97, '\x80') + "..."},  // not UTF-8: at most 3 back
};

TEST(InvalidIntegerMessage, QuotesTheFieldAndOnlyTheBeginningOfAVeryLongOne) {
    for (const auto& c : kQuotedFields)
        EXPECT_EQ(invalidIntegerMessage(c.field), "'" + c.quoted + "' is not a valid integer value")
            << c.field.size() << " bytes";
}

}  // namespace
