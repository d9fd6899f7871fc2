#pragma once
// The monster table's grid: cells edited as in a spreadsheet (typing starts an edit with
// what is typed, F2 edits what is there, Return stores it and goes to the cell below,
// Escape drops it), each in the control its field has on the stats page: a bounded
// number field, or the move range's list of entries.

#include <functional>

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

// The grid's headers, measured once from the widest text they can show rather than
// from the texts of their first and last hundred sections: the columns' captions, and
// the rows' line numbers in the file.
class MeasuredHeader final : public QHeaderView {
    Q_OBJECT
public:
    MeasuredHeader(Qt::Orientation orientation, QWidget* parent);
    QSize sizeHint() const override;
    // The rows' header shows numbers up to this, whichever rows are shown: a row keeps
    // its line in the file when a filter leaves fewer rows than that line's number. Set
    // before the view is first laid out.
    void setLargestNumber(int largest);

private:
    int largestNumber_ = 0;
};

class GridView final : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    MeasuredHeader* rowHeader() const { return static_cast<MeasuredHeader*>(verticalHeader()); }

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
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    Store store_;
};
