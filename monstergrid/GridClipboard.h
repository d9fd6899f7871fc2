#pragma once
// Cells to and from a spreadsheet as tab-separated text. A copy is the rows and columns
// that hold a selected cell, under a header row of the columns' captions, so that a
// spreadsheet takes it as a table and a paste knows the columns again. A paste takes text
// as spreadsheets and scripts write it (PastedText.h) and is read whole before anything
// changes: one value that is not a whole number, or a block that does not fit where it
// goes, and nothing is pasted; the message names the first cell at fault by its row and
// column in the pasted text and the text found there (its beginning, when it is long).

#include <vector>

#include <QString>

#include "MonsterEdits.h"

class MonsterGridModel;

// rows are rows of the model (top to bottom), columns grid columns (left to right).
QString copiedCells(const MonsterGridModel& model, const std::vector<int>& rows, const std::vector<int>& columns);

// Where a paste goes: the rows and columns that hold a selected cell, as for a copy.
// A block goes onto the selected rows one for one; from a single selected row it runs
// down, and a block of one row goes onto every selected row. With a header row each
// block column goes to the column it names (its caption, in any case; any columns in
// any order, each once); without one, onto the selected columns one for one, or from a
// single selected column to the right.
struct PasteTarget {
    std::vector<int> rows;
    std::vector<int> columns;
};

struct PastedBlock {
    std::vector<FieldEdit> edits;  // empty when error is not
    int rows = 0;                  // rows of values (the header not counted)
    int cells = 0;                 // values of edited columns
    QString error;
};

// Number, name and unedited columns may be pasted too, as long as each holds what the
// row's monster has there: a block pasted onto other monsters than it was copied from
// is refused rather than written over them.
PastedBlock readPastedBlock(const MonsterGridModel& model, const QString& text, const PasteTarget& target);
