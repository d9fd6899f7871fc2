#pragma once
// The tables of one run and every change made to them. Windows never change a table
// themselves: they ask the document, which keeps each change in the history of its
// file, so it can be undone, and tells every view what changed, so each view updates
// itself and no window has to repair another.
//
// Windows never parse or format a table line, and never change a table: they ask the document
// (document/EditorDocument.h), the one object that owns the tables of the run, and it tells every
// view what changed. An edit flows one way: control (OK on the stats page, Create or Apply in the
// dialog, Delete Spot, a drag on the map overview, a cell of the monster table) -> the window's
// handler reads its fields and asks the document (storeMonster, storeMonsters, appendSpot,
// deleteSpot, changeSpot, save) -> the document changes the table and emits what changed
// (monsterStored, spotAdded, spotCreated, spotDeleted, spotChanged, spotsChanged, fileSaved) ->
// every view that shows that data updates itself: the stats page shows the stored line, the dialog
// its monster's name, level and spot type and the spot it edits, the spawn page its monster list
// icons, maps and spot lists, the overview its map, the preview redraws. Undo and redo emit the
// same signals as the change itself (`spotAdded` for a spot that comes back, `spotCreated` only
// when "Create" first appends one), so every view is right after them whoever made the change. The
// spawn page (spawns/SpawnPageUpkeep.cpp) changes only a monster's icon for another monster's
// spots, follows the shown monster's spots to their maps, and takes a map whose last spot went off
// the map list; what its controls do with keys and the pointer (the map box's arrows, the lists'
// resting pointer, "Delete Spot" taking no second click of a double click) is
// spawns/SpawnPageHooks.cpp. The dialog opened on a spot (spawns/AddSpotEditing.cpp) remembers what
// it put into each control from the spot; when the document changes the spot, each control the
// operator has not changed since takes the new value, so "Apply" writes the operator's changes over
// the spot as it now is; while the spot is deleted "Apply" is off and a line beside it says why. A
// change to the same values is no step of the history (`changeSpot`, `storeMonster`). No window
// calls another window's handler or writes its fields. What is a view's own state stays with it:
// the spawn page's work list (the chosen monster's spots, which the preview draws through the small
// `ShownSpots` interface), the preview's selection (`MapSelection`, set and read through the
// preview's functions). EditorWindows (app/EditorWindows.h) makes the document and the windows in
// the program's order and wires the few links between windows: the spawn page asks for the dialog
// with `addSpotRequested`, the dialog and the page are handed the preview, Escape in the dialog,
// the preview or the overview hands the keyboard back to the main window, and the map overview,
// made when first asked for (`overviewRequested`, `mapOverview()`), shows the spot it selects on
// the page (`spotChosen` to `goToSpot`) and the page's selected spot (`spotSelected` to
// `highlightSpot`). It also gives each window its first place (ui/FirstPlace.h: where it was meant
// to be, unless that reaches off the screen or covers the main window's save, delete and title
// buttons; the preview also keeps clear of an open dialog, and the overview takes the largest size
// up to its own that has such a place; the main window's page tabs count as its buttons, and a
// decorated window keeps room for the window manager's frame, which is not known before it is first
// shown: `roomForFrame`); the preview is put clear of them again whenever it is shown again
// (`placeOnShow`). Every window stays wholly on the screen (`keepOnScreen`: at each showing, each
// change of size, and for a moment after each showing while the window manager frames it). The
// dialog, the preview, the history and the key list stay above the others (ui/WindowStacking.h,
// `keepAbove`), in the order they were last brought up; a click on the main window, the overview or
// the monster table raises it, then them in that order (`raiseOnPress`), which is what a window
// manager would do and, without one, keeps the overview from staying over the main window for good.
// Message boxes, questions and the "Change..." dialog stay above every window. When a window closes
// (a message box, a question, a dialog, a window opened from another one), the keyboard goes back
// to the window that asked (ui/KeyboardReturn.h: one application-wide watch of every window shown
// and hidden; the window that asked is a dialog's parent window, else the window that had the
// keyboard when it was shown), and again once the event loop has turned, since a window manager
// hands the keyboard on to a window of its own choosing as the closed one goes (openbox: the main
// window) and X without one gives it to none. The preview's map frame is as large as the screen has
// room for; a Ctrl+wheel zoom moves the window around the pointer as far as the screen lets it, and
// the picture in its frame for the rest (`pictureOffset`). The history and key list windows are
// made when first shown (`showHistory`, `showKeyList`). The tests make their windows through it
// too. Every control keeps its design name as its object name (`SpinEdit2`, `allmonsterlist`), by
// which tests and accessibility tools find it; the C++ names say what each thing does
// (`saveButton_`, `createSpot()`).

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include <QObject>

#include "MonsterEdits.h"
#include "MonsterFields.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "StepTarget.h"

class QUndoStack;

// The two files the editor saves.
enum class TableFile { Monsters, Spawns };

// Asked before a save replaces a file another program changed or another file than the
// one read, and before it goes on without a backup; true lets it go on.
using SaveQuestion = std::function<bool(const std::string& question)>;

class EditorDocument final : public QObject, private StepTarget {
    Q_OBJECT
public:
    // The monster table is read and saved below workFolder; the spawn file is saved,
    // and map pictures are looked for, below programFolder.
    EditorDocument(std::filesystem::path workFolder, std::filesystem::path programFolder,
                   QObject* parent = nullptr);
    ~EditorDocument() override;

    const MonsterTable& monsters() const override { return monsters_; }
    const SpawnTable& spawns() const override { return spawns_; }
    const std::filesystem::path& workFolder() const { return workFolder_; }
    const std::filesystem::path& programFolder() const { return programFolder_; }

    // The changes to each file, for undo and redo; clean where the file was last saved.
    QUndoStack& history(TableFile file) const;
    // Changes since the file was last saved (or read), counted in undo steps.
    int unsavedChanges(TableFile file) const;

    // Takes the tables the start-up read.
    void adoptTables(MonsterTable monsters, SpawnTable spawns);
    // From now on the spawn file's save replaces the file below the program's folder.
    void rememberSpawnSaveTarget();

    // Stores monster `index`'s line rebuilt with these values (in the order of the stats
    // page's fields). With moveRangeChosen false the line's move range is written back
    // as it is and the monster keeps whether it can move. A line and "can move" that
    // stay as they are change nothing.
    void storeMonster(int index, const std::array<std::int32_t, kEditableColumns>& values,
                      bool moveRangeChosen);
    // Stores these monsters' lines, each rebuilt with its values as storeMonster
    // rebuilds one, in one step of the history named `what` ("multiply HP by 120 %").
    // Monsters whose line and whether they move stay as they are are left out; when
    // none is left, nothing is kept in the history.
    void storeMonsters(std::span<const MonsterStore> stores, const QString& what);
    // Appends the spot; its spot number is given here. Throws TableError when full.
    void appendSpot(const SpawnEntry& entry);
    // Marks the spot deleted; an unknown or deleted spot number changes nothing.
    void deleteSpot(std::int32_t spotid);
    // Gives a live spot new values in its place (its spot number stays); `verb` names the
    // change in the history ("move", "resize", "change"). Same values: nothing happens.
    void changeSpot(std::int32_t spotid, const SpawnEntry& values, const QString& verb);

    // Many spots at once, each one step of the history named `what` ("move 12 spots on
    // map 3"); every view is told once, by spotsChanged.
    // New values for live spots in their places, each value's spotid naming its spot;
    // unknown and deleted spots, and values a spot has already, are passed over, and
    // nothing happens when nothing is left.
    void changeSpots(const std::vector<SpawnEntry>& values, const QString& what);
    // Marks the live ones of these spots deleted.
    void deleteSpots(const std::vector<std::int32_t>& spotids, const QString& what);
    // Appends the spots in order, giving them the next spot numbers, which it returns.
    // Throws TableError, changing nothing, when the table has no room for all of them.
    std::vector<std::int32_t> appendSpots(const std::vector<SpawnEntry>& entries, const QString& what);

    // Saves the file, asking `mayOverwrite` whatever the table wants asked; false when
    // an answer kept the file as it was. Throws TableError when the save fails or
    // is refused.
    bool save(TableFile file, const SaveQuestion& mayOverwrite);

signals:
    void monsterStored(int index);
    void spotAdded(const SpawnEntry& entry);  // appended, or live again (undo, redo)
    // "Create" appended this spot; told after spotAdded, and only the first time.
    void spotCreated(const SpawnEntry& entry);
    void spotDeleted(const SpawnEntry& entry);  // as it was before the deletion
    void spotChanged(const SpawnEntry& before, const SpawnEntry& after);
    // A step of changeSpots, deleteSpots or appendSpots was made, undone or redone: these
    // spots, in table order.
    void spotsChanged(const std::vector<SpotChange>& changes);
    void fileSaved(TableFile file);
    // A file's unsaved state or its history's next undo or redo changed.
    void historyChanged(TableFile file);

private:
    // What the history's steps do, and no one else: each emits what changed.
    void setMonsterLine(int index, const std::string& line, bool canmove) override;
    void addSpot(const SpawnEntry& entry) override;
    void removeSpot(std::int32_t spotid) override;
    void reviveSpot(std::int32_t spotid) override;
    void putSpot(const SpawnEntry& entry) override;
    void putSpots(const std::vector<SpotChange>& changes, bool forward) override;
    void pushSpots(std::vector<SpotChange> changes, const QString& what);

    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    MonsterTable monsters_;
    SpawnTable spawns_;
    QUndoStack* monsterHistory_;
    QUndoStack* spawnHistory_;
};
