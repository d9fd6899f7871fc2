#pragma once
// What every editing window shares of a file's history of changes: the undo, redo and
// save keys, and the save button that shows whether its file has unsaved changes and what
// the next undo and redo would do.

#include <functional>

#include <QIcon>

class QAbstractButton;
class QUndoStack;
class QWidget;

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, anywhere in the window, on the history
// historyFor gives at that moment (none: the keys do nothing). A text or number field
// with the keyboard keeps them while it has typing of its own to take back (or bring
// again); with none, they act on the history.
void installHistoryKeys(QWidget* window, std::function<QUndoStack*()> historyFor);

// Ctrl+S anywhere in the window runs save (the file's save, with all it asks and reports).
void installSaveKey(QWidget* window, std::function<void()> save);

// The save button's picture with a mark that says its file has unsaved changes.
QIcon unsavedIcon(const QIcon& saved);

// Shows the history's state on its file's save button: the marked picture while the
// file has unsaved changes; its tooltip says what it saves and with which key, then
// the next undo and redo.
void showHistoryOn(QAbstractButton* saveButton, const QIcon& saved, const QIcon& unsaved,
                   const QUndoStack& history);
