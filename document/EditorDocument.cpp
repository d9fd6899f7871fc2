#include "EditorDocument.h"

#include <algorithm>

#include <QUndoStack>

#include "EditCommands.h"
#include "TableError.h"
#include "WorkList.h"

namespace {

// The changes as an undo makes them: each spot from what it became back to what it was.
std::vector<SpotChange> reversed(const std::vector<SpotChange>& changes) {
    std::vector<SpotChange> back;
    back.reserve(changes.size());
    for (const SpotChange& change : changes) back.push_back({change.after, change.before});
    return back;
}

}  // namespace

EditorDocument::EditorDocument(std::filesystem::path workFolder, std::filesystem::path programFolder,
                               QObject* parent)
    : QObject(parent),
      workFolder_(std::move(workFolder)),
      programFolder_(std::move(programFolder)),
      monsterHistory_(new QUndoStack(this)),
      spawnHistory_(new QUndoStack(this)) {
    for (const TableFile file : {TableFile::Monsters, TableFile::Spawns}) {
        QUndoStack* stack = &history(file);
        const auto changed = [this, file] { emit historyChanged(file); };
        connect(stack, &QUndoStack::indexChanged, this, changed);
        connect(stack, &QUndoStack::cleanChanged, this, changed);
    }
}

EditorDocument::~EditorDocument() {
    // The steps refer to the tables: they go first.
    monsterHistory_->clear();
    spawnHistory_->clear();
}

QUndoStack& EditorDocument::history(TableFile file) const {
    return file == TableFile::Monsters ? *monsterHistory_ : *spawnHistory_;
}

int EditorDocument::unsavedChanges(TableFile file) const {
    const QUndoStack& stack = history(file);
    // A saved state no longer on the stack (undone past, then changed) is out of reach.
    return stack.cleanIndex() < 0 ? std::max(stack.count(), 1) : std::abs(stack.index() - stack.cleanIndex());
}

void EditorDocument::adoptTables(MonsterTable monsters, SpawnTable spawns) {
    monsterHistory_->clear();
    spawnHistory_->clear();
    monsters_ = std::move(monsters);
    spawns_ = std::move(spawns);
}

void EditorDocument::rememberSpawnSaveTarget() { spawns_.rememberSaveTarget(programFolder_); }

void EditorDocument::storeMonster(int index, const std::array<std::int32_t, kEditableColumns>& values,
                                  bool moveRangeChosen) {
    if (index < 0 || index >= monsters_.monstercount ||
        index >= static_cast<int>(monsters_.monsterlines.size()))
        return;
    const auto i = static_cast<std::size_t>(index);
    const bool canmove = moveRangeChosen ? values[kMoveRangeField] != 0 : monsters_.monsters[i].canmove;
    std::string line = rebuildmonsterline(monsters_.monsterlines[i], values);
    // The same values again are no change: nothing to undo, and the file stays saved.
    if (line == monsters_.monsterlines[i] && canmove == monsters_.monsters[i].canmove) return;
    monsterHistory_->push(new StoreMonsterCommand(*this, index, std::move(line), canmove));
}

void EditorDocument::storeMonsters(std::span<const MonsterStore> stores, const QString& what) {
    std::vector<StoredLine> lines;
    lines.reserve(stores.size());
    for (const MonsterStore& store : stores) {
        if (store.monster < 0 || store.monster >= monsters_.monstercount ||
            store.monster >= static_cast<int>(monsters_.monsterlines.size()))
            continue;
        const auto i = static_cast<std::size_t>(store.monster);
        const bool oldCanMove = monsters_.monsters[i].canmove;
        StoredLine line{store.monster, monsters_.monsterlines[i], rebuildmonsterline(monsters_.monsterlines[i], store.values),
                        oldCanMove, store.moveRangeChosen ? store.values[kMoveRangeField] != 0 : oldCanMove};
        if (line.newLine != line.oldLine || line.newCanMove != line.oldCanMove) lines.push_back(std::move(line));
    }
    if (!lines.empty()) monsterHistory_->push(new StoreMonstersCommand(*this, std::move(lines), what));
}

void EditorDocument::appendSpot(const SpawnEntry& entry) {
    spawns_.checkRoom();
    spawnHistory_->push(new CreateSpotCommand(*this, entry));
}

void EditorDocument::deleteSpot(std::int32_t spotid) {
    if (const SpawnEntry* entry = spawns_.liveSpot(spotid)) spawnHistory_->push(new DeleteSpotCommand(*this, *entry));
}

void EditorDocument::changeSpot(std::int32_t spotid, const SpawnEntry& values, const QString& verb) {
    const SpawnEntry* live = spawns_.liveSpot(spotid);
    if (!live) return;
    const SpawnEntry& before = *live;
    SpawnEntry after = values;
    after.spotid = spotid;
    after.ispoint = isPointType(after.spottype);
    if (after == before) return;
    spawnHistory_->push(new ChangeSpotCommand(*this, before, after, verb));
}

void EditorDocument::changeSpots(const std::vector<SpawnEntry>& values, const QString& what) {
    std::vector<SpotChange> changes;
    for (const SpawnEntry& value : values) {
        const SpawnEntry* live = spawns_.liveSpot(value.spotid);
        if (!live) continue;
        SpawnEntry after = value;
        after.ispoint = isPointType(after.spottype);
        if (after != *live) changes.push_back({*live, after});
    }
    pushSpots(std::move(changes), what);
}

void EditorDocument::deleteSpots(const std::vector<std::int32_t>& spotids, const QString& what) {
    std::vector<SpotChange> changes;
    for (const std::int32_t spotid : spotids) {
        const SpawnEntry* live = spawns_.liveSpot(spotid);
        if (!live) continue;
        SpawnEntry gone = *live;
        gone.spotid = -1;
        changes.push_back({*live, gone});
    }
    pushSpots(std::move(changes), what);
}

std::vector<std::int32_t> EditorDocument::appendSpots(const std::vector<SpawnEntry>& entries, const QString& what) {
    if (entries.size() > static_cast<std::size_t>(kSpawnCapacity - spawns_.count)) {
        throw TableError("The spawn table has room for " + std::to_string(kSpawnCapacity - spawns_.count) +
                         " more spawn places (of " + std::to_string(kSpawnCapacity) + "); " +
                         std::to_string(entries.size()) + " were to be added.");
    }
    std::vector<SpotChange> changes;
    std::vector<std::int32_t> spotids;
    for (const SpawnEntry& entry : entries) {
        SpotChange change{entry, entry};
        change.before.spotid = -1;
        change.after.spotid = spawns_.count + static_cast<std::int32_t>(changes.size());
        change.after.ispoint = isPointType(entry.spottype);
        spotids.push_back(change.after.spotid);
        changes.push_back(change);
    }
    pushSpots(std::move(changes), what);
    return spotids;
}

void EditorDocument::pushSpots(std::vector<SpotChange> changes, const QString& what) {
    if (changes.empty()) return;
    std::sort(changes.begin(), changes.end(),
              [](const SpotChange& a, const SpotChange& b) { return a.spotid() < b.spotid(); });
    // The same spot twice would make its undo put back the first value only.
    changes.erase(std::unique(changes.begin(), changes.end(),
                              [](const SpotChange& a, const SpotChange& b) { return a.spotid() == b.spotid(); }),
                  changes.end());
    spawnHistory_->push(new SpotsCommand(*this, std::move(changes), what));
}

bool EditorDocument::save(TableFile file, const SaveQuestion& mayOverwrite) {
    const auto asked = [&](const std::string& question) { return question.empty() || mayOverwrite(question); };
    if (file == TableFile::Monsters) {
        if (!asked(monsters_.checkSave(workFolder_)) || !monsters_.savemonsterdata(workFolder_, mayOverwrite))
            return false;
    } else {
        if (!asked(spawns_.checkSave(programFolder_)) || !spawns_.save(programFolder_, mayOverwrite)) return false;
    }
    history(file).setClean();
    emit fileSaved(file);
    return true;
}

void EditorDocument::setMonsterLine(int index, const std::string& line, bool canmove) {
    const auto i = static_cast<std::size_t>(index);
    monsters_.monsterlines.at(i) = line;
    monsters_.monsters.at(i).canmove = canmove;
    emit monsterStored(index);
}

void EditorDocument::addSpot(const SpawnEntry& entry) {
    spawns_.append(entry);
    const SpawnEntry added = spawns_.entries[static_cast<std::size_t>(spawns_.count - 1)];
    emit spotAdded(added);
    emit spotCreated(added);
}

void EditorDocument::removeSpot(std::int32_t spotid) {
    const SpawnEntry before = spawns_.entries.at(static_cast<std::size_t>(spotid));
    deletespot(spawns_, spotid);
    emit spotDeleted(before);
}

void EditorDocument::reviveSpot(std::int32_t spotid) {
    restorespot(spawns_, spotid);
    emit spotAdded(spawns_.entries.at(static_cast<std::size_t>(spotid)));
}

void EditorDocument::putSpot(const SpawnEntry& entry) {
    const SpawnEntry before = spawns_.entries.at(static_cast<std::size_t>(entry.spotid));
    replacespot(spawns_, entry.spotid, entry);
    emit spotChanged(before, spawns_.entries[static_cast<std::size_t>(entry.spotid)]);
}

void EditorDocument::putSpots(const std::vector<SpotChange>& changes, bool forward) {
    for (const SpotChange& change : changes) {
        const SpawnEntry& now = forward ? change.after : change.before;
        const std::int32_t spotid = change.spotid();
        if (spotid == spawns_.count) {
            spawns_.append(now);  // the first time an appended spot comes
            continue;
        }
        SpawnEntry& kept = spawns_.entries.at(static_cast<std::size_t>(spotid));
        if (now.spotid == -1) {
            kept.spotid = -1;  // deleted: its values stay, as deletespot leaves them
        } else {
            kept = now;
            kept.spotid = spotid;
        }
    }
    emit spotsChanged(forward ? changes : reversed(changes));
}
