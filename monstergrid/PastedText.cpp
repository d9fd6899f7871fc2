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
        if (next_ != text_.size() && next_ < at) {
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

PastedText::PastedText(QStringView text) {
    const qsizetype size = text.size();
    NextOf tab(text, u'\t');
    NextOf cr(text, u'\r');
    NextOf lf(text, u'\n');
    NextOf quote(text, u'"');
    const auto cellEnd = [&](qsizetype at) { return std::min({tab.from(at), cr.from(at), lf.from(at)}); };

    rowStart_.push_back(0);
    int lastFilledRow = -1;
    for (qsizetype at = 0;;) {
        Cell cell;
        qsizetype end = 0;
        if (at < size && text[at] == u'"') {
            qsizetype close = at + 1;
            while ((close = quote.from(close)) < size && close + 1 < size && text[close + 1] == u'"') {
                cell.doubledQuotes = true;
                close += 2;
            }
            if (close >= size) {
                cell.content = text.sliced(at + 1).trimmed();
                cell.closed = false;
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
        cells_.push_back(cell);
        const auto row = static_cast<int>(rowStart_.size()) - 1;
        const auto column = static_cast<int>(cells_.size() - rowStart_.back());
        if (!cell.content.isEmpty() || !cell.closed) {
            columns_ = std::max(columns_, column);
            lastFilledRow = row;
        }
        if (end >= size) break;
        if (text[end] != u'\t') {  // a line end: CR LF, LF or CR
            end += text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n' ? 2 : 1;
            if (end >= size) break;
            rowStart_.push_back(cells_.size());
        } else {
            ++end;
        }
        at = end;
    }
    rows_ = lastFilledRow + 1;
}

int PastedText::cellsIn(int row) const {
    if (row < 0 || row >= rows_) return 0;
    const auto next = static_cast<std::size_t>(row) + 1;
    const std::size_t end = next < rowStart_.size() ? rowStart_[next] : cells_.size();
    return static_cast<int>(end - rowStart_[static_cast<std::size_t>(row)]);
}

const PastedText::Cell* PastedText::cell(int row, int column) const {
    if (column < 0 || column >= cellsIn(row)) return nullptr;
    return &cells_[rowStart_[static_cast<std::size_t>(row)] + static_cast<std::size_t>(column)];
}

QStringView PastedText::view(int row, int column) const {
    const Cell* found = cell(row, column);
    return found ? found->content : QStringView();
}

QString PastedText::text(int row, int column, qsizetype most) const {
    const Cell* found = cell(row, column);
    if (!found) return {};
    if (most < 0) most = found->content.size();
    if (!found->doubledQuotes) return found->content.first(std::min(most, found->content.size())).toString();
    QString text;
    for (qsizetype i = 0; i < found->content.size() && text.size() < most; ++i) {
        text += found->content[i];
        if (found->content[i] == u'"') ++i;  // the second quote of a pair
    }
    return text;
}

std::optional<std::pair<int, int>> PastedText::unclosedQuote() const {
    if (cells_.empty() || cells_.back().closed || rows_ == 0) return std::nullopt;
    const int row = static_cast<int>(rowStart_.size()) - 1;
    return std::pair(row, cellsIn(row) - 1);
}

QString quotedForMessage(QStringView text) {
    qsizetype length = std::min(text.size(), kQuotedLength);
    if (length < text.size() && length > 0 && text[length - 1].isHighSurrogate()) --length;  // a whole character
    const std::string shown = visibleText(text.first(length).toUtf8().toStdString());
    return QLatin1Char('"') + QString::fromStdString(shown) + (length < text.size() ? QStringLiteral("\u2026\"") : QStringLiteral("\""));
}
