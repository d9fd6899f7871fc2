#pragma once
// Report-style lists: read-only, one selected row at a time, whole
// rows selected, columns of fixed widths that clicking does not sort or move.

#include <initializer_list>
#include <utility>

#include <QList>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// Columns are (caption, width) pairs. The list tracks the mouse without a button held.
QTreeWidget* makeReportList(QWidget* parent, const char* name,
                            std::initializer_list<std::pair<const char*, int>> columns);
void centreColumnCaptions(QTreeWidget* list, std::initializer_list<int> columns);

// Rows are built first and handed over in one go when the batch ends; item by item
// is far slower for lists of thousands of rows.
class RowBatch {
public:
    explicit RowBatch(QTreeWidget* list);
    ~RowBatch();
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;
    void add(QTreeWidgetItem* row) { rows_.append(row); }

private:
    QTreeWidget* list_;
    QList<QTreeWidgetItem*> rows_;
};
