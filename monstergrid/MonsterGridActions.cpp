// What the monster table does with its cells: a typed value stored, many cells
// changed at once, copied and pasted, and the file saved; each change one step of the
// monster table's history. The window's layout is in MonsterGridWindow.cpp.

#include "MonsterGridWindow.h"

#include <algorithm>
#include <set>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

#include "ByteText.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "GridClipboard.h"
#include "GridColumns.h"
#include "GridView.h"
#include "MessageBoxes.h"
#include "MonsterGridModel.h"
#include "SaveQuestion.h"
#include "SpinField.h"

namespace {

QString plural(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

QString percentText(long long hundredths) {
    QString percent = QString::number(std::abs(hundredths) / 100);
    if (const long long rest = std::abs(hundredths) % 100; rest != 0)
        percent += QStringLiteral(".%1").arg(rest, 2, 10, QLatin1Char('0'));
    return hundredths < 0 ? QLatin1Char('-') + percent : percent;
}

// How a change of cells reads: "multiply 14 cells of HP by 120 %" as a step of the
// history, "Multiplied 14 cells of HP by 120 %" once done.
QString changeText(const ValueChange& change, const QString& cells, bool done) {
    switch (change.kind) {
    case ValueChangeKind::Set:
        return (done ? QStringLiteral("Set %1 to %2") : QStringLiteral("set %1 to %2")).arg(cells).arg(change.amount);
    case ValueChangeKind::Add:
        return (done ? QStringLiteral("Added %1 to %2") : QStringLiteral("add %1 to %2")).arg(change.amount).arg(cells);
    case ValueChangeKind::Multiply:
        break;
    }
    return (done ? QStringLiteral("Multiplied %1 by %2 %") : QStringLiteral("multiply %1 by %2 %"))
        .arg(cells, percentText(change.amount));
}

QString boundsText(const MonsterField& field) {
    return QStringLiteral("%1..%2").arg(field.lower).arg(field.upper);
}

QString monsterText(const MonsterTable& table, int monster) {
    const MonsterDataRecord& record = table.monsters[static_cast<std::size_t>(monster)];
    return QStringLiteral("%1 (%2)").arg(textFromBytes(record.name)).arg(record.id);
}

}  // namespace

void MonsterGridWindow::showStatus(const QString& text) { status_->setText(text); }

void MonsterGridWindow::showCount() {
    const int all = model_->monsterCount();
    const int shown = model_->rowCount();
    count_->setText(shown == all ? plural(all, "monster", "monsters")
                                 : QStringLiteral("%1 of %2").arg(shown).arg(plural(all, "monster", "monsters")));
}

void MonsterGridWindow::storeTypedCell(const QModelIndex& cell, const QString& typed) {
    reportErrors(this, [&] {
        const GridColumn& column = gridColumn(cell.column());
        const MonsterField* field = column.monsterField();
        if (!field || !cell.isValid() || refusedWhileLocked()) return;
        const int monster = model_->monsterAt(cell.row());
        const QString who = monsterText(document_.monsters(), monster);
        const QString caption = column.caption();
        const QString text = typed.trimmed();
        const auto value = SpinField::parseWhole(text);
        if (!value) {
            showStatus(QStringLiteral("%1 of %2 stays as it was: the cell was left without a number.").arg(caption, who));
            return;
        }
        const FieldEdit edit{monster, column.field, *value};
        const EditPlan plan = planEdits(document_.monsters(), {&edit, 1});
        const std::int32_t stored = clampToField(*field, *value);
        QString done = plan.stores.empty() ? QStringLiteral("%1 of %2 is %3 already.")
                                           : QStringLiteral("%1 of %2 set to %3.");
        done = done.arg(caption, who).arg(stored);
        if (!plan.clamped.empty())
            done = QStringLiteral("%1 of %2: %3 is beyond %4, so %5 is stored.")
                       .arg(caption, who, text, boundsText(*field))
                       .arg(stored);
        storePlan(plan, QStringLiteral("set %1 of %2 to %3").arg(caption, who).arg(stored), done);
        if (!plan.clamped.empty())
            model_->setNote(monster, column.field,
                            QStringLiteral("You typed %1; the field takes %2, so %3 was stored.")
                                .arg(text, boundsText(*field))
                                .arg(stored));
    });
}

void MonsterGridWindow::storePlan(const EditPlan& plan, const QString& what, const QString& done) {
    document_.storeMonsters(plan.stores, what);
    // After the store, which clears the notes of the monsters it stores.
    const auto mark = [this](const std::vector<FieldEdit>& values, const char* note) {
        for (const FieldEdit& value : values) {
            const MonsterField& field = kMonsterFields[static_cast<std::size_t>(value.field)];
            model_->setNote(value.monster, value.field,
                            QString::fromLatin1(note).arg(value.value).arg(boundsText(field)).arg(clampToField(field, value.value)));
        }
    };
    mark(plan.clamped, "%1 was asked for; the field takes %2, so %3 was stored.");
    mark(plan.rewritten, "The file held %1, beyond the field's %2; the line was written anew with %3.");
    if (plan.rewritten.empty()) {
        showStatus(done);
        return;
    }
    showStatus(done + QStringLiteral(" Their lines were written anew with every value in its bounds, so %1 changed too: %2.")
                          .arg(plural(plan.rewritten.size(), "more value", "more values"), rewrittenValuesText(plan)));
}

std::vector<FieldEdit> MonsterGridWindow::selectedEdits(const ValueChange& change) const {
    std::vector<FieldEdit> edits;
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection()) {
        for (int c = range.left(); c <= range.right(); ++c) {
            const GridColumn& column = gridColumn(c);
            if (!column.editable()) continue;
            for (int row = range.top(); row <= range.bottom(); ++row) {
                const int monster = model_->monsterAt(row);
                const auto value = model_->fieldValue(monster, column.field);
                edits.push_back({monster, column.field, value ? changedValue(change, *value) : 0});
            }
        }
    }
    // A cell selected twice (ranges may overlap) is one cell.
    std::sort(edits.begin(), edits.end(), [](const FieldEdit& a, const FieldEdit& b) {
        return std::pair(a.monster, a.field) < std::pair(b.monster, b.field);
    });
    edits.erase(std::unique(edits.begin(), edits.end(),
                            [](const FieldEdit& a, const FieldEdit& b) {
                                return a.monster == b.monster && a.field == b.field;
                            }),
                edits.end());
    return edits;
}

namespace {

// The rows (or columns) the selection takes in, in order; without a selection, the
// current cell's.
std::vector<int> selectedAlong(const QTableView& grid, Qt::Orientation along) {
    const bool rows = along == Qt::Vertical;
    std::set<int> lines;
    for (const QItemSelectionRange& range : grid.selectionModel()->selection())
        for (int line = rows ? range.top() : range.left(); line <= (rows ? range.bottom() : range.right()); ++line)
            lines.insert(line);
    if (lines.empty() && grid.currentIndex().isValid())
        lines.insert(rows ? grid.currentIndex().row() : grid.currentIndex().column());
    return {lines.begin(), lines.end()};
}

}  // namespace

std::vector<int> MonsterGridWindow::selectedRows() const { return selectedAlong(*grid_, Qt::Vertical); }

std::vector<int> MonsterGridWindow::selectedColumns() const { return selectedAlong(*grid_, Qt::Horizontal); }

// "HP" or "HP, MP": the edited columns of the selection.
QString MonsterGridWindow::selectedFieldNames() const {
    QStringList names;
    for (const int c : selectedColumns())
        if (gridColumn(c).editable()) names << gridColumn(c).caption();
    return names.join(QStringLiteral(", "));
}

std::vector<int> MonsterGridWindow::selectedMonsters() const {
    std::set<int> monsters;
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) monsters.insert(model_->monsterAt(row));
    return {monsters.begin(), monsters.end()};
}

void MonsterGridWindow::selectMonsters(const std::vector<int>& monsters, int field) {
    reportErrors(this, [&] {
        std::vector<int> rows;
        for (const int monster : monsters)
            if (const int row = model_->rowOf(monster); row >= 0) rows.push_back(row);
        std::sort(rows.begin(), rows.end());
        const int column = gridColumnOfField(field);
        QItemSelection cells;  // one range for each run of rows
        for (std::size_t first = 0; first < rows.size();) {
            std::size_t last = first;
            while (last + 1 < rows.size() && rows[last + 1] <= rows[last] + 1) ++last;
            cells.select(model_->index(rows[first], column), model_->index(rows[last], column));
            first = last + 1;
        }
        QItemSelectionModel* selection = grid_->selectionModel();
        selection->select(cells, QItemSelectionModel::ClearAndSelect);
        if (rows.empty()) return;
        selection->setCurrentIndex(model_->index(rows.front(), column), QItemSelectionModel::NoUpdate);
        grid_->scrollTo(model_->index(rows.front(), column));
    });
}

void MonsterGridWindow::openChangeDialog() {
    reportErrors(this, [&] {
        if (refusedWhileLocked()) return;
        const std::size_t cells = selectedEdits({}).size();
        if (cells == 0) {
            showStatus(QStringLiteral("Select cells of the columns from LVL to Fire Rezist first: only they change."));
            return;
        }
        const QString what = QStringLiteral("%1 of %2").arg(plural(cells, "cell", "cells"), selectedFieldNames());
        auto* dialog = new ChangeCellsDialog(
            what, [this](const ValueChange& change) { return planEdits(document_.monsters(), selectedEdits(change)); },
            this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        changeDialog_ = dialog;
        connect(dialog, &QDialog::accepted, this, [this, dialog] {
            if (const auto change = dialog->change()) changeSelectedCells(*change);
        });
        dialog->open();
    });
}

void MonsterGridWindow::changeSelectedCells(const ValueChange& change) {
    reportErrors(this, [&] {
        if (refusedWhileLocked()) return;
        const std::vector<FieldEdit> edits = selectedEdits(change);
        if (edits.empty()) return;
        const EditPlan plan = planEdits(document_.monsters(), edits);
        const QString cells = QStringLiteral("%1 of %2").arg(plural(edits.size(), "cell", "cells"), selectedFieldNames());
        QString done = QStringLiteral("%1: %2 changed").arg(changeText(change, cells, true)).arg(plan.changed);
        if (!plan.clamped.empty()) done += QStringLiteral(", %1 pulled into the field's bounds").arg(plan.clamped.size());
        if (!plan.unreadable.empty())
            done += QStringLiteral(", %1 of lines that cannot be read in full left as they are").arg(plan.unreadable.size());
        storePlan(plan, changeText(change, cells, false), done + QLatin1Char('.'));
    });
}

void MonsterGridWindow::copySelection() {
    reportErrors(this, [&] {
        const std::vector<int> rows = selectedRows();
        const std::vector<int> columns = selectedColumns();
        if (rows.empty() || columns.empty()) return;
        QGuiApplication::clipboard()->setText(copiedCells(*model_, rows, columns));
        showStatus(QStringLiteral("Copied %1 of %2, with a header row.")
                       .arg(plural(rows.size(), "row", "rows"), plural(columns.size(), "column", "columns")));
    });
}

void MonsterGridWindow::pasteText(const QString& text) {
    reportErrors(this, [&] {
        if (refusedWhileLocked()) return;
        const PastedBlock block = readPastedBlock(*model_, text, {selectedRows(), selectedColumns()});
        if (!block.error.isEmpty()) {
            showStatus(block.error);
            messageBoxes().error(this, block.error);
            return;
        }
        const EditPlan plan = planEdits(document_.monsters(), block.edits);
        QString done = QStringLiteral("Pasted %1 in %2: %3 changed")
                           .arg(plural(block.cells, "value", "values"), plural(block.rows, "row", "rows"))
                           .arg(plan.changed);
        if (!plan.clamped.empty()) done += QStringLiteral(", %1 pulled into the field's bounds").arg(plan.clamped.size());
        storePlan(plan, QStringLiteral("paste %1").arg(plural(block.cells, "value", "values")), done + QLatin1Char('.'));
    });
}

void MonsterGridWindow::pasteClipboard() {
    reportErrors(this, [&] { pasteText(QGuiApplication::clipboard()->text()); });
}

void MonsterGridWindow::selectCurrentColumn() {
    reportErrors(this, [&] {
        if (grid_->currentIndex().isValid()) grid_->selectColumn(grid_->currentIndex().column());
    });
}

void MonsterGridWindow::saveMonsterFile() {
    reportErrors(this, [&] {
        if (refusedWhileLocked(QStringLiteral("saving data/monster.txt"))) return;
        if (document_.save(TableFile::Monsters, askBeforeOverwrite(this)))
            showStatus(QStringLiteral("Saved data/monster.txt."));
    });
}