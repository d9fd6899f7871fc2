#include "ListFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>

#include "EventHook.h"
#include "ReportList.h"

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
    }
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
    new EventHook(field, [field](QEvent* event) {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape ||
            field->text().isEmpty())
            return false;
        field->clear();
        return true;
    });
    return field;
}
