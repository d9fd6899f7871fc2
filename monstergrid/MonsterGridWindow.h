#pragma once
// The monster table window: every monster as a row of a grid, sortable by any column and
// narrowed by a filter; cells changed one at a time in place, many at once ("Change...")
// or pasted from a spreadsheet. Every change goes to the document as one step of the
// monster table's history, so the stats page and every other view follow, and a saved
// monster is written as the stats page's "OK" writes it.

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
