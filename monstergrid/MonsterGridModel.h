#pragma once
// The rows of the monster table window: every monster of the document's table, in file
// order or sorted by a column, narrowed by the filter. A row's cells are read from the
// monster's stored line when the view first asks for them and kept until the line is
// stored again; opening the window makes nothing per row but its place in the order.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QAbstractTableModel>
#include <QRect>
#include <QString>

#include "GridColumns.h"

class EditorDocument;

class MonsterGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MonsterGridModel(const EditorDocument& document, QObject* parent = nullptr);
    ~MonsterGridModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The monster (its index in the table) shown in a row, and the row of a monster
    // (-1 when the filter hides it).
    int monsterAt(int row) const { return shown_[static_cast<std::size_t>(row)]; }
    int rowOf(int monster) const;
    int monsterCount() const { return static_cast<int>(order_.size()); }

    // The value a field's cell shows: its stored value pulled into the field's bounds
    // (the move range as stored); nothing where the line could not be read that far.
    std::optional<std::int32_t> fieldValue(int monster, int field) const;
    // Whether the monster's line was read in full, so that its cells can be changed.
    bool editable(int monster) const;
    // The cell's text as copied: what it shows, the move range as its number.
    QString copyText(int monster, int column) const;
    // Why the monster's line cannot be read in full; empty when it can.
    QString problem(int monster) const;

    // Sorting: by a column's values (numbers as numbers, cells with nothing last either
    // way, equal values in file order), or in file order (no column). The order stays
    // until it is asked for again: a changed value does not move its row.
    void sortRows(int column, Qt::SortOrder order);
    void showFileOrder();
    // A click on a column's header: ascending, again descending, a third time file order.
    void cycleSort(int column);
    int sortColumn() const { return sortColumn_; }  // -1: file order
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    // Keeps the rows whose name holds the text (any case) or whose number it is; an
    // empty text keeps every row.
    void setFilterText(const QString& text);
    const QString& filterText() const { return filter_; }

    // A note on one cell of one monster, shown in its tooltip and marked in colour until
    // the monster's line is stored again (a value pulled into its bounds).
    void setNote(int monster, int field, const QString& note);
    QString note(int monster, int field) const;

private:
    struct Row;
    const Row& row(int monster) const;
    QString otherText(int monster, int lineColumn) const;
    void monsterStored(int monster);
    void showChangedCell(int row, int column);
    void showChangedCells();
    void arrangeRows(const std::vector<int>& order);
    void showFiltered();  // shown_ and rowOf_ from order_ and the filter
    bool matchesFilter(int monster) const;

    const EditorDocument& document_;
    std::vector<int> order_;  // every monster, in the order sorted
    std::vector<int> shown_;  // the rows: order_ narrowed by the filter
    std::vector<int> rowOf_;  // by monster; -1 when hidden
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString filter_;
    mutable std::vector<std::unique_ptr<Row>> rows_;  // by monster, read when first asked for
    mutable std::vector<signed char> complete_;       // by monster: line read in full (1), not (0), not known (-1)
    std::unordered_map<long long, QString> notes_;    // by monster and field
    QRect changedCells_;  // columns and rows of cells changed since the views were last told
};
