#include "PastedText.h"

#include <algorithm>

#include "VisibleText.h"

namespace {

// The next place of one character at or after a place, looked for again only once the
// reading has passed the last one found: each character of the text is looked at once
// per kind of separator, with the toolkit's fast search.
class NextOf {
public:
    NextOf(QStringView text, char16_t c) : text_(text), c_(c) {}
    qsizetype from(qsizetype at) {
        if (next_ < at) {  // past the end it stays at the end, where no reading goes
            next_ = text_.indexOf(QChar(c_), at);
            if (next_ < 0) next_ = text_.size();
        }
        return next_;
    }

private:
    QStringView text_;
    char16_t c_;
    qsizetype next_ = -1;
};

}  // namespace

PastedText::PastedText(QStringView text, int keptRows, int keptColumns)
    : keptRows_(keptRows), keptColumns_(keptColumns) {
    const qsizetype size = text.size();
    NextOf tab(text, u'\t');
    NextOf cr(text, u'\r');
    NextOf lf(text, u'\n');
    NextOf quote(text, u'"');
    const auto cellEnd = [&](qsizetype at) { return std::min({tab.from(at), cr.from(at), lf.from(at)}); };

    int row = 0;
    qsizetype column = 0;
    int lastFilledRow = -1;
    const auto startRow = [&] {
        if (row >= keptRows_) return;
        rowStart_.push_back(cells_.size());
        rowCells_.push_back(0);
    };
    // `count` cells alike, the next of the row.
    const auto add = [&](const Cell& cell, qsizetype count, bool filled) {
        if (row < keptRows_) {
            for (qsizetype c = column; c < std::min<qsizetype>(column + count, keptColumns_); ++c) cells_.push_back(cell);
            rowCells_.back() = static_cast<int>(column + count);
        }
        column += count;
        if (filled) {
            columns_ = std::max(columns_, static_cast<int>(column));
            lastFilledRow = row;
        }
    };

    startRow();
    for (qsizetype at = 0;;) {
        if (at < size && text[at] == u'\t') {  // empty cells, each ended by a tab: a run at once
            qsizetype run = 1;
            while (at + run < size && text[at + run] == u'\t') ++run;
            add({}, run, false);
            at += run;
            continue;
        }
        Cell cell;
        qsizetype end = 0;
        bool open = false;
        if (at < size && text[at] == u'"') {
            qsizetype close = at + 1;
            while ((close = quote.from(close)) < size && close + 1 < size && text[close + 1] == u'"') {
                cell.doubledQuotes = true;
                close += 2;
            }
            if (close >= size) {
                cell.content = text.sliced(at + 1).trimmed();
                unclosed_ = OpenQuote{row, static_cast<int>(column), text.sliced(at + 1)};
                open = true;
                end = size;
            } else {
                end = cellEnd(close + 1);
                // Anything but blanks after the closing quote, and the quotes are the cell's own.
                if (text.sliced(close + 1, end - close - 1).trimmed().isEmpty()) {
                    cell.content = text.sliced(at + 1, close - at - 1).trimmed();
                } else {
                    cell.content = text.sliced(at, end - at).trimmed();
                    cell.doubledQuotes = false;
                }
            }
        } else {
            end = cellEnd(at);
            cell.content = text.sliced(at, end - at).trimmed();
        }
        add(cell, 1, open || !cell.content.isEmpty());
        if (end >= size) break;
        if (text[end] == u'\t') {
            at = end + 1;
            continue;
        }
        // A line end: CR LF, LF or CR.
        at = end + (text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n' ? 2 : 1);
        if (at >= size) break;
        ++row;
        column = 0;
        startRow();
    }
    rows_ = lastFilledRow + 1;
}

int PastedText::cellsIn(int row) const {
    if (row < 0 || row >= rows_ || row >= keptRows_) return 0;
    return rowCells_[static_cast<std::size_t>(row)];
}

const PastedText::Cell* PastedText::cell(int row, int column) const {
    if (column < 0 || column >= std::min(cellsIn(row), keptColumns_)) return nullptr;
    return &cells_[rowStart_[static_cast<std::size_t>(row)] + static_cast<std::size_t>(column)];
}

QStringView PastedText::view(int row, int column) const {
    const Cell* found = cell(row, column);
    return found ? found->content : QStringView();
}

QString PastedText::text(int row, int column, qsizetype most) const {
    const Cell* found = cell(row, column);
    if (!found) return {};
    if (!found->doubledQuotes) return found->content.first(std::min(most, found->content.size())).toString();
    QString text;
    for (qsizetype i = 0; i < found->content.size() && text.size() < most; ++i) {
        text += found->content[i];
        if (found->content[i] == u'"') ++i;  // the second quote of a pair
    }
    return text;
}

QString quotedForMessage(QStringView text) {
    qsizetype length = std::min(text.size(), kQuotedLength);
    if (length < text.size() && length > 0 && text[length - 1].isHighSurrogate()) --length;  // a whole character
    const std::string shown = visibleText(text.first(length).toUtf8().toStdString());
    return QLatin1Char('"') + QString::fromStdString(shown) + (length < text.size() ? QStringLiteral("\u2026\"") : QStringLiteral("\""));
}
