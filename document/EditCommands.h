#pragma once
// The document's changes as undoable steps, one class per kind of change. Each keeps
// what it needs to put the tables back exactly: a spot keeps its place in the table
// (its spot number) through every undo and redo, so a file saved after an undo is the
// file saved before the change.

#include <cstdint>
#include <string>
#include <vector>

#include <QUndoCommand>

#include "SpawnTable.h"
#include "StepTarget.h"

// OK on the stats page: a monster's line rebuilt with new values.
class StoreMonsterCommand final : public QUndoCommand {
public:
    StoreMonsterCommand(StepTarget& document, int index, std::string line, bool canmove);
    void redo() override;
    void undo() override;

private:
    StepTarget& document_;
    int index_;
    std::string oldLine_;
    std::string newLine_;
    bool oldCanMove_;
    bool newCanMove_;
};

// Create in the add-location dialog. Undone, the spot is marked deleted and shows
// nowhere; redone, it is live again at the same place.
class CreateSpotCommand final : public QUndoCommand {
public:
    CreateSpotCommand(StepTarget& document, const SpawnEntry& entry);
    void redo() override;
    void undo() override;

private:
    StepTarget& document_;
    SpawnEntry entry_;
    bool appended_ = false;
};

// Delete Spot on the spawn page.
class DeleteSpotCommand final : public QUndoCommand {
public:
    DeleteSpotCommand(StepTarget& document, const SpawnEntry& entry);
    void redo() override;
    void undo() override;

private:
    StepTarget& document_;
    SpawnEntry entry_;
};

// New values for a live spot in its place: moved or resized on the map, or changed in
// the dialog. Only the changed values reach the saved line; a spot whose type changes
// between point and range is saved in its new section.
class ChangeSpotCommand final : public QUndoCommand {
public:
    ChangeSpotCommand(StepTarget& document, const SpawnEntry& before, const SpawnEntry& after,
                      const QString& verb);
    void redo() override;
    void undo() override;

private:
    StepTarget& document_;
    SpawnEntry before_;
    SpawnEntry after_;
};

// Many spots changed, deleted or appended at once (the map overview's selection, a
// paste): one step. Appended spots are marked deleted by the undo and live again at
// their places by the redo, as a created spot is.
class SpotsCommand final : public QUndoCommand {
public:
    SpotsCommand(StepTarget& document, std::vector<SpotChange> changes, const QString& what);
    void redo() override;
    void undo() override;

private:
    StepTarget& document_;
    std::vector<SpotChange> changes_;
};

// One monster's line before and after a store of many.
struct StoredLine {
    int index;
    std::string oldLine;
    std::string newLine;
    bool oldCanMove;
    bool newCanMove;
};

// Many monsters' lines stored at once (a change of many cells, a paste): one step.
class StoreMonstersCommand final : public QUndoCommand {
public:
    StoreMonstersCommand(StepTarget& document, std::vector<StoredLine> lines, const QString& what);
    void redo() override;
    void undo() override;

private:
    StepTarget& document_;
    std::vector<StoredLine> lines_;
};
