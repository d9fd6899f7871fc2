#pragma once
// Draws the cell borders of a report-style list, so it reads as a grid.

#include <QStyledItemDelegate>

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
