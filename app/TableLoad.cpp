#include "TableLoad.h"

TableLoad loadTables(const std::filesystem::path& workFolder) {
    TableLoad load;
    try {
        load.monsters.loadmonsterdata(workFolder);
    } catch (...) {  // shown as the reading would have shown it
        load.monsterError = std::current_exception();
        return load;
    }
    try {
        load.spawns.loadmonsterslocation(workFolder, load.monsters,
                                         [&load](const MissingMonster& dropped) { load.dropped.push_back(dropped); });
    } catch (...) {
        load.spawnError = std::current_exception();
    }
    return load;
}
