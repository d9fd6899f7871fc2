#pragma once
// The rows of the spawn page's lists: every monster (allmonsterlist) and the spots
// of the chosen monster on the chosen map (pointlist, rangelist).

#include <array>
#include <cstdint>
#include <vector>

#include "ReportList.h"
#include "SpawnTable.h"
#include "SpotIcons.h"

class MonsterTable;

// One row per monster: caption = its number, then its name; ImageList1's picture
// says whether it has spawn entries.
class MonsterRows final : public ReportModel {
public:
    explicit MonsterRows(QObject* parent = nullptr);

    // Lists monsters 0 .. monstercount-1 of the table. The rows read the table's
    // numbers and names, which do not change after loading; the table outlives them.
    void fill(const MonsterTable& table, std::vector<bool> hasSpots);
    void clear();
    std::int32_t number(int row) const;
    QString name(int row) const;
    void setHasSpots(int row, bool hasSpots);

    int rowCount(const QModelIndex& parent = {}) const override;
    QString text(int row, int column) const override;
    QIcon icon(int row) const override;

private:
    const MonsterTable* table_ = nullptr;
    std::vector<bool> hasSpots_;  // one per row
    mutable std::array<QIcon, 2> imageList1_;  // drawn when first shown
};

// One row per spot, from a copy of its work-list entry: caption = the spot number,
// then the place and the rest (the columns of its kind); ImageList2's picture of its
// spot type.
class SpotRows final : public ReportModel {
public:
    enum class Kind { Points, Ranges };
    explicit SpotRows(Kind kind, QObject* parent = nullptr);

    void setRows(std::vector<SpawnEntry> rows);
    // Whether these are the rows' spots, in their order, maybe followed by others.
    bool extendsRows(const std::vector<SpawnEntry>& rows) const;
    // The rows' spots given these values, and the others added below them: only rows that
    // changed or came are drawn; false, changing nothing, unless extendsRows holds.
    bool updateRows(const std::vector<SpawnEntry>& rows);
    void clear();
    void removeRow(int row);
    const SpawnEntry& entry(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int rowOf(std::int32_t spotid) const;  // -1 when no row shows this spot

    int rowCount(const QModelIndex& parent = {}) const override;
    QString text(int row, int column) const override;
    QIcon icon(int row) const override;

private:
    Kind kind_;
    std::vector<SpawnEntry> rows_;
    mutable std::array<QIcon, kSpotTypeCount> imageList2_;  // each drawn when first shown
};
