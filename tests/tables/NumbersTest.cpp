#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Numbers.h"
#include "TableError.h"

namespace {

struct IntegerCase {
    std::string text;
    std::optional<std::int32_t> decimal;  // nullopt: must be refused
    std::optional<std::int32_t> withHex;
};

const std::vector<IntegerCase> kIntegerCases = {
    {"0", 0, 0},
    {"007", 7, 7},
    {"-1", -1, -1},
    {"+42", 42, 42},
    {"2147483647", 2147483647, 2147483647},
    {"-2147483648", -2147483647 - 1, -2147483647 - 1},
    {"2147483648", std::nullopt, std::nullopt},
    {"-2147483649", std::nullopt, std::nullopt},
    {"99999999999999999999", std::nullopt, std::nullopt},
    {"$1F", std::nullopt, 31},
    {"$1f", std::nullopt, 31},
    {"0x1F", std::nullopt, 31},
    {"-$10", std::nullopt, -16},
    {"$7FFFFFFF", std::nullopt, 2147483647},
    {"$80000000", std::nullopt, std::nullopt},
    {"-$80000000", std::nullopt, -2147483647 - 1},
    {"$", std::nullopt, std::nullopt},
    {"0x", std::nullopt, std::nullopt},
    {"$G", std::nullopt, std::nullopt},
    {"1F", std::nullopt, std::nullopt},
    {"", std::nullopt, std::nullopt},
    {"-", std::nullopt, std::nullopt},
    {"+", std::nullopt, std::nullopt},
    {" 1", std::nullopt, std::nullopt},
    {"1 ", std::nullopt, std::nullopt},
    {"1\t2", std::nullopt, std::nullopt},
    {"--1", std::nullopt, std::nullopt},
    {"1.0", std::nullopt, std::nullopt},
    {"END", std::nullopt, std::nullopt},
};

void expectConversion(const std::string& text, bool allowHex, std::optional<std::int32_t> expected) {
    if (expected) {
        EXPECT_EQ(toInteger(text, allowHex), *expected) << "[" << text << "] hex " << allowHex;
        return;
    }
    try {
        toInteger(text, allowHex);
        ADD_FAILURE() << "[" << text << "] accepted, hex " << allowHex;
    } catch (const TableError& error) {
        EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid integer value");
    }
}

class Integers : public testing::TestWithParam<IntegerCase> {};

TEST_P(Integers, DecimalAndHexadecimal) {
    const auto& c = GetParam();
    expectConversion(c.text, false, c.decimal);
    expectConversion(c.text, true, c.withHex);
}

INSTANTIATE_TEST_SUITE_P(Texts, Integers, testing::ValuesIn(kIntegerCases));

TEST(Bytes, AcceptZeroTo255AndRefuseTheRest) {
    EXPECT_EQ(toByte(0), 0);
    EXPECT_EQ(toByte(255), 255);
    for (const std::int32_t bad : {-1, 256, -2147483647 - 1, 2147483647}) {
        try {
            toByte(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const TableError& error) {
            EXPECT_STREQ(error.what(), "Range check error");
        }
    }
}

}  // namespace
