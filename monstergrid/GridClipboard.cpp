#include "GridClipboard.h"

#include <algorithm>

#include <QStringList>

#include "GridColumns.h"
#include "MonsterGridModel.h"
#include "SpinField.h"

QString copiedCells(const MonsterGridModel& model, const std::vector<int>& rows, const std::vector<int>& columns) {
    QStringList lines;
    QStringList header;
    for (const int column : columns) header << gridColumn(column).caption();
    lines << header.join(QLatin1Char('\t'));
    for (const int row : rows) {
        QStringList cells;
        for (const int column : columns) cells << model.copyText(model.monsterAt(row), column);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

namespace {

// The pasted text as rows of cells; a line break at the end starts no row.
std::vector<QStringList> blockRows(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    std::vector<QStringList> rows;
    for (const QString& line : lines) {
        QStringList cells = line.split(QLatin1Char('\t'));
        for (QString& cell : cells) cell = cell.trimmed();
        rows.push_back(cells);
    }
    return rows;
}

bool isHeader(const QStringList& cells) {
    for (const QString& cell : cells)
        if (gridColumnNamed(cell) < 0) return false;
    return true;
}

// The message that names the first cell at fault; row and column count from 1.
QString fault(int row, int column, const QString& found, const QString& why) {
    const QString text = found.isEmpty() ? QStringLiteral("nothing") : QLatin1Char('"') + found + QLatin1Char('"');
    return QStringLiteral("Nothing was pasted. Row %1, column %2 of the pasted text holds %3: %4.")
        .arg(row + 1)
        .arg(column + 1)
        .arg(text, why);
}

}  // namespace

PastedBlock readPastedBlock(const MonsterGridModel& model, const QString& text, const PasteTarget& target) {
    PastedBlock block;
    const std::vector<QStringList> rows = blockRows(text);
    if (rows.empty() || target.rows.empty() || target.columns.empty()) {
        block.error = rows.empty() ? QStringLiteral("Nothing was pasted: the clipboard holds no text.")
                                   : QStringLiteral("Nothing was pasted: no cell is selected.");
        return block;
    }
    const bool header = isHeader(rows.front());
    const std::size_t first = header ? 1 : 0;  // the first row of values
    const qsizetype width = rows.front().size();

    // Where each column of the block goes.
    const auto selectedColumns = static_cast<qsizetype>(target.columns.size());
    if (!header && selectedColumns > 1 && selectedColumns != width) {
        const qsizetype at = std::min(width, selectedColumns);
        block.error = fault(0, static_cast<int>(at), at < width ? rows.front()[at] : QString(),
                            QStringLiteral("the block has %1 columns where %2 are selected").arg(width).arg(selectedColumns));
        return block;
    }
    std::vector<int> columns;
    for (qsizetype j = 0; j < width; ++j) {
        const QString& cell = rows.front()[j];
        if (header) {
            const int named = gridColumnNamed(cell);
            if (!columns.empty() && named <= columns.back()) {
                block.error = fault(0, static_cast<int>(j), cell,
                                    QStringLiteral("that column stands before \"%1\" in the table, and a pasted "
                                                   "block keeps the table's order of columns")
                                        .arg(gridColumn(columns.back()).caption()));
                return block;
            }
            columns.push_back(named);
            continue;
        }
        const int column = selectedColumns > 1 ? target.columns[static_cast<std::size_t>(j)]
                                               : target.columns.front() + static_cast<int>(j);
        if (column >= kGridColumnCount) {
            block.error = fault(0, static_cast<int>(j), cell, QStringLiteral("it falls beyond the table's last column"));
            return block;
        }
        columns.push_back(column);
    }

    // Where each row of the block goes.
    const std::size_t valueRows = rows.size() - first;
    if (valueRows == 0) {
        block.error = QStringLiteral("Nothing was pasted: the pasted text holds a header row and no values.");
        return block;
    }
    std::vector<int> targetRows;
    if (target.rows.size() == 1) {
        for (std::size_t i = 0; i < valueRows; ++i) {
            const int row = target.rows.front() + static_cast<int>(i);
            if (row >= model.rowCount()) {
                block.error = fault(static_cast<int>(first + i), 0, rows[first + i].front(),
                                    QStringLiteral("the table ends before this row"));
                return block;
            }
            targetRows.push_back(row);
        }
    } else if (valueRows == 1) {
        targetRows = target.rows;
    } else if (valueRows != target.rows.size()) {
        const std::size_t fits = std::min(valueRows, target.rows.size());
        block.error = fault(static_cast<int>(first + fits), 0, valueRows > fits ? rows[first + fits].front() : QString(),
                            QStringLiteral("the block has %1 rows of values where %2 rows are selected")
                                .arg(valueRows)
                                .arg(target.rows.size()));
        return block;
    } else {
        targetRows = target.rows;
    }

    // Every cell, row by row; the first at fault stops the paste.
    for (std::size_t i = first; i < rows.size(); ++i) {
        const QStringList& cells = rows[i];
        const int r = static_cast<int>(i);
        if (cells.size() > width) {
            block.error = fault(r, static_cast<int>(width), cells[width],
                                QStringLiteral("the first row of the block has only %1 columns").arg(width));
            return block;
        }
        const std::vector<int> onto = valueRows == 1 ? targetRows : std::vector<int>{targetRows[i - first]};
        for (qsizetype j = 0; j < width; ++j) {
            const int c = static_cast<int>(j);
            if (j >= cells.size()) {
                block.error = fault(r, c, QString(), QStringLiteral("the first row of the block has %1 columns").arg(width));
                return block;
            }
            const QString& cell = cells[j];
            const GridColumn& column = gridColumn(columns[static_cast<std::size_t>(j)]);
            for (const int row : onto) {
                const int monster = model.monsterAt(row);
                const QString have = model.copyText(monster, columns[static_cast<std::size_t>(j)]);
                if (!column.editable()) {
                    if (cell == have) continue;
                    QString why;
                    if (column.kind == GridColumn::Kind::Number)
                        why = QStringLiteral("the monster of that row is number %1, and numbers are not changed here")
                                  .arg(have);
                    else if (column.kind == GridColumn::Kind::Name)
                        why = QStringLiteral("the monster of that row is \"%1\", and names are not changed here").arg(have);
                    else
                        why = QStringLiteral("column %1 of that monster's line holds \"%2\", and it is not changed here")
                                  .arg(column.lineColumn)
                                  .arg(have);
                    block.error = fault(r, c, cell, why);
                    return block;
                }
                if (!model.editable(monster)) {
                    block.error = fault(r, c, cell,
                                        QStringLiteral("it goes onto line %1, which cannot be read in full and is not "
                                                       "changed here")
                                            .arg(monster + 1));
                    return block;
                }
                const auto value = SpinField::parseWhole(cell);
                if (!value) {
                    block.error = fault(r, c, cell, QStringLiteral("that is not a whole number"));
                    return block;
                }
                block.edits.push_back({monster, column.field, *value});
                ++block.cells;
            }
        }
    }
    block.rows = static_cast<int>(valueRows);
    return block;
}
