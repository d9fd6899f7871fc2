#pragma once
// The overview's side list: the monsters with spots on the map, each with its number of
// spots and of monsters (a point brings one, a range its count), ticked while its spots
// are drawn. What is ticked off stays off when the map changes.

#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include <QString>

#include "MonsterTable.h"
#include "ReportList.h"
#include "SpawnTable.h"

struct MapMonster {
    std::int32_t number = 0;
    QString name;
    int spots = 0;
    int count = 0;
    bool operator==(const MapMonster&) const = default;
};

// The monsters of the live spots on the map, by number.
std::vector<MapMonster> monstersOnMap(const SpawnTable& spawns, const MonsterTable& monsters, int map);

// The filter field's rule: the text anywhere in the name, in any case, or the number.
bool monsterMatches(const MapMonster& monster, const QString& filter);

class OverviewMonsters final : public ReportModel {
public:
    explicit OverviewMonsters(QObject* parent = nullptr);

    // Rows of the same monsters keep their place and only change their counts.
    void setRows(std::vector<MapMonster> rows);
    const MapMonster& row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    bool shown(std::int32_t number) const { return !hidden_.contains(number); }
    void setShown(std::int32_t number, bool shown);
    // Ticks these monsters on or off at once ("All", "None"): told once.
    void setShown(const std::vector<std::int32_t>& numbers, bool shown);
    // Told when a tick changed which monsters are drawn.
    std::function<void()> shownChanged;

    int rowCount(const QModelIndex& parent = {}) const override;
    QString text(int row, int column) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<MapMonster> rows_;
    std::set<std::int32_t> hidden_;
};
