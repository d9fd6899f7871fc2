#pragma once
// The tables of one run and every change made to them. Windows never change a table
// themselves: they ask the document, which tells every view what changed, so each
// view updates itself and no window has to repair another.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include <QObject>

#include "MonsterFields.h"
#include "MonsterTable.h"
#include "SpawnTable.h"

// The two files the editor saves.
enum class TableFile { Monsters, Spawns };

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

    const MonsterTable& monsters() const { return monsters_; }
    const SpawnTable& spawns() const { return spawns_; }
    const std::filesystem::path& workFolder() const { return workFolder_; }
    const std::filesystem::path& programFolder() const { return programFolder_; }

    // Takes the tables the start-up read.
    void adoptTables(MonsterTable monsters, SpawnTable spawns);
    // From now on the spawn file's save replaces the file below the program's folder.
    void rememberSpawnSaveTarget();

    // Stores monster `index`'s line rebuilt with these values (in the order of the stats
    // page's fields). With moveRangeChosen false the line's move range is written back
    // as it is and the monster keeps whether it can move.
    void storeMonster(int index, const std::array<std::int32_t, kEditableColumns>& values,
                      bool moveRangeChosen);
    // Appends the spot; its spot number is given here. Throws TableError when full.
    void appendSpot(const SpawnEntry& entry);
    // Marks the spot deleted; an unknown or deleted spot number changes nothing.
    void deleteSpot(std::int32_t spotid);

    // Saves the file, asking `mayOverwrite` whatever the table wants asked; false when
    // an answer kept the file as it was. Throws TableError when the save fails or
    // is refused.
    bool save(TableFile file, const SaveQuestion& mayOverwrite);

signals:
    void monsterStored(int index);
    void spotAdded(const SpawnEntry& entry);
    void spotDeleted(const SpawnEntry& entry);  // as it was before the deletion
    void fileSaved(TableFile file);

private:
    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    MonsterTable monsters_;
    SpawnTable spawns_;
};
