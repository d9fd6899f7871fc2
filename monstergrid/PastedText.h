#pragma once
// Text as spreadsheets and scripts put it on the clipboard, as rows of cells. Lines end
// with CR LF, LF or CR, the last with one or none; cells are parted by tabs. A cell that
// starts with a double quote runs to the quote that closes it, as CSV and TSV writers
// quote a cell: a doubled quote inside is one quote, and tabs and line ends inside belong
// to the cell. Blanks around a cell are no part of it. Columns at the right and rows at
// the end that hold nothing are left out, since a spreadsheet writes them for an empty
// column or row taken into a selection.
//
// The text is read in one pass and its cells are kept as views of it, so that a huge
// paste costs little more than one look at each character.

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QStringView>

class PastedText {
public:
    // The text must outlive the object.
    explicit PastedText(QStringView text);

    int rows() const { return rows_; }
    // The columns of the widest row, less those at the right that hold nothing anywhere.
    int columns() const { return columns_; }
    // How many cells the row has in the text (it may have fewer than columns()).
    int cellsIn(int row) const;

    // What the cell holds with its quotes undone and its blanks dropped; at most `most`
    // characters of it.
    QString text(int row, int column, qsizetype most = -1) const;
    // The same as it stands in the text between its quotes (a doubled quote still
    // doubled): enough for reading a number, which holds no quote, without a copy.
    QStringView view(int row, int column) const;
    bool holdsNothing(int row, int column) const { return view(row, column).isEmpty(); }
    // The row and column of a cell whose opening quote is never closed (it runs to the
    // end of the text); nothing when every quote is closed.
    std::optional<std::pair<int, int>> unclosedQuote() const;

private:
    struct Cell {
        QStringView content;  // between the quotes, blanks dropped
        bool doubledQuotes = false;
        bool closed = true;
    };
    const Cell* cell(int row, int column) const;

    std::vector<Cell> cells_;            // row by row
    std::vector<std::size_t> rowStart_;  // the first cell of each row in cells_, then the end
    int rows_ = 0;
    int columns_ = 0;
};

// A cell or line quoted in a message: its first kQuotedLength characters and "…" when it
// is longer, every character shown (a tab as \t, a control character as \xNN).
inline constexpr qsizetype kQuotedLength = 40;
QString quotedForMessage(QStringView text);
