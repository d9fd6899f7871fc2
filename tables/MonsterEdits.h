#pragma once
// Changes to many monsters at once, worked out before anything is changed: each new
// value is pulled into its field's bounds, a value that stays as shown is no change, and
// every monster that does change is stored with all its fields as the stats page's "OK"
// stores them. A monster changed here is therefore written exactly as one changed there,
// and a monster that does not change keeps its line as it is.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "MonsterFields.h"
#include "MonsterTable.h"

// How a change of many values works out each new value.
enum class ValueChangeKind { Set, Add, Multiply };

struct ValueChange {
    ValueChangeKind kind = ValueChangeKind::Set;
    // Set: the value. Add: what is added (negative to take away). Multiply: the
    // percentage in hundredths of a percent (12000 is 120 %).
    long long amount = 0;
};

// The new value, before the field's bounds pull it in. A product is rounded half away
// from zero (2.5 becomes 3, -2.5 becomes -3).
long long changedValue(const ValueChange& change, std::int32_t value);

// The largest amounts a change takes, either way; a larger one counts as these. A
// product of a 32-bit value and such a percentage stays well inside 64 bits.
inline constexpr long long kLargestAddend = 1'000'000'000'000LL;
inline constexpr long long kLargestPercentHundredths = 1'000'000'000LL;  // 10,000,000 %

// A new value for one field (an index of kMonsterFields) of one monster.
struct FieldEdit {
    int monster = 0;
    int field = 0;
    long long value = 0;  // before its field's bounds

    bool operator==(const FieldEdit&) const = default;
};

// A monster's new values as the stats page's "OK" would store them.
struct MonsterStore {
    int monster = 0;
    std::array<std::int32_t, kEditableColumns> values{};
    // False while the move range keeps a stored value that has no entry: the monster
    // then keeps whether it can move, as after "OK" with no entry chosen.
    bool moveRangeChosen = false;
};

struct EditPlan {
    std::vector<MonsterStore> stores;  // the monsters that change, in table order
    int changed = 0;                   // edits whose cell shows another value afterwards
    std::vector<FieldEdit> clamped;    // edits pulled into their field's bounds, as asked
    std::vector<FieldEdit> unreadable;  // edits of lines that cannot be read in full: not made
    // Values of the monsters that change which the file holds beyond their field's
    // bounds and no edit changes: their lines are written anew with every value in its
    // bounds, so these change too (value: as the file holds it; the new one is the
    // field's bound, as clampToField gives it).
    std::vector<FieldEdit> rewritten;
};

// What the edits change, in any column. An edit of a monster the table does not have, or of a field
// that is not one, is left out; where several edits name one cell, the last counts.
EditPlan planEdits(const MonsterTable& table, std::span<const FieldEdit> edits);
