#include "GridColumns.h"

namespace {

std::array<GridColumn, kGridColumnCount> makeColumns() {
    std::array<GridColumn, kGridColumnCount> columns{};
    std::size_t next = 0;
    columns[next++] = {GridColumn::Kind::Number, 1, -1};
    columns[next++] = {GridColumn::Kind::Name, 3, -1};
    for (int field = 0; field < kEditableColumns; ++field)
        columns[next++] = {GridColumn::Kind::Field, kMonsterFields[static_cast<std::size_t>(field)].column, field};
    // The columns no field edits, in line order.
    for (int lineColumn = 2; lineColumn <= kMonsterLineColumns; ++lineColumn) {
        if (lineColumn == 3) continue;
        bool edited = false;
        for (const MonsterField& field : kMonsterFields) edited = edited || field.column == lineColumn;
        if (!edited) columns[next++] = {GridColumn::Kind::Other, lineColumn, -1};
    }
    return columns;
}

}  // namespace

QString GridColumn::caption() const {
    switch (kind) {
    case Kind::Number:
        return QStringLiteral("Id");
    case Kind::Name:
        return QStringLiteral("MonsterName");
    case Kind::Field:
        return QString::fromLatin1(kMonsterFields[static_cast<std::size_t>(field)].columnName);
    case Kind::Other:
        break;
    }
    return QStringLiteral("Column %1").arg(lineColumn);
}

const std::array<GridColumn, kGridColumnCount>& gridColumns() {
    static const std::array<GridColumn, kGridColumnCount> columns = makeColumns();
    return columns;
}

const GridColumn& gridColumn(int column) { return gridColumns()[static_cast<std::size_t>(column)]; }

int gridColumnNamed(const QString& caption) {
    for (int column = 0; column < kGridColumnCount; ++column)
        if (gridColumn(column).caption() == caption) return column;
    return -1;
}
