#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LineFormat.h"
#include "StepByStepNormalize.h"

namespace {

struct NormalCase {
    std::string in;
    std::string plain;  // without the spawn rules
    std::string spawn;  // with them
};

const std::vector<NormalCase> kNormalCases = {
    {"", "", ""},
    {" \t  \t ", "", ""},
    {"   \tabc", "abc", "abc"},
    {"a  b\t\t c", "a\tb\tc", "a\tb\tc"},
    {"a \t \t b", "a\tb", "a\tb"},
    {"end  ", "end\t", "end"},
    {"end\t \t", "end\t", "end"},
    {"// only a comment", "//\tonly\ta\tcomment", ""},
    {"\t// comment", "//\tcomment", ""},
    {"17  // comment", "17\t//\tcomment", "17"},
    {"1 // x", "1\t//\tx", "1"},
    {"1 2//3 // 4", "1\t2//3\t//\t4", "1\t2"},
    {"\"Aa // Bb\" 5", "\"Aa\t//\tBb\"\t5", "\"Aa"},
    {"\"Big  Wolf\"\t 3 ", "\"Big\tWolf\"\t3\t", "\"Big\tWolf\"\t3"},
    {"/", "/", "/"},
    {"a/ /b", "a/\t/b", "a/\t/b"},
    {"x\r", "x\r", "x\r"},  // only blanks and tabs are separators
    {"\xff\x01 \xfe", "\xff\x01\t\xfe", "\xff\x01\t\xfe"},
};

class NormalForm : public testing::TestWithParam<NormalCase> {};

TEST_P(NormalForm, WithAndWithoutSpawnRules) {
    const auto& c = GetParam();
    EXPECT_EQ(normalizeline(c.in, false), c.plain);
    EXPECT_EQ(normalizeline(c.in, true), c.spawn);
}

INSTANTIATE_TEST_SUITE_P(Lines, NormalForm, testing::ValuesIn(kNormalCases));

TEST(NormalForm, MatchesTheStepwiseRulesOnRandomLines) {
    const char alphabet[] = {' ', '\t', '/', 'a', '"', '1'};
    unsigned state = 12345;
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int length = static_cast<int>(state % 14);
        for (int i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            line.push_back(alphabet[(state >> 16) % sizeof alphabet]);
        }
        state = state * 1103515245u + 12345u;
        for (const bool spawn : {false, true})
            ASSERT_EQ(normalizeline(line, spawn), stepByStepNormalize(line, spawn))
                << "line [" << line << "] spawn " << spawn;
    }
}

struct ReaderCase {
    std::string line;
    std::vector<std::string> fields;  // what successive calls return
    std::string rest;                 // what is left in the line afterwards
};

const std::vector<ReaderCase> kReaderCases = {
    {"12\t0\t\"Aa\t\tBb\"\t3", {"12", "0", "\"Aa  Bb\"", ""}, "3"},  // not normal form: empty piece kept
    {"12\t0\t\"Aa\tBb\"\t3", {"12", "0", "\"Aa Bb\"", "", ""}, "3"},
    {"\"Wolf\"\t5", {"\"Wolf\"", ""}, "5"},
    {"\"\t5", {"\"", ""}, "5"},                       // a lone quote counts as closed
    {"ab\"c\td\"\t5", {"ab\"c", "d\"", ""}, "5"},     // quotes inside or at the end: no joining
    {"\"A\tB\tC\"\tD", {"\"A B C\"", ""}, "D"},
    {"", {"", ""}, ""},
    {"solo", {"", ""}, "solo"},
    {"a\t", {"a", ""}, ""},
    // Unterminated: joining stops at the last tab and the pieces so far come back.
    {"1\t\"Aa\tBb\tCc", {"1", "\"Aa Bb", ""}, "Cc"},
    {"\"Aa\t", {"\"Aa", ""}, ""},
    {"\"Aa\tBb\t", {"\"Aa Bb", ""}, ""},
};

class Reader : public testing::TestWithParam<ReaderCase> {};

TEST_P(Reader, CutsColumnsOffTheFront) {
    const auto& c = GetParam();
    std::string line = c.line;
    TokenReader reader(c.line);
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        EXPECT_EQ(nexttoken(line), c.fields[i]) << "call " << i;
        EXPECT_EQ(reader.next(), c.fields[i]) << "call " << i;
    }
    EXPECT_EQ(line, c.rest);
    EXPECT_EQ(reader.rest(), c.rest);
}

INSTANTIATE_TEST_SUITE_P(Lines, Reader, testing::ValuesIn(kReaderCases));

TEST(Reader, QuotedNameOfAFileLineComesBackWithSingleBlanks) {
    std::string line = normalizeline("7  x \"Old \t  Grey  Wolf\"  12", false);
    EXPECT_EQ(nexttoken(line), "7");
    EXPECT_EQ(nexttoken(line), "x");
    EXPECT_EQ(nexttoken(line), "\"Old Grey Wolf\"");
    EXPECT_EQ(line, "12");
}

TEST(Reader, UnterminatedQuoteOverManyTabsEndsAndConsumesEveryTab) {
    std::string line = "\"";
    for (int i = 0; i < 200000; ++i) line += "w\t";
    line += "last";
    TokenReader reader(line);
    const std::string field = reader.next();
    EXPECT_EQ(field.size(), 1 + 200000 * 2 - 1);
    EXPECT_EQ(field.substr(0, 5), "\"w w ");
    EXPECT_EQ(reader.rest(), "last");
    EXPECT_EQ(reader.next(), "");
}

// Where a column the reader gives stands in the line as the file holds it.
TEST(RawColumn, IsTheByteWhereTheColumnStandsInTheLineAsRead) {
    struct Case {
        std::string raw;
        bool spawnRules;
        int skipped;  // columns cut off first
        bool rest;    // the column asked for is the rest of the line, else the next column
        int column;
    };
    const Case cases[] = {
        {"  1 \t 22   333", false, 1, false, 7},
        {"1 0 \"Old   Grey\" 12 x", false, 3, false, 18},  // after a name joined over blanks
        {"1 0 \"Old   Grey\" 12 x", false, 2, false, 5},
        {"1 2 3 // c", true, 2, false, 6},                    // a column the line lacks: just after the last
        {"1 2 3 // c", true, 2, true, 5},
        {"1 2  ", false, 2, true, 4},                         // the empty rest after a trailing blank
        {"\xEF\xBB\xBF" "0 1", false, 0, false, 1},
    };
    for (const auto& c : cases) {
        const std::string normal = normalizeline(c.raw, c.spawnRules);
        TokenReader reader(normal);
        for (int i = 0; i < c.skipped; ++i) reader.nextSpan();
        const std::string_view span = c.rest ? reader.rest() : reader.nextSpan();
        EXPECT_EQ(rawColumn(c.raw, normal, columnOffset(normal, span)), c.column) << c.raw << " after " << c.skipped;
    }
}

}  // namespace
