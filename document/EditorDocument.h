#pragma once
// The tables of one run and every change made to them. Windows never change a table
// themselves: they ask the document, which keeps each change in the history of its
// file, so it can be undone, and tells every view what changed, so each view updates
// itself and no window has to repair another.

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

class QUndoStack;

// The two files the editor saves.
enum class TableFile { Monsters, Spawns };

// One spot of a step that changes many at once, as it was and as it is: a spot that was
// not live (appended, or deleted and brought back) has before.spotid -1, one that is no
// longer live (deleted) after.spotid -1.
struct SpotChange {
    SpawnEntry before;
    SpawnEntry after;
    std::int32_t spotid() const { return after.spotid != -1 ? after.spotid : before.spotid; }
};

// Asked before a save replaces a file another program changed or another file than the
// one read, and before it goes on without a backup; true lets it go on.
using SaveQuestion = std::function<bool(const std::string& question)>;

class EditorDocument : public QObject {
    Q_OBJECT
public:
    // The monster table is read and saved below workFolder; the spawn file is saved,
    // and map pictures are looked for, below programFolder.
    EditorDocument(std::filesystem::path workFolder, std::filesystem::path programFolder,
                   QObject* parent = nullptr);
    ~EditorDocument() override;

    const MonsterTable& monsters() const { return monsters_; }
    const SpawnTable& spawns() const { return spawns_; }
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
    // What the history's steps do; each emits what changed.
    friend class StoreMonsterCommand;
    friend class StoreMonstersCommand;
    friend class CreateSpotCommand;
    friend class DeleteSpotCommand;
    friend class ChangeSpotCommand;
    friend class SpotsCommand;
    void setMonsterLine(int index, const std::string& line, bool canmove);
    void addSpot(const SpawnEntry& entry);
    void removeSpot(std::int32_t spotid);
    void reviveSpot(std::int32_t spotid);
    void putSpot(const SpawnEntry& entry);
    // Every spot as it is after (forward) or before the changes.
    void putSpots(const std::vector<SpotChange>& changes, bool forward);
    void pushSpots(std::vector<SpotChange> changes, const QString& what);

    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    MonsterTable monsters_;
    SpawnTable spawns_;
    QUndoStack* monsterHistory_;
    QUndoStack* spawnHistory_;
};
