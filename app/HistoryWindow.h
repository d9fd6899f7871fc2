#pragma once
// The history of both files, one list each: every change by its name, the state the
// file holds on disk marked with the save picture. Choosing a row takes the file back,
// or forward, to that state, one undo or redo step at a time, so every view follows as
// it does for Ctrl+Z.
//
// The history window (app/HistoryWindow.h, Ctrl+H) is a `QUndoView` over each file's `QUndoStack`,
// with the save picture as its clean icon; choosing a row is the view's `setIndex`, so the steps
// are undone or redone one by one and every view follows the document's signals as for Ctrl+Z. A
// step's text names it twice: before the newline for the list ("Delete spot 5 of Goblin on map 2"),
// after it (the `actionText`, which `undoText` gives) for "Undo: ..." in tooltips and menus
// (document/EditCommands.cpp, `nameStep`). The monster table's view is disabled while the stats
// page is in its edit state, which EditorWindows wires.

#include <QWidget>

#include "EditorDocument.h"

class QLabel;
class QUndoView;

class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit HistoryWindow(EditorDocument& document, QWidget* parent = nullptr);

    QUndoView* steps(TableFile file) const;
    // While the stats page edits a monster, the monster table's steps stay as they are:
    // the fields being edited came from the line as it stands.
    void setLocked(TableFile file, bool locked);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QUndoView* monsterSteps_ = nullptr;
    QUndoView* spawnSteps_ = nullptr;
    QLabel* monsterLock_ = nullptr;
};
