#pragma once
// The columns of the monster table window: the number and the name, the 17 columns the
// stats page edits under that page's captions, then the line's other columns, shown
// read-only at the end. Every monster line has 28 columns, so every column of the file
// has exactly one place here.

#include <array>

#include <QString>

#include "MonsterFields.h"

struct GridColumn {
    enum class Kind { Number, Name, Field, Other };
    Kind kind;
    int lineColumn;  // 1-based column of the monster line
    int field;       // index into kMonsterFields for a Field column, else -1

    bool editable() const { return kind == Kind::Field; }
    QString caption() const;
    const MonsterField* monsterField() const { return kind == Kind::Field ? &kMonsterFields[static_cast<std::size_t>(field)] : nullptr; }
};

inline constexpr int kGridColumnCount = kMonsterLineColumns;
// Grid column 0 is the number, 1 the name, 2 .. 18 the fields in their order.
inline constexpr int kFirstFieldColumn = 2;

const std::array<GridColumn, kGridColumnCount>& gridColumns();
const GridColumn& gridColumn(int column);
// The grid column of a field of kMonsterFields.
constexpr int gridColumnOfField(int field) { return kFirstFieldColumn + field; }
// The grid column whose caption this is, or -1.
int gridColumnNamed(const QString& caption);
