#include "EditorDocument.h"

#include "WorkList.h"

EditorDocument::EditorDocument(std::filesystem::path workFolder, std::filesystem::path programFolder,
                               QObject* parent)
    : QObject(parent), workFolder_(std::move(workFolder)), programFolder_(std::move(programFolder)) {}

void EditorDocument::adoptTables(MonsterTable monsters, SpawnTable spawns) {
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
    std::string& line = monsters_.monsterlines[i];
    line = rebuildmonsterline(line, values);
    if (moveRangeChosen) monsters_.monsters[i].canmove = values[kMoveRangeField] != 0;
    emit monsterStored(index);
}

void EditorDocument::appendSpot(const SpawnEntry& entry) {
    spawns_.append(entry);
    emit spotAdded(spawns_.entries[static_cast<std::size_t>(spawns_.count - 1)]);
}

void EditorDocument::deleteSpot(std::int32_t spotid) {
    if (spotid < 0 || spotid >= spawns_.count) return;
    const SpawnEntry before = spawns_.entries[static_cast<std::size_t>(spotid)];
    if (before.spotid != spotid) return;
    deletespot(spawns_, spotid);
    emit spotDeleted(before);
}

bool EditorDocument::save(TableFile file, const SaveQuestion& mayOverwrite) {
    const auto asked = [&](const std::string& question) { return question.empty() || mayOverwrite(question); };
    if (file == TableFile::Monsters) {
        if (!asked(monsters_.checkSave(workFolder_)) || !monsters_.savemonsterdata(workFolder_, mayOverwrite))
            return false;
    } else {
        if (!asked(spawns_.checkSave(programFolder_)) || !spawns_.save(programFolder_, mayOverwrite)) return false;
    }
    emit fileSaved(file);
    return true;
}
