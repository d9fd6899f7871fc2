#include "GridClipboard.h"

#include <algorithm>

#include <QStringList>

#include "GridColumns.h"
#include "MonsterGridModel.h"
#include "PastedText.h"
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

// The column a header cell names, in any case, or -1.
int columnNamed(QStringView name) {
    const auto& columns = gridColumns();
    const auto named = std::find_if(columns.begin(), columns.end(), [&](const GridColumn& column) {
        return name.compare(column.caption(), Qt::CaseInsensitive) == 0;
    });
    return named == columns.end() ? -1 : static_cast<int>(named - columns.begin());
}

// A first row is a header when it names a column and holds no number: a row of values
// holds a number, even where a monster's name happens to be a column's caption.
bool isHeader(const PastedText& text) {
    bool names = false;
    for (int j = 0; j < text.cellsIn(0); ++j) {
        if (SpinField::parseWhole(text.view(0, j))) return false;
        names = names || columnNamed(text.view(0, j)) >= 0;
    }
    return names;
}

QString shown(QStringView text) { return text.isEmpty() ? QStringLiteral("nothing") : quotedForMessage(text); }

// The message that names the first cell at fault; row and column count from 0.
QString fault(int row, int column, QStringView found, const QString& why) {
    return QStringLiteral("Nothing was pasted. Row %1, column %2 of the pasted text holds %3: %4.")
        .arg(row + 1)
        .arg(column + 1)
        .arg(shown(found), why);
}
QString fault(const PastedText& text, int row, int column, const QString& why) {
    return fault(row, column, text.text(row, column, kQuotedLength + 1), why);
}

}  // namespace

PastedBlock readPastedBlock(const MonsterGridModel& model, const QString& clipboard, const PasteTarget& target) {
    PastedBlock block;
    // A paste onto the table takes a header and a row for each monster at the most, in
    // the table's columns; a refusal names a cell one row or column past those at most.
    const PastedText text(clipboard, kMonsterCapacity + 2, kGridColumnCount + 1);
    if (text.rows() == 0 || target.rows.empty() || target.columns.empty()) {
        block.error = text.rows() == 0 ? QStringLiteral("Nothing was pasted: the clipboard holds no text.")
                                       : QStringLiteral("Nothing was pasted: no cell is selected.");
        return block;
    }
    if (const auto open = text.unclosedQuote()) {
        const QStringView content = open->content.trimmed();
        block.error = fault(open->row, open->column,
                            QLatin1Char('"') + content.first(std::min(content.size(), kQuotedLength)).toString(),
                            QStringLiteral("the quote that opens the cell is never closed"));
        return block;
    }
    const bool header = isHeader(text);
    const int first = header ? 1 : 0;  // the first row of values
    const int width = text.columns();

    // Where each column of the block goes.
    const auto selectedColumns = static_cast<int>(target.columns.size());
    if (!header && selectedColumns > 1 && selectedColumns != width) {
        const int at = std::min(width, selectedColumns);
        block.error = fault(text, 0, at, QStringLiteral("the block has %1 columns where %2 are selected").arg(width).arg(selectedColumns));
        return block;
    }
    std::vector<int> columns;
    std::vector<int> namedAt(kGridColumnCount, -1);  // the block column that names each column
    for (int j = 0; j < width; ++j) {
        if (header) {
            const int named = columnNamed(text.view(0, j));
            if (named < 0) {
                block.error = fault(text, 0, j,
                                    QStringLiteral("a header row names a column of the table by its caption above "
                                                   "each column of values, and this names none"));
                return block;
            }
            if (const int before = namedAt[static_cast<std::size_t>(named)]; before >= 0) {
                block.error = fault(text, 0, j,
                                    QStringLiteral("column %1 of the pasted text names \"%2\" already, and each column "
                                                   "of the table takes one column of values")
                                        .arg(before + 1)
                                        .arg(gridColumn(named).caption()));
                return block;
            }
            namedAt[static_cast<std::size_t>(named)] = j;
            columns.push_back(named);
            continue;
        }
        const int column = selectedColumns > 1 ? target.columns[static_cast<std::size_t>(j)] : target.columns.front() + j;
        if (column >= kGridColumnCount) {
            block.error = fault(text, 0, j, QStringLiteral("it falls beyond the table's last column"));
            return block;
        }
        columns.push_back(column);
    }

    // Where each row of the block goes.
    const int valueRows = text.rows() - first;
    if (valueRows == 0) {
        block.error = QStringLiteral("Nothing was pasted: the pasted text holds a header row and no values.");
        return block;
    }
    const auto selectedRows = static_cast<int>(target.rows.size());
    std::vector<int> targetRows;
    if (selectedRows == 1) {
        for (int i = 0; i < valueRows; ++i) {
            const int row = target.rows.front() + i;
            if (row >= model.rowCount()) {
                block.error = fault(text, first + i, 0, QStringLiteral("the table ends before this row"));
                return block;
            }
            targetRows.push_back(row);
        }
    } else if (valueRows == 1) {
        targetRows = target.rows;
    } else if (valueRows != selectedRows) {
        const int fits = std::min(valueRows, selectedRows);
        block.error = fault(text, first + fits, 0,
                            QStringLiteral("the block has %1 rows of values where %2 rows are selected")
                                .arg(valueRows)
                                .arg(selectedRows));
        return block;
    } else {
        targetRows = target.rows;
    }

    // Every cell, row by row; the first at fault stops the paste.
    for (int r = first; r < text.rows(); ++r) {
        const std::vector<int> onto = valueRows == 1 ? targetRows : std::vector<int>{targetRows[static_cast<std::size_t>(r - first)]};
        for (int c = 0; c < width; ++c) {
            if (c >= text.cellsIn(r)) {
                block.error = fault(text, r, c, QStringLiteral("other rows of the block have %1 columns").arg(width));
                return block;
            }
            const GridColumn& column = gridColumn(columns[static_cast<std::size_t>(c)]);
            for (const int row : onto) {
                const int monster = model.monsterAt(row);
                if (!column.editable()) {
                    const QString have = model.copyText(monster, columns[static_cast<std::size_t>(c)]);
                    if (text.text(r, c, have.size() + 1) == have) continue;
                    QString why;
                    if (column.kind == GridColumn::Kind::Number)
                        why = QStringLiteral("the monster of that row is number %1, and numbers are not changed here")
                                  .arg(have);
                    else if (column.kind == GridColumn::Kind::Name)
                        why = QStringLiteral("the monster of that row is %1, and names are not changed here")
                                  .arg(quotedForMessage(have));
                    else
                        why = QStringLiteral("column %1 of that monster's line holds %2, and it is not changed here")
                                  .arg(column.lineColumn)
                                  .arg(quotedForMessage(have));
                    block.error = fault(text, r, c, why);
                    return block;
                }
                if (!model.editable(monster)) {
                    block.error = fault(text, r, c,
                                        QStringLiteral("it goes onto line %1, which cannot be read in full and is not "
                                                       "changed here")
                                            .arg(monster + 1));
                    return block;
                }
                const auto value = SpinField::parseWhole(text.view(r, c));
                if (!value) {
                    block.error = fault(text, r, c, QStringLiteral("that is not a whole number"));
                    return block;
                }
                block.edits.push_back({monster, column.field, *value});
                ++block.cells;
            }
        }
    }
    block.rows = valueRows;
    return block;
}
