#pragma once
// The history of both files, one list each: every change by its name, the state the
// file holds on disk marked with the save picture. Choosing a row takes the file back,
// or forward, to that state, one undo or redo step at a time, so every view follows as
// it does for Ctrl+Z.

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
