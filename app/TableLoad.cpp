#include "TableLoad.h"

#include "StartUpRepair.h"

TableLoad loadTables(const std::filesystem::path& workFolder, const std::filesystem::path& programFolder) {
    TableLoad load;
    const std::filesystem::path& saveFolder = programFolder.empty() ? workFolder : programFolder;
    try {
        load.notices = repairInterruptedSaves({workFolder / "data" / "monster.txt", workFolder / "data" / "Quarnel.txt",
                                               saveFolder / "data" / "Quarnel.txt"});
        if (std::string differ = spawnFoldersNotice(workFolder, saveFolder); !differ.empty())
            load.notices.push_back(std::move(differ));
    } catch (const std::exception&) {  // out of memory: the reading still says what it can
    }
    try {
        load.monsters.loadmonsterdata(workFolder);
    } catch (...) {  // shown as the reading would have shown it
        load.monsterError = std::current_exception();
        return load;
    }
    try {
        load.spawns.loadmonsterslocation(workFolder, load.monsters,
                                         [&load](const MissingMonster& dropped) { load.dropped.push_back(dropped); });
        load.spawns.rememberSaveTarget(saveFolder);
    } catch (...) {
        load.spawnError = std::current_exception();
    }
    return load;
}
