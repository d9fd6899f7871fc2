#include "OverviewMonsters.h"

#include <algorithm>
#include <map>

#include "ByteText.h"

std::vector<MapMonster> monstersOnMap(const SpawnTable& spawns, const MonsterTable& monsters, int map) {
    std::map<std::int32_t, MapMonster> found;
    for (int i = 0; i < spawns.count; ++i) {
        const SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
        if (spot.spotid == -1 || spot.mapnumber != map) continue;
        MapMonster& monster = found[spot.monsterid];
        monster.number = spot.monsterid;
        ++monster.spots;
        monster.count += spot.ispoint ? 1 : spot.count;
    }
    std::vector<MapMonster> rows;
    rows.reserve(found.size());
    for (auto& [number, monster] : found) {
        monster.name = textFromBytes(monsters.getmonsterbyid(number).name);
        rows.push_back(std::move(monster));
    }
    return rows;
}

bool monsterMatches(const MapMonster& monster, const QString& filter) {
    const QString wanted = filter.trimmed();
    return wanted.isEmpty() || monster.name.contains(wanted, Qt::CaseInsensitive) ||
           wanted == QString::number(monster.number);
}

OverviewMonsters::OverviewMonsters(QObject* parent)
    : ReportModel({{"No.", 58}, {"Name", 130}, {"Spots", 44, true}, {"Count", 44, true}}, parent) {}

void OverviewMonsters::setRows(std::vector<MapMonster> rows) {
    const bool sameMonsters = std::equal(rows.begin(), rows.end(), rows_.begin(), rows_.end(),
                                         [](const MapMonster& a, const MapMonster& b) { return a.number == b.number; });
    if (!sameMonsters) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        return;
    }
    if (rows == rows_) return;
    rows_ = std::move(rows);
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void OverviewMonsters::setShown(std::int32_t number, bool shown) { setShown(std::vector<std::int32_t>{number}, shown); }

void OverviewMonsters::setShown(const std::vector<std::int32_t>& numbers, bool shown) {
    bool changed = false;
    for (const std::int32_t number : numbers) changed |= shown ? hidden_.erase(number) > 0 : hidden_.insert(number).second;
    if (!changed) return;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
    if (shownChanged) shownChanged();
}

int OverviewMonsters::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QString OverviewMonsters::text(int r, int column) const {
    const MapMonster& monster = row(r);
    switch (column) {
    case 0: return QString::number(monster.number);
    case 1: return monster.name;
    case 2: return QString::number(monster.spots);
    default: return QString::number(monster.count);
    }
}

QVariant OverviewMonsters::data(const QModelIndex& index, int role) const {
    if (role == Qt::CheckStateRole && index.isValid() && index.column() == 0 && index.row() < rowCount())
        return shown(row(index.row()).number) ? Qt::Checked : Qt::Unchecked;
    return ReportModel::data(index, role);
}

bool OverviewMonsters::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return false;
    setShown(row(index.row()).number, value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags OverviewMonsters::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = ReportModel::flags(index);
    if (index.isValid() && index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
}
