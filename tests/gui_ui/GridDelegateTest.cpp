#include <QPainter>
#include <QPixmap>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <gtest/gtest.h>

#include "Colours.h"
#include "GridDelegate.h"

namespace {

// The grid as the style alone draws its cells.
class StyleDrawnGrid final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(kGridLineColour);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

// The delegate draws plain cells itself: every cell, plain or not, must come out as the
// style draws it, pixel for pixel.
TEST(GridDelegate, DrawsEveryCellAsTheStyleDoes) {
    QPixmap mark(16, 16);
    mark.fill(Qt::darkRed);
    QStandardItemModel model(0, 2);
    const struct {
        bool icon;
        const char* first;
        const char* second;
    } rows[] = {
        {true, "0", "Lamplighter Orrin"},                          // selected below
        {true, "12", "A name far too long to fit in its column"},  // shortened by the style
        {false, "105", "Widow Tessaly"},
        {false, "", "\xc3\x84sh H\xc3\xb6und"},
        {true, "65535", "x"},
    };
    for (const auto& row : rows) {
        auto* first = new QStandardItem(QString::fromUtf8(row.first));
        if (row.icon) first->setIcon(QIcon(mark));
        model.appendRow({first, new QStandardItem(QString::fromUtf8(row.second))});
    }
    for (const bool enabled : {true, false}) {
        QTreeView view;
        view.setModel(&model);
        view.setRootIsDecorated(false);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setColumnWidth(0, 52);
        view.setColumnWidth(1, 110);
        view.resize(220, 160);
        view.selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view.setCurrentIndex(model.index(2, 1));
        view.setEnabled(enabled);
        view.setItemDelegate(new GridDelegate(&view));
        const QImage drawn = view.grab().toImage();
        view.setItemDelegate(new StyleDrawnGrid(&view));
        EXPECT_EQ(drawn, view.grab().toImage()) << (enabled ? "enabled" : "disabled");
    }
}

}  // namespace
