#pragma once
// Draws the cell borders of a report-style list, so it reads as a grid: a line on the
// right and at the bottom of every cell, in kGridLineColour.

#include <QStyledItemDelegate>

class GridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
