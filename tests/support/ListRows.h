#pragma once
// What a report list shows, read through its model as the view reads it: row counts,
// cell texts and pictures, where a row is drawn, which rows are selected.

#include <algorithm>

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QRect>
#include <QString>
#include <QStringList>

inline int rowCount(const QAbstractItemView* list) { return list->model()->rowCount(); }

inline QModelIndex cell(const QAbstractItemView* list, int row, int column = 0) {
    return list->model()->index(row, column);
}

inline QString cellText(const QAbstractItemView* list, int row, int column) {
    return cell(list, row, column).data(Qt::DisplayRole).toString();
}

// Every cell of the row, left to right; empty when there is no such row.
inline QStringList rowTexts(const QAbstractItemView* list, int row) {
    QStringList texts;
    if (row < 0 || row >= rowCount(list)) return texts;
    for (int column = 0; column < list->model()->columnCount(); ++column) texts << cellText(list, row, column);
    return texts;
}

// The first column of every row.
inline QStringList captions(const QAbstractItemView* list) {
    QStringList texts;
    for (int row = 0; row < rowCount(list); ++row) texts << cellText(list, row, 0);
    return texts;
}

inline QIcon rowIcon(const QAbstractItemView* list, int row) {
    return cell(list, row).data(Qt::DecorationRole).value<QIcon>();
}

inline bool cellCentred(const QAbstractItemView* list, int row, int column) {
    return cell(list, row, column).data(Qt::TextAlignmentRole).toInt() == Qt::AlignCenter;
}

inline QString headerText(const QAbstractItemView* list, int column) {
    return list->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// Where the row is drawn, in the list's viewport.
inline QRect rowRect(const QAbstractItemView* list, int row) { return list->visualRect(cell(list, row)); }

// The selected rows, top to bottom.
inline QList<int> selectedRows(const QAbstractItemView* list) {
    QList<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}
