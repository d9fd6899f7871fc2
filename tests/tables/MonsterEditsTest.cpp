#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "MonsterEdits.h"
#include "TableFixtures.h"

namespace {

TEST(ValueChanges, WorkOutEachNewValueBeforeItsBounds) {
    struct Case {
        ValueChange change;
        std::int32_t value;
        long long expected;
    };
    using enum ValueChangeKind;
    const Case cases[] = {
        {{Set, 300}, 12, 300},
        {{Set, -5}, 12, -5},
        {{Add, 25}, 100, 125},
        {{Add, -125}, 100, -25},
        {{Add, 10}, INT_MAX, 2147483657LL},  // beyond 32 bits: the bounds pull it in
        {{Multiply, 12000}, 12345, 14814},   // 14814.0
        {{Multiply, 12000}, 5126, 6151},     // 6151.2
        {{Multiply, 15000}, 5, 8},           // 7.5 rounds away from zero
        {{Multiply, 15000}, -5, -8},         // -7.5 too
        {{Multiply, 5000}, 3, 2},            // 1.5
        {{Multiply, 4999}, 3, 1},            // 1.4997
        {{Multiply, -5000}, 3, -2},          // a negative percentage
        {{Multiply, 1250}, 4, 1},            // 12.5 % of 4 is 0.5
        {{Multiply, 0}, 99, 0},
        {{Multiply, kLargestPercentHundredths * 10}, 2, 200000},  // taken at its largest
        {{Multiply, 12000}, INT_MIN, -2576980378LL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(changedValue(c.change, c.value), c.expected)
            << "kind " << static_cast<int>(c.change.kind) << " amount " << c.change.amount << " of " << c.value;
}

TEST(ValueChanges, ClampLikeEveryBoundedField) {
    struct Case {
        long long value;
        std::int32_t lower, upper, expected;
    };
    const Case cases[] = {
        {0, 1, 255, 1},       {256, 1, 255, 255},         {-2147483649LL, 0, 0, INT_MIN},
        {7, 0, 0, 7},         {2147483648LL, 0, 0, INT_MAX}, {5000, 1, 2000, 2000},
        {3, 5, 2, 5},  // an upper bound below the lower counts as the lower
    };
    for (const Case& c : cases) EXPECT_EQ(clampToBounds(c.value, c.lower, c.upper), c.expected) << c.value;
    for (const MonsterField& field : kMonsterFields)
        EXPECT_EQ(clampToField(field, -2147483649LL), hasBounds(field) ? field.lower : INT_MIN) << field.columnName;
}

// Three monsters: 10 a whole line (level 0 in the file, move range 7, which has no
// entry), 20 a whole line, 30 a line of 27 columns.
MonsterTable threeMonsters() {
    std::string damaged = monsterLine("30", "Short  Line", "5");
    damaged.erase(damaged.rfind('\t'));
    return [&] {
        MonsterTable table;
        table.loadFromText(crlf({monsterLine("10", "Grey  Wolf", "0", "7"), monsterLine("20", "Ash Hound", "12"),
                                 damaged, "end"}),
                           "data/monster.txt");
        return table;
    }();
}

// The values monster 20 shows: its line as made by monsterLine, each in its bounds.
std::array<std::int32_t, kEditableColumns> houndValues() {
    return {12, 50, 60, 70, 80, 90, 100, 110, 120, 3, 170, 180, 190, 250, 260, 270, 280};
}

TEST(EditPlans, StoreEachMonsterThatChangesAsOkStoresIt) {
    struct Store {
        int monster;
        std::vector<std::pair<int, std::int32_t>> changed;  // field, value
        bool moveRangeChosen;
    };
    struct Case {
        const char* what;
        std::vector<FieldEdit> edits;
        std::vector<Store> stores;
        int changed;
        std::vector<FieldEdit> clamped;
        std::size_t unreadable;
        std::vector<FieldEdit> rewritten{};  // monster, field, the file's value
    };
    const Case cases[] = {
        {"a new value", {{1, 1, 75}}, {{1, {{1, 75}}, true}}, 1, {}, 0},
        {"the value it shows already", {{1, 1, 50}}, {}, 0, {}, 0},
        {"a value beyond the bounds", {{1, 11, 5000}}, {{1, {{11, 2000}}, true}}, 1, {{1, 11, 5000}}, 0},
        {"pulled in to what it shows", {{1, 0, 300}, {1, 0, 12}}, {}, 0, {}, 0},  // the last edit counts
        {"a move range without an entry is kept; level 0, stored as the field shows it, is named",
         {{0, 1, 99}},
         {{0, {{0, 1}, {1, 99}, {9, 7}}, false}},
         1,
         {},
         0,
         {{0, 0, 0}}},
        {"a move range chosen", {{0, 9, 7}}, {{0, {{0, 1}, {9, 5}}, true}}, 1, {{0, 9, 7}}, 0, {{0, 0, 0}}},
        {"the level set to what it shows: no change of its own, still written anew",
         {{0, 0, 1}, {0, 2, 61}},
         {{0, {{0, 1}, {2, 61}, {9, 7}}, false}},
         1,
         {},
         0,
         {{0, 0, 0}}},
        {"the level set to another value is a change, not a value pulled in",
         {{0, 0, 2}},
         {{0, {{0, 2}, {9, 7}}, false}},
         1,
         {},
         0},
        {"nothing changes, nothing is written", {{0, 0, 1}}, {}, 0, {}, 0},
        {"a line not read in full", {{2, 1, 5}, {1, 2, 61}}, {{1, {{2, 61}}, true}}, 1, {}, 1},
        {"no such monster or field", {{3, 1, 5}, {-1, 1, 5}, {1, 17, 5}}, {}, 0, {}, 0},
    };
    const MonsterTable table = threeMonsters();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EditPlan plan = planEdits(table, c.edits);
        EXPECT_EQ(plan.changed, c.changed);
        EXPECT_EQ(plan.clamped, c.clamped);
        EXPECT_EQ(plan.unreadable.size(), c.unreadable);
        EXPECT_EQ(plan.rewritten, c.rewritten);
        ASSERT_EQ(plan.stores.size(), c.stores.size());
        for (std::size_t i = 0; i < c.stores.size(); ++i) {
            const MonsterStore& store = plan.stores[i];
            EXPECT_EQ(store.monster, c.stores[i].monster);
            EXPECT_EQ(store.moveRangeChosen, c.stores[i].moveRangeChosen);
            auto expected = store.monster == 1 ? houndValues()
                                               : shownValues(readMonsterLine(table.monsterlines[0], "", 1));
            for (const auto& [field, value] : c.stores[i].changed) expected[static_cast<std::size_t>(field)] = value;
            EXPECT_EQ(store.values, expected);
        }
    }
}

}  // namespace
