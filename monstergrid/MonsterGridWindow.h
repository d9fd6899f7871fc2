#pragma once
// The monster table window: every monster as a row of a grid, sortable by any column and
// narrowed by a filter; cells changed one at a time in place, many at once ("Change...")
// or pasted from a spreadsheet. Every change goes to the document as one step of the
// monster table's history, so the stats page and every other view follow, and a saved
// monster is written as the stats page's "OK" writes it.
//
// The monster table window (monstergrid/) shows every monster as a row of a `QTableView` over
// `MonsterGridModel`, which holds only the rows' order (file order, or sorted by a column; narrowed
// by the filter) and reads a row's cells from its stored line when the view first asks for them,
// keeping them until the line is stored again. A sort, a change of a whole column and the question
// whether a cell may be edited read one field alone (`readMonsterField`), so no row is read whole
// that is not shown; a stored monster repaints only the cells that changed, once per change. Cells
// are drawn straight by the grid's delegate (background, one line of text, the current cell framed)
// with the view's own grid lines, and the headers are measured from their widest text once
// (`MeasuredHeader`), not from a hundred rows. What a change does is worked out before anything
// changes, in plain C++ (tables/MonsterEdits.h): `changedValue` (set, add, or multiply by a
// percentage in hundredths, rounded half away from zero in integers), and `planEdits`, which pulls
// each new value into its field's bounds with `clampToField`, leaves out cells that keep the value
// they show and lines that cannot be read in full, and gives each monster that changes with all its
// values as the stats page's "OK" stores them (`shownValues`: each in its bounds, a move range
// without an entry kept), and lists the values of those monsters' lines that lie beyond their
// bounds and no edit changes (`rewritten`): the rebuilt line pulls them in too, so "Change..."
// names them before "Apply" (`rewrittenValuesText`) and the window marks their cells. The document
// stores them in one step (`storeMonsters`, one `StoreMonstersCommand`), each line through
// `rebuildmonsterline`; every view follows `monsterStored`. Bounds are pulled in by one function,
// `clampToBounds` (tables/Numbers.h), which the spin fields (`SpinField`) and `clampToField` both
// use; a typed cell is a `SpinField` too, and its text is read as the stats page reads a field
// (`SpinField::parseWhole`), so is a pasted value. Copy and paste (monstergrid/GridClipboard.h)
// read a whole block before anything changes and name the first cell at fault. The pasted text is
// read by `PastedText` (monstergrid/PastedText.h) as spreadsheets and scripts write it (any line
// end, cells quoted as CSV and TSV writers quote them, empty columns and rows at the end left out)
// in one pass, its cells kept as views of the text, so a paste of 50 MB or a million lines costs
// about one look at each character (bench/paste_bench holds it to twice the reading of the same
// bytes as a table file); a quoted cell in a message is its first 40 characters
// (`quotedForMessage`). The window is made on first use by EditorWindows (Ctrl+T on the main
// window, `monsterTableRequested` from the stats page), first placed as the map overview is
// (`firstFrame`: as large as it may be, up to its own size, where it covers none of the main
// window's buttons), with the monster table's history keys. While the stats page is in its edit
// state the window changes nothing and its undo keys do nothing (`setLocked`, wired by
// EditorWindows as the history window's lock), since "OK" stores values read before.

#include <functional>
#include <utility>
#include <vector>

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include "ChangeCellsDialog.h"
#include "MonsterEdits.h"

class EditorDocument;
class GridView;
class MonsterGridModel;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

class MonsterGridWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MonsterGridWindow(EditorDocument& document, QWidget* parent = nullptr);
    ~MonsterGridWindow() override;

    // Shows the window above the others, with the keyboard on the grid.
    void open();
    // While the stats page edits a monster nothing is changed here, since its "OK"
    // stores values it read before; sorting, finding and copying go on.
    void setLocked(bool locked);
    bool locked() const { return locked_; }
    // Asked before a change or a save while locked, over this window, with what is about
    // to be done; true when the lock is gone and the action may go on (the stats page's
    // settleTypedValues).
    void setUnlocking(std::function<bool(QWidget* asker, const QString& action)> unlocking) {
        unlocking_ = std::move(unlocking);
    }

    GridView* grid() const { return grid_; }
    MonsterGridModel* model() const { return model_; }
    QLineEdit* filterField() const { return filter_; }
    QLabel* statusLine() const { return status_; }
    // The "Change..." dialog while it is open.
    ChangeCellsDialog* changeDialog() const { return changeDialog_.data(); }

    // What the operator's actions run; each reports its own failure.
    void storeTypedCell(const QModelIndex& cell, const QString& typed);
    void openChangeDialog();
    // Changes the selected cells of edited columns, as "Apply" in the dialog does.
    void changeSelectedCells(const ValueChange& change);
    void copySelection();
    void pasteText(const QString& text);
    void pasteClipboard();
    void selectCurrentColumn();
    void saveMonsterFile();
    void toggleFolded();
    // Shows the monster's row (the filter cleared when it hides it), on the field's cell
    // when one is given (an index of kMonsterFields), and opens the window.
    void showMonster(int monster, int field);

    // The monsters with a selected cell, in table order (the current cell alone is none).
    std::vector<int> selectedMonsters() const;
    // Selects the cells of a field (an index of kMonsterFields) of these monsters, as the
    // balance chart chose them; monsters the filter hides stay unselected.
    void selectMonsters(const std::vector<int>& monsters, int field);

signals:
    // The button beside the save button asks for the review of the save.
    void reviewRequested();
    // Ctrl+G or the "Balance..." button.
    void balanceRequested();
    void filterChanged(const QString& text);
    void selectedMonstersChanged(const std::vector<int>& monsters);

private:
    void buildStrip();
    void buildBody();
    // The selected cells of edited columns, as edits of `change`; `left` counts those of
    // lines that cannot be read in full.
    std::vector<FieldEdit> selectedEdits(const ValueChange& change) const;
    std::vector<int> selectedRows() const;
    std::vector<int> selectedColumns() const;
    QString selectedFieldNames() const;
    // Stores the plan as one step named `what`, marks the cells pulled into their bounds
    // (those asked for and those the rewritten lines pull in), and says what happened.
    void storePlan(const EditPlan& plan, const QString& what, const QString& done);
    void showStatus(const QString& text);
    void showCount();
    // True, having said why, while locked and the lock is kept; `action` says what
    // would be done for the question that may end the lock.
    bool refusedWhileLocked(const QString& action = QStringLiteral("changing the monster table"));

    EditorDocument& document_;
    MonsterGridModel* model_ = nullptr;
    QFrame* strip_ = nullptr;
    QLabel* caption_ = nullptr;
    QFrame* body_ = nullptr;
    GridView* grid_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* status_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QToolButton* changeButton_ = nullptr;
    QToolButton* balanceButton_ = nullptr;
    QPointer<ChangeCellsDialog> changeDialog_;
    QIcon savedIcon_;
    QIcon unsavedIcon_;
    int unfoldedHeight_ = 0;
    bool locked_ = false;
    std::function<bool(QWidget*, const QString&)> unlocking_;
};
