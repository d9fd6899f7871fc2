#pragma once
// Report-style lists: read-only, one selected row at a time, whole rows selected,
// columns of fixed widths that clicking does not sort or move. Each list is a view
// over a model of its rows, which makes nothing per row: a cell's text and picture are
// made when the view asks for them, for the rows it shows, so lists of thousands of
// rows fill at once.
//
// Lists (ui/ReportList.h): every report list is a `QTreeView` over a model of its rows, which makes
// nothing per row: a cell's text and picture are made when the view asks for them, for the rows it
// shows. The monster lists read the monster table (its numbers and names do not change after
// loading); the spot lists (spawns/SpawnRows.h) hold copies of the work-list entries they show,
// since the work list changes under them. A list is cleared as a `QTreeWidget` clears: the
// selection first, with its change told, then the rows. The spawn page's monster icons come from
// one pass over the spawn table (`haveposOfEach`).

#include <vector>

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

class QAbstractItemView;
class QTreeView;
class QWidget;

struct ReportColumn {
    const char* caption;
    int width;             // 0: the header's default
    bool centred = false;  // the caption and the column's cells
};

class ReportModel : public QAbstractTableModel {
public:
    ReportModel(std::vector<ReportColumn> columns, QObject* parent);

    const std::vector<ReportColumn>& columns() const { return columns_; }
    // The text of a cell; the first column's is the row's caption.
    virtual QString text(int row, int column) const = 0;
    // The picture in the row's first column; none by default.
    virtual QIcon icon(int row) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<ReportColumn> columns_;
};

// A list over the model, which it takes as its own. The list tracks the mouse without
// a button held.
QTreeView* makeReportList(QWidget* parent, const char* name, ReportModel* model);

// Gives the list's columns the widths its model names.
void setColumnWidths(QTreeView* list);

// The selected row, or -1 when none is.
int selectedRow(const QAbstractItemView* list);
// Makes the row current and selected, as a click on it does; a row that the list does
// not have changes nothing and gives false.
bool selectRow(QAbstractItemView* list, int row);
