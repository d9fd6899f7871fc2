#include "ReportList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

ReportModel::ReportModel(std::vector<ReportColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

QIcon ReportModel::icon(int) const { return {}; }

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::DecorationRole:
        if (index.column() == 0) {
            QIcon picture = icon(index.row());
            if (!picture.isNull()) return picture;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (columns_[static_cast<std::size_t>(index.column())].centred) return int(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const ReportColumn& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromLatin1(column.caption);
    if (role == Qt::TextAlignmentRole && column.centred) return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QTreeView* makeReportList(QWidget* parent, const char* name, ReportModel* model) {
    auto* list = new QTreeView(parent);
    list->setObjectName(QString::fromLatin1(name));
    model->setParent(list);
    list->setModel(model);
    setColumnWidths(list);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->header()->setSectionsClickable(false);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    list->setMouseTracking(true);
    return list;
}

void setColumnWidths(QTreeView* list) {
    const auto* model = static_cast<const ReportModel*>(list->model());
    int i = 0;
    for (const ReportColumn& column : model->columns()) {
        if (column.width > 0) list->setColumnWidth(i, column.width);
        ++i;
    }
}

int selectedRow(const QAbstractItemView* list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool selectRow(QAbstractItemView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    if (!index.isValid()) return false;
    list->setCurrentIndex(index);
    list->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return true;
}
