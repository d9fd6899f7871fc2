#include "ReportList.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>

QTreeWidget* makeReportList(QWidget* parent, const char* name,
                            std::initializer_list<std::pair<const char*, int>> columns) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    QStringList labels;
    for (const auto& column : columns) labels << QString::fromLatin1(column.first);
    list->setHeaderLabels(labels);
    int i = 0;
    for (const auto& column : columns) list->setColumnWidth(i++, column.second);
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

void centreColumnCaptions(QTreeWidget* list, std::initializer_list<int> columns) {
    for (int c : columns) list->headerItem()->setTextAlignment(c, Qt::AlignCenter);
}

RowBatch::RowBatch(QTreeWidget* list) : list_(list) { list_->setUpdatesEnabled(false); }

RowBatch::~RowBatch() {
    if (!rows_.isEmpty()) list_->addTopLevelItems(rows_);
    list_->setUpdatesEnabled(true);
}
