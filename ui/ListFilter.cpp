#include "ListFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QTreeView>

#include "EventHook.h"
#include "ReportList.h"

bool monsterMatchesFilter(const QString& name, long long number, const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return true;
    bool isNumber = false;
    const long long typed = wanted.toLongLong(&isNumber);
    return (isNumber && typed == number) || name.contains(wanted, Qt::CaseInsensitive);
}

bool rowMatchesFilter(const QTreeView* list, int row, int numberColumn, const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return true;
    const QAbstractItemModel* model = list->model();
    bool isNumber = false;
    const qlonglong number = wanted.toLongLong(&isNumber);
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString cell = model->index(row, column).data(Qt::DisplayRole).toString();
        if (column == numberColumn) {
            bool cellIsNumber = false;
            if (isNumber && cell.toLongLong(&cellIsNumber) == number && cellIsNumber) return true;
        } else if (cell.contains(wanted, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

namespace {

void applyFilter(QTreeView* list, int numberColumn, const QString& text, bool reselect) {
    const int rows = list->model()->rowCount();
    const int selected = selectedRow(list);
    int firstShown = -1;
    list->setUpdatesEnabled(false);
    for (int row = 0; row < rows; ++row) {
        const bool shown = rowMatchesFilter(list, row, numberColumn, text);
        if (list->isRowHidden(row, {}) == shown) list->setRowHidden(row, {}, !shown);
        if (shown && firstShown < 0) firstShown = row;
    }
    list->setUpdatesEnabled(true);
    if (!reselect) return;
    if (selected >= 0 && !list->isRowHidden(selected, {})) {
        list->scrollTo(list->model()->index(selected, 0));
    } else if (firstShown >= 0) {
        selectRow(list, firstShown);
        list->scrollTo(list->model()->index(firstShown, 0));
    } else if (selected >= 0) {
        list->selectionModel()->clear();
    }
}

int firstShownRow(const QTreeView* list) {
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (!list->isRowHidden(row, {})) return row;
    return -1;
}

// Into the list with its chosen row current; with none chosen, Enter chooses the first
// row left, while Down only makes it current.
void goIntoList(QTreeView* list, bool choose) {
    const int selected = selectedRow(list);
    if (selected < 0 || list->isRowHidden(selected, {})) {
        const int first = firstShownRow(list);
        if (first < 0) return;
        if (choose)
            selectRow(list, first);
        else
            list->selectionModel()->setCurrentIndex(list->model()->index(first, 0), QItemSelectionModel::NoUpdate);
    }
    list->setFocus(Qt::TabFocusReason);
}

}  // namespace

QLineEdit* makeListFilter(QWidget* parent, const char* name, QTreeView* list, int numberColumn) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setPlaceholderText(QStringLiteral("Find a monster: name or number"));
    field->setAccessibleName(QStringLiteral("Find a monster"));
    QObject::connect(field, &QLineEdit::textChanged, list,
                     [list, numberColumn](const QString& text) { applyFilter(list, numberColumn, text, true); });
    // The list is filled anew after loading: the filter holds for the new rows too.
    QObject::connect(list->model(), &QAbstractItemModel::modelReset, list,
                     [list, field, numberColumn] { applyFilter(list, numberColumn, field->text(), false); });
    new EventHook(field, [field, list](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            if (field->text().isEmpty()) return false;
            field->clear();
            return true;
        case Qt::Key_Down:
            goIntoList(list, false);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            goIntoList(list, true);
            return true;
        default:
            return false;
        }
    });
    return field;
}

void revealRow(QLineEdit* filter, QTreeView* list, int row) {
    if (row >= 0 && row < list->model()->rowCount() && list->isRowHidden(row, {})) filter->clear();
}
