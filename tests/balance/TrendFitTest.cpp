// The trend and its outliers, one table of cases whose expectations were worked out
// apart from this code (a few lines of Python: least squares on the logarithm, the
// median of the residuals, their median absolute deviation, the outliers beyond three
// of them from the median); the column the chart reads from a monster line, and which
// monsters are non-combat characters; the plot of a table; the values "Set to the
// trend" asks for; and the sample's HP outliers.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BalancePoints.h"
#include "MonsterFields.h"
#include "TrendFit.h"

namespace {

struct ExpectedOutlier {
    std::size_t index;
    long long percent;
};

struct FitCase {
    const char* name;
    std::vector<LevelValue> points;
    bool fitted;
    double a, b, centre, deviation;
    int fittedCount, leftOut;
    std::vector<ExpectedOutlier> outliers;  // furthest first
};

std::vector<LevelValue> doubling(int from, int to, long long start) {
    std::vector<LevelValue> points;
    for (int level = from; level <= to; ++level) points.push_back({level, start << (level - from)});
    return points;
}

}  // namespace

TEST(TrendFit, FitsAndFindsTheOutliers) {
    std::vector<LevelValue> oneChanged = doubling(1, 9, 6);
    oneChanged[4].value *= 8;  // level 5: 768 where the rule gives 96
    std::vector<LevelValue> formula;
    for (int level = 1; level <= 40; ++level)
        formula.push_back({level, std::llround(100 * std::pow(1.05, level)) * (level == 30 ? 2 : 1)});
    const FitCase cases[] = {
        {"values on one curve: none is an outlier, though the MAD is 0", doubling(1, 8, 6), true, 3.0,
         0.6931471805599453, 0, 0, 8, 0, {}},
        {"one value changed among values on a curve is the only outlier", oneChanged, true, 3.779763149684621,
         0.6931471805599453, -0.23104906018664906, 0, 9, 0, {{4, 535}}},
        {"a table made by a formula and rounded, one monster doubled by hand", formula, true, 99.31961415148638,
         0.04999074553075444, -0.015857351070592163, 0.01127550827078494, 40, 0, {{29, 94}}},
        {"scattered values: the two beyond three MADs, the furthest first",
         {{1, 1221}, {2, 1105}, {3, 1522}, {4, 1377}, {5, 1733}, {6, 1632}, {7, 2203}, {8, 2014}, {9, 3320},
          {10, 2460}, {11, 3320}, {12, 2117}},
         true, 1082.0589908218706, 0.0855481238122508, 0.0005353924628335172, 0.10228497248607837, 12, 0,
         {{11, -30}, {8, 42}}},
        {"3.07 MADs off is an outlier, the next at 2.9 to 2.98 is not",
         {{1, 1221}, {2, 1105}, {3, 1522}, {4, 1377}, {5, 1733}, {6, 1632}, {7, 2203}, {8, 2014}, {9, 3158},
          {10, 2460}, {11, 3320}, {12, 2226}},
         true, 1074.6703080515294, 0.08660455574313242, 0.0015767915932412002, 0.10175675652063676, 12, 0,
         {{11, -27}}},
        {"values of 0 and below are left out of the fit and are no outliers",
         {{1, 0}, {2, -5}, {1, 10}, {2, 20}, {3, 40}, {4, 80}}, true, 5.0, 0.6931471805599452, 0, 0, 4, 2, {}},
        {"one value above 0: no trend", {{1, 10}, {2, 0}}, false, 0, 0, 0, 0, 1, 1, {}},
        {"every value at one level: no trend", {{5, 10}, {5, 20}, {5, 40}}, false, 0, 0, 0, 0, 3, 0, {}},
        {"no values: no trend", {}, false, 0, 0, 0, 0, 0, 0, {}},
    };
    for (const FitCase& c : cases) {
        const Trend trend = fitTrend(c.points);
        EXPECT_EQ(trend.fitted, c.fitted) << c.name;
        EXPECT_EQ(trend.fittedCount, c.fittedCount) << c.name;
        EXPECT_EQ(trend.leftOut, c.leftOut) << c.name;
        if (c.fitted) {
            EXPECT_NEAR(trend.a, c.a, c.a * 1e-9) << c.name;
            EXPECT_NEAR(trend.b, c.b, 1e-12) << c.name;
            EXPECT_NEAR(trend.centre, c.centre, 1e-12) << c.name;
            EXPECT_NEAR(trend.deviation, c.deviation, 1e-12) << c.name;
        }
        const std::vector<Outlier> found = findOutliers(trend, c.points);
        ASSERT_EQ(found.size(), c.outliers.size()) << c.name;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].index, c.outliers[i].index) << c.name << ", outlier " << i;
            EXPECT_EQ(found[i].percent, c.outliers[i].percent) << c.name << ", outlier " << i;
            EXPECT_TRUE(isOutlier(trend, c.points[found[i].index])) << c.name;
            // Beyond the band's edges, which are three MADs from the middle.
            const LevelValue& point = c.points[found[i].index];
            const double value = static_cast<double>(point.value);
            EXPECT_TRUE(value > trend.upperEdgeAt(point.level) || value < trend.lowerEdgeAt(point.level)) << c.name;
            if (trend.deviation > 0) {
                EXPECT_GT(found[i].deviations, kOutlierDeviations) << c.name;
            }
        }
        // The same with the logarithms given, as the chart keeps them.
        std::vector<double> logs;
        for (const LevelValue& point : c.points) logs.push_back(point.value > 0 ? std::log(static_cast<double>(point.value)) : 0);
        const Trend given = fitTrend(c.points, logs);
        EXPECT_EQ(given.fitted, trend.fitted) << c.name;
        EXPECT_NEAR(given.b, trend.b, 1e-12) << c.name;
        EXPECT_NEAR(given.deviation, trend.deviation, 1e-12) << c.name;
        const std::vector<Outlier> foundGiven = findOutliers(given, c.points, logs);
        ASSERT_EQ(foundGiven.size(), found.size()) << c.name;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(foundGiven[i].index, found[i].index) << c.name;
            EXPECT_EQ(foundGiven[i].percent, found[i].percent) << c.name;
        }
        // Every other point with a value above 0 lies within the band.
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            const bool listed = std::any_of(found.begin(), found.end(), [&](const Outlier& o) { return o.index == i; });
            if (listed || !c.fitted || c.points[i].value <= 0) continue;
            const double value = static_cast<double>(c.points[i].value);
            EXPECT_LE(value, trend.upperEdgeAt(c.points[i].level) * (1 + 1e-9)) << c.name << ", point " << i;
            EXPECT_GE(value, trend.lowerEdgeAt(c.points[i].level) * (1 - 1e-9)) << c.name << ", point " << i;
        }
    }
}

TEST(TrendFit, TrendValuesAreRoundedAndHeldInThe32BitRange) {
    const struct {
        const char* name;
        double a, b;
        int level;
        long long expected;
    } cases[] = {
        {"a half rounds up", 2.5, 0, 7, 3},
        {"just below a half rounds down", 2.4999, 0, 7, 2},
        {"growth over the levels", 3, std::log(2.0), 10, 3072},
        {"beyond the 32-bit range", 1e12, 0, 1, 2147483647},
        {"far beyond it", 1, 50, 255, 2147483647},
    };
    for (const auto& c : cases) {
        Trend trend;
        trend.fitted = true;
        trend.a = c.a;
        trend.b = c.b;
        EXPECT_EQ(trendValue(trend, c.level), c.expected) << c.name;
    }
}

namespace {

// A stored monster line in normal form: number, 0, name, then columns 4..28; columns
// not given hold 10 times their number, the move range 3.
std::string monsterLine(int id, std::vector<std::pair<int, std::string>> given = {}) {
    std::string line = std::to_string(id) + "\t0\t\"Monster " + std::to_string(id) + "\"";
    for (int column = 4; column <= 28; ++column) {
        std::string text = column == 13 ? "3" : std::to_string(column * 10);
        for (const auto& [c, value] : given)
            if (c == column) text = value;
        line += "\t" + text;
    }
    return line;
}

}  // namespace

TEST(BalancePoints, ReadsTheColumnAndTellsTheNonCombatCharacters) {
    const struct {
        const char* name;
        std::vector<std::pair<int, std::string>> columns;
        int field;
        bool read;
        std::int32_t level, value;
        bool nonCombat;
    } cases[] = {
        {"a fighting monster's HP", {{4, "12"}, {5, "900"}}, kHpField, true, 12, 900, false},
        {"a level of 0 and HP of 0 as the stats page shows them", {{4, "0"}, {5, "0"}}, kHpField, true, 1, 1, false},
        {"MP of 0 stays 0", {{6, "0"}}, 2, true, 40, 0, false},
        {"attack speed pulled into its bounds", {{18, "2500"}}, 11, true, 40, 2000, false},
        {"no move and no damage: non-combat", {{13, "0"}, {7, "0"}, {8, "0"}}, kHpField, true, 40, 50, true},
        {"no move, damages of 1 (as the stats page writes 0): non-combat", {{13, "0"}, {7, "1"}, {8, "1"}},
         kHpField, true, 40, 50, true},
        {"no move but a damage of 2: a sentry fights", {{13, "0"}, {7, "0"}, {8, "2"}}, kHpField, true, 40, 50, false},
        {"no move but a least damage of 2", {{13, "0"}, {7, "2"}, {8, "0"}}, kHpField, true, 40, 50, false},
        {"no damage but it moves", {{13, "1"}, {7, "0"}, {8, "0"}}, kHpField, true, 40, 50, false},
        {"a move range without an entry", {{13, "9"}, {7, "0"}, {8, "0"}}, kHpField, true, 40, 50, false},
        {"HP not a number: nothing", {{5, "x"}}, kHpField, false, 0, 0, false},
        {"a later column not a number: HP still read, the move range unknown", {{7, "0"}, {8, "0"}, {13, "x"}},
         kHpField, true, 40, 50, false},
        {"the column itself stops the reading", {{19, "x"}}, 12, false, 0, 0, false},
        {"the level is no column of the chart", {}, 0, false, 0, 0, false},
        {"nor is the move range", {}, kMoveRangeField, false, 0, 0, false},
    };
    for (const auto& c : cases) {
        const auto read = monsterBalance(monsterLine(1, c.columns), c.field);
        ASSERT_EQ(read.has_value(), c.read) << c.name;
        if (!read) continue;
        EXPECT_EQ(read->level, c.level) << c.name;
        EXPECT_EQ(read->value, c.value) << c.name;
        EXPECT_EQ(read->nonCombat, c.nonCombat) << c.name;
        // Unasked, the line is read no further than the column, and no one is non-combat.
        const auto unasked = monsterBalance(monsterLine(1, c.columns), c.field, false);
        ASSERT_TRUE(unasked.has_value()) << c.name;
        EXPECT_EQ(unasked->value, c.value) << c.name;
        EXPECT_FALSE(unasked->nonCombat) << c.name;
    }
    // A move range that is no number stops no line when who fights is not asked.
    EXPECT_TRUE(monsterBalance(monsterLine(1, {{13, "x"}}), kHpField, false).has_value());
    EXPECT_EQ(chartableFields(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16}));
}

TEST(BalancePoints, PlotsTheMonstersShownAndSetsThemToTheTrend) {
    MonsterTable table;
    std::string text;
    const std::vector<std::vector<std::pair<int, std::string>>> monsters = {
        {{4, "1"}, {5, "6"}},     {{4, "2"}, {5, "12"}},
        {{4, "3"}, {5, "24"}},    {{4, "4"}, {5, "400"}},  // 8 times the rule
        {{4, "5"}, {5, "96"}},    {{4, "2"}, {5, "99"}, {13, "0"}, {7, "0"}, {8, "0"}},  // non-combat
        {{4, "6"}, {5, "oops"}},  {{4, "7"}, {5, "384"}},
    };
    for (std::size_t i = 0; i < monsters.size(); ++i) text += monsterLine(static_cast<int>(i), monsters[i]) + "\r\n";
    table.loadFromText(text, "monster.txt");
    ASSERT_EQ(table.monstercount, 8);
    BalanceRows rows;
    rows.readAll(table, kHpField);

    const struct {
        const char* name;
        std::function<bool(int)> shown;
        bool leaveOutNonCombat;
        std::vector<int> monsters;
        std::vector<int> outliers;
        int nonCombatLeftOut, unreadable;
    } cases[] = {
        {"every monster", {}, false, {0, 1, 2, 3, 4, 5, 7}, {3, 5}, 0, 1},
        {"the non-combat character left out", {}, true, {0, 1, 2, 3, 4, 7}, {3}, 1, 1},
        {"a filter keeps the even ones", [](int m) { return m % 2 == 0; }, true, {0, 2, 4}, {}, 0, 1},
    };
    for (const auto& c : cases) {
        const BalancePlot plot = plotBalance(rows.rows(), c.shown, c.leaveOutNonCombat);
        EXPECT_EQ(plot.monsters, c.monsters) << c.name;
        std::vector<int> outliers;
        for (const Outlier& o : plot.outliers) outliers.push_back(plot.monsters[o.index]);
        EXPECT_EQ(outliers, c.outliers) << c.name;
        for (std::size_t i = 0; i < plot.points.size(); ++i) {
            EXPECT_EQ(plot.outlier[i] != 0, isOutlier(plot.trend, plot.points[i])) << c.name;
            EXPECT_EQ(plot.points[i].value, rows.rows()[static_cast<std::size_t>(plot.monsters[i])]->value) << c.name;
        }
        EXPECT_EQ(plot.nonCombatLeftOut, c.nonCombatLeftOut) << c.name;
        EXPECT_EQ(plot.unreadable, c.unreadable) << c.name;
    }

    // The trend's values at the monsters' levels; a monster without a row is left out.
    const BalancePlot plot = plotBalance(rows.rows(), {}, true);
    const std::vector<int> chosen = {-1, 0, 3, 6, 7, 8};  // -1 and 8 are no monsters of the table
    const std::vector<FieldEdit> edits = trendEdits(plot.trend, rows.rows(), chosen, kHpField);
    EXPECT_EQ(edits, (std::vector<FieldEdit>{{0, kHpField, trendValue(plot.trend, 1)},
                                             {3, kHpField, trendValue(plot.trend, 4)},
                                             {7, kHpField, trendValue(plot.trend, 7)}}));
    EXPECT_TRUE(trendEdits(Trend{}, rows.rows(), chosen, kHpField).empty()) << "no trend, no edits";

    // A stored monster is read again.
    table.monsterlines[3] = monsterLine(3, {{4, "4"}, {5, "48"}});
    rows.reread(table, 3);
    EXPECT_EQ(rows.rows()[3]->value, 48);
    EXPECT_TRUE(plotBalance(rows.rows(), {}, true).outliers.empty());
}

TEST(BalancePoints, TheSamplesHpOutliersAmongTheFightingMonsters) {
    MonsterTable table;
    table.loadmonsterdata(std::filesystem::path(VARNEX_SOURCE_DIR) / "sample");
    BalanceRows rows;
    rows.readAll(table, kHpField);
    const BalancePlot plot = plotBalance(rows.rows(), {}, true);
    EXPECT_EQ(plot.nonCombatLeftOut, 8);
    EXPECT_EQ(plot.monsters.size(), 88u);
    EXPECT_NEAR(plot.trend.a, 670.7622127979585, 1e-9);
    EXPECT_NEAR(plot.trend.b, 0.040542262285683875, 1e-12);
    // Worked out from the file apart from the editor: number, HP, percent off, level.
    const struct {
        std::int32_t id;
        long long value, percent;
        int level;
    } expected[] = {
        {10, 146, -80, 2},    {11, 197, -74, 3},    {200, 150768, 290, 100}, {12, 284, -65, 5},
        {201, 172746, 236, 107}, {98, 34729, -58, 119}, {97, 32929, -55, 116}, {202, 199248, 169, 116},
    };
    ASSERT_EQ(plot.outliers.size(), std::size(expected));
    for (std::size_t i = 0; i < plot.outliers.size(); ++i) {
        const Outlier& outlier = plot.outliers[i];
        const auto monster = static_cast<std::size_t>(plot.monsters[outlier.index]);
        EXPECT_EQ(table.monsters[monster].id, expected[i].id) << i;
        EXPECT_EQ(plot.points[outlier.index].value, expected[i].value) << i;
        EXPECT_EQ(plot.points[outlier.index].level, expected[i].level) << i;
        EXPECT_EQ(outlier.percent, expected[i].percent) << i;
    }
}
