#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TableError.h"
#include "VisibleText.h"

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

// Messages quote bytes of the files: whatever would act, or not show, shows.
TEST(VisibleText, ShowsEveryByteThatWouldActOrNotShow) {
    const std::pair<std::string, std::string> cases[] = {
        {"Caf\xC3\xA9 \xF0\x9F\x90\xBA a\\b", "Caf\xC3\xA9 \xF0\x9F\x90\xBA a\\b"},  // shown as they are
        {"a\tb", "a\\tb"},
        {"\r\n\x01\x7F", "\\x0d\\x0a\\x01\\x7f"},
        {"\xEF\xBB\xBF" "0", "\\uFEFF0"},
        {"\xC4 \xC3", "\\xc4 \\xc3"},                  // not UTF-8; a sequence cut short
        {"\xC0\xAF \xED\xA0\x80", "\\xc0\\xaf \\xed\\xa0\\x80"},  // overlong; a surrogate
        // a zero-width space, a right-to-left override, a C1 control
        {"a\xE2\x80\x8B" "b\xE2\x80\xAE" "c\xC2\x85", "a\\u200Bb\\u202Ec\\u0085"},
        // a right-to-left mark in a quoted name, which would turn the quotes around it
        {"'\"\xE2\x80\x8FWolf\"' is not a valid integer value", "'\"\\u200FWolf\"' is not a valid integer value"},
    };
    for (const auto& [bytes, shown] : cases) EXPECT_EQ(visibleText(bytes), shown) << shown;
}

}  // namespace
