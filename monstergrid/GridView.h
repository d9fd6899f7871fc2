#pragma once
// The monster table's grid: cells edited as in a spreadsheet (typing starts an edit with
// what is typed, F2 edits what is there, Return stores it and goes to the cell below,
// Escape drops it), each in the control its field has on the stats page: a bounded
// number field, or the move range's list of entries.

#include <functional>

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

#include "GridDelegate.h"

// The rows' header: each row's line in the file. Its width is that of the largest line
// number, measured once, not from the first and last hundred rows' texts.
class LineNumberHeader final : public QHeaderView {
    Q_OBJECT
public:
    explicit LineNumberHeader(QWidget* parent);
    QSize sizeHint() const override;
};

class GridView final : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

// Hands what an editor holds to `store` instead of to the model: the window stores it
// through the document, and says when a value had to be pulled into its bounds.
class FieldCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The cell, and what its editor holds: the typed text, or the chosen entry's number.
    using Store = std::function<void(const QModelIndex& cell, const QString& text)>;
    FieldCellDelegate(Store store, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // As the report lists draw their cells: grid lines, and plain text laid out once.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Store store_;
    GridDelegate cells_;
};
