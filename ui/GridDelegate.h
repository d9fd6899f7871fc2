#pragma once
// Draws the cell borders of a report-style list, so it reads as a grid: a line on the
// right and at the bottom of every cell, in kGridLineColour.
//
// A plain cell (an icon on the left and one line of text that fits) is drawn as the
// style draws it, but with its text laid out once: the style lays a cell's text out
// five times, three of them only to place the icon and the text, which in a column of
// equal cells sit in the same places in every cell, so they are asked of the style
// once a column. Any other cell is left to the style.

#include <QRect>
#include <QSize>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QVector>

class GridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    // Where the style puts the icon and the text of a column's cells, relative to the cell.
    struct Places {
        QSize cell;
        QSize decorationSize;
        QStyleOptionViewItem::ViewItemFeatures features;
        Qt::Alignment decorationAlignment;
        bool hasIcon = false;
        QRect icon;
        QRect text;
    };

    bool paintPlainCell(QPainter* painter, const QStyleOptionViewItem& cell, int column) const;
    const Places& placesFor(const QStyleOptionViewItem& cell, int column) const;

    mutable QVector<Places> places_;  // by column
};
