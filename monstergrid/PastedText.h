#pragma once
// Text as spreadsheets and scripts put it on the clipboard, as rows of cells. Lines end
// with CR LF, LF or CR, the last with one or none; cells are parted by tabs. A cell that
// starts with a double quote runs to the quote that closes it, as CSV and TSV writers
// quote a cell: a doubled quote inside is one quote, and tabs and line ends inside belong
// to the cell. Blanks around a cell are no part of it. Columns at the right and rows at
// the end that hold nothing are left out, since a spreadsheet writes them for an empty
// column or row taken into a selection.
//
// The text is read in one pass. Only the cells of its first rows and columns are kept,
// as views of the text, as many as the caller can use; the rest are counted. So a paste
// of any size costs little more than one look at each character, and memory for the
// cells kept alone.

#include <cstddef>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include <QString>
#include <QStringView>

class PastedText {
public:
    // The text must outlive the object. Cells are kept in rows below keptRows and
    // columns below keptColumns.
    PastedText(QStringView text, int keptRows, int keptColumns);

    int rows() const { return rows_; }
    // The columns of the widest row, less those at the right that hold nothing anywhere.
    int columns() const { return columns_; }
    // How many cells a kept row has in the text (it may have fewer than columns()); 0
    // for a row not kept.
    int cellsIn(int row) const;

    // What a kept cell holds with its quotes undone and its blanks dropped; at most
    // `most` characters of it. Empty for a cell not kept.
    QString text(int row, int column, qsizetype most = std::numeric_limits<qsizetype>::max()) const;
    // The same as it stands in the text between its quotes (a doubled quote still
    // doubled): enough for reading a number, which holds no quote, without a copy.
    QStringView view(int row, int column) const;

    // A cell whose opening quote is never closed: it runs to the end of the text.
    struct OpenQuote {
        int row = 0;
        int column = 0;
        QStringView content;  // after the quote
    };
    std::optional<OpenQuote> unclosedQuote() const { return unclosed_; }

private:
    struct Cell {
        QStringView content;  // between the quotes, blanks dropped
        bool doubledQuotes = false;
    };
    const Cell* cell(int row, int column) const;

    int keptRows_;
    int keptColumns_;
    std::vector<Cell> cells_;            // the kept cells, row by row
    std::vector<std::size_t> rowStart_;  // each kept row's first cell in cells_
    std::vector<int> rowCells_;          // each kept row's cells in the text, kept or not
    int rows_ = 0;
    int columns_ = 0;
    std::optional<OpenQuote> unclosed_;
};

// A cell or line quoted in a message: its first kQuotedLength characters and "…" when it
// is longer, every character shown (a tab as \t, a control character as \xNN).
inline constexpr qsizetype kQuotedLength = 40;
QString quotedForMessage(QStringView text);
