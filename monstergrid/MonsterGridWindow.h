#pragma once
// The monster table window: every monster as a row of a grid, sortable by any column and
// narrowed by a filter; cells changed one at a time in place, many at once ("Change...")
// or pasted from a spreadsheet. Every change goes to the document as one step of the
// monster table's history, so the stats page and every other view follow, and a saved
// monster is written as the stats page's "OK" writes it.

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

signals:
    // The button beside the save button asks for the review of the save.
    void reviewRequested();

private:
    void buildStrip();
    void buildBody();
    // The selected cells of edited columns, as edits of `change`; `left` counts those of
    // lines that cannot be read in full.
    std::vector<FieldEdit> selectedEdits(const ValueChange& change) const;
    std::vector<int> selectedRows() const;
    std::vector<int> selectedColumns() const;
    QString selectedFieldNames() const;
    // Stores the plan as one step named `what`, marks the cells pulled into their bounds,
    // and says what happened.
    void storePlan(const EditPlan& plan, const QString& what, const QString& done);
    void showStatus(const QString& text);
    void showCount();
    // True, having said why, while locked.
    bool refusedWhileLocked();

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
    QPointer<ChangeCellsDialog> changeDialog_;
    QIcon savedIcon_;
    QIcon unsavedIcon_;
    int unfoldedHeight_ = 0;
    bool locked_ = false;
};
