#include <gtest/gtest.h>

#include "TableError.h"

TEST(TableError, WhereNamesFileAndLineWhenKnown) {
    EXPECT_EQ(TableError("x").where(), "");
    EXPECT_EQ(TableError("x", "data/Quarnel.txt").where(), "data/Quarnel.txt");
    EXPECT_EQ(TableError("x", "data/Quarnel.txt", 17).where(), "data/Quarnel.txt, line 17");
    const TableError moved = TableError(kRangeCheckError).at("data/monster.txt", 3);
    EXPECT_STREQ(moved.what(), "Range check error");
    EXPECT_EQ(moved.line(), 3);
}
