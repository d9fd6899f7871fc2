#pragma once
// The 17 edited columns of a monster line (their names and bounds), and the reading of
// a stored line into those fields. A line that cannot be read in full says which field
// stopped the reading and why, in words an operator can act on. Which control shows
// which column is the stats page's own.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "MonsterTable.h"
#include "Numbers.h"
#include "TableError.h"

inline constexpr int kMonsterLineColumns = 28;

struct MonsterField {
    const char* columnName;  // what the messages call the column: its caption on the stats page
    int column;              // 1-based column of the monster line
    int lower;            // lower and upper 0: no bounds
    int upper;
};

// In column order: 4..13, 17..19, 25..28. The move range (column 13) is an item index.
inline constexpr std::array<MonsterField, kEditableColumns> kMonsterFields = {{
    {"LVL", 4, 1, 255},
    {"HP", 5, 1, 1000000},
    {"MP", 6, 0, 1000000},
    {"DmgMin", 7, 1, 1000000},
    {"DmgMax", 8, 1, 1000000},
    {"p.Def", 9, 1, 1000000},
    {"m.Def", 10, 0, 1000000},
    {"AttackRate", 11, 1, 1000000},
    {"DefRate", 12, 1, 1000000},
    {"MoveRange", 13, 0, 5},
    {"moveSpeed", 17, 1, 1000000},
    {"AtackSpeed 2000/", 18, 1, 2000},
    {"RespawnTime(sec)", 19, 1, 1000000},
    {"Poison Rezist", 25, 0, 0},
    {"Ice Rezist", 26, 0, 0},
    {"Lightning rezist", 27, 0, 0},
    {"Fire Rezist", 28, 0, 0},
}};
inline constexpr int kMoveRangeField = 9;  // index of column 13 in kMonsterFields

// The move range's entries; column 13 holds the index of one. A value outside them
// is shown with no entry chosen, and "OK" then keeps it.
inline constexpr std::array<const char*, 6> kMoveRangeNames = {"Cant Move", "very low", "low",
                                                               "normal",    "High",     "Great!"};
static_assert(kMonsterFields[kMoveRangeField].upper + 1 == static_cast<int>(kMoveRangeNames.size()));

// Lower and upper bound 0 mean that the field takes any value.
constexpr bool hasBounds(const MonsterField& field) { return field.lower != 0 || field.upper != 0; }
// The value a field shows and "OK" writes for a value read from the file or typed.
constexpr std::int32_t clampToField(const MonsterField& field, long long value) {
    return clampToBounds(value, field.lower, field.upper);
}
// Whether the move range's box has an entry for the value.
constexpr bool moveRangeListed(std::int32_t value) {
    return value >= 0 && value < static_cast<std::int32_t>(kMoveRangeNames.size());
}

// What the stats page shows of one stored monster line.
struct MonsterLineFields {
    std::string id;    // column 1 as in the file
    std::string name;  // column 3 as the column reader returns it, quotes kept
    // In the order of kMonsterFields, as written in the line (not pulled into bounds).
    std::array<std::int32_t, kEditableColumns> values{};
    int read = 0;  // values[0 .. read) were read
    // Where the text of each field starts in the normalised line (columnOffset),
    // for offsets[0 .. read], the field that stopped the reading included.
    std::array<std::size_t, kEditableColumns> offsets{};
    // Why values[read] could not be read: the integer message with the column's text,
    // the given file and line, and a reason.
    std::optional<TableError> error;

    bool complete() const { return read == kEditableColumns; }
};

// The values the stats page's fields show for a line read in full, which "OK" stores
// back as they are: each pulled into its field's bounds, the move range as read (a value
// without an entry is kept).
std::array<std::int32_t, kEditableColumns> shownValues(const MonsterLineFields& fields);
// The same for the values of a line read in full (readMonsterFields).
std::array<std::int32_t, kEditableColumns> shownValues(const std::array<std::int32_t, kEditableColumns>& values);

// Walks a normal-form line with the column reader: columns 1 and 3 as text, the
// columns of kMonsterFields as integers (decimal, "$1F" or "0x1F"). Stops at the first
// column that is not one. Never throws.
MonsterLineFields readMonsterLine(std::string_view normalisedLine, const std::string& file,
                                  int lineNumber);

// One field's value as readMonsterLine reads it, reading the line no further than that
// field: nothing where readMonsterLine would stop at it or before it. For a caller that
// wants one column of many lines.
std::optional<std::int32_t> readMonsterField(std::string_view normalisedLine, int field);

// The fields 0 .. lastField as readMonsterLine reads them, into values, walking the
// line once and no further: how many were read (fewer where one is not a number). For
// a caller that wants a few columns of many lines.
int readMonsterFields(std::string_view normalisedLine, int lastField,
                      std::array<std::int32_t, kEditableColumns>& values);

// The number of columns of a normal-form line, counted as the column reader walks it
// (a quoted name is one column); a trailing tab does not start a further column.
int countMonsterColumns(std::string_view normalisedLine);
