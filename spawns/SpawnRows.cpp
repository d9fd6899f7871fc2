#include "SpawnRows.h"

#include <algorithm>

#include "ByteText.h"
#include "MonsterTable.h"

namespace {

std::vector<ReportColumn> spotColumns(SpotRows::Kind kind) {
    if (kind == SpotRows::Kind::Points)
        return {{"(type) SpoID", 90}, {"X", 50, true}, {"Y", 50, true}, {"distance", 70}, {"DIR", 50}};
    return {{"(type) SpoID", 90}, {"X1", 45, true}, {"X2", 45},      {"Y1", 45, true},
            {"Y2", 45},           {"distance", 53}, {"DIR", 35},     {"Count", 50}};
}

}  // namespace

MonsterRows::MonsterRows(QObject* parent) : ReportModel({{"ID", 50}, {"monsterName", 135}}, parent) {}

void MonsterRows::fill(const MonsterTable& table, std::vector<bool> hasSpots) {
    beginResetModel();
    table_ = &table;
    hasSpots_ = std::move(hasSpots);
    hasSpots_.resize(static_cast<std::size_t>(std::max(table.monstercount, 0)));
    endResetModel();
}

void MonsterRows::clear() {
    beginResetModel();
    table_ = nullptr;
    hasSpots_.clear();
    endResetModel();
}

std::int32_t MonsterRows::number(int row) const { return table_->monsters[static_cast<std::size_t>(row)].id; }

QString MonsterRows::name(int row) const {
    return textFromBytes(table_->monsters[static_cast<std::size_t>(row)].name);
}

void MonsterRows::setHasSpots(int row, bool hasSpots) {
    if (row < 0 || row >= rowCount() || hasSpots_[static_cast<std::size_t>(row)] == hasSpots) return;
    hasSpots_[static_cast<std::size_t>(row)] = hasSpots;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::DecorationRole});
}

int MonsterRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(hasSpots_.size());
}

QString MonsterRows::text(int row, int column) const {
    return column == 0 ? QString::number(number(row)) : name(row);
}

// The pictures are drawn when a row first shows one.
QIcon MonsterRows::icon(int row) const {
    if (imageList1_[0].isNull()) imageList1_ = {monsterIcon(false), monsterIcon(true)};
    return imageList1_[hasSpots_[static_cast<std::size_t>(row)] ? 1 : 0];
}

SpotRows::SpotRows(Kind kind, QObject* parent) : ReportModel(spotColumns(kind), parent), kind_(kind) {}

void SpotRows::setRows(std::vector<SpawnEntry> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

bool SpotRows::extendsRows(const std::vector<SpawnEntry>& rows) const {
    return rows.size() >= rows_.size() &&
           std::equal(rows_.begin(), rows_.end(), rows.begin(),
                      [](const SpawnEntry& a, const SpawnEntry& b) { return a.spotid == b.spotid; });
}

bool SpotRows::updateRows(const std::vector<SpawnEntry>& rows) {
    if (!extendsRows(rows)) return false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows[i] == rows_[i]) continue;
        rows_[i] = rows[i];
        const int row = static_cast<int>(i);
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    if (rows.size() == rows_.size()) return true;
    beginInsertRows({}, rowCount(), static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), rows.begin() + static_cast<std::ptrdiff_t>(rows_.size()), rows.end());
    endInsertRows();
    return true;
}

void SpotRows::clear() { setRows({}); }

void SpotRows::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

int SpotRows::rowOf(std::int32_t spotid) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].spotid == spotid) return static_cast<int>(i);
    return -1;
}

int SpotRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(rows_.size()); }

QString SpotRows::text(int row, int column) const {
    const SpawnEntry& e = entry(row);
    const int points[] = {e.spotid, e.x0, e.y0, e.distance, e.dir};
    const int ranges[] = {e.spotid, e.x0, e.x1, e.y0, e.y1, e.distance, e.dir, e.count};
    return QString::number(kind_ == Kind::Points ? points[column] : ranges[column]);
}

QIcon SpotRows::icon(int row) const {
    const int type = entry(row).spottype;
    if (type >= kSpotTypeCount) return {};
    QIcon& picture = imageList2_[static_cast<std::size_t>(type)];
    if (picture.isNull()) picture = spotTypeIcon(type);
    return picture;
}
