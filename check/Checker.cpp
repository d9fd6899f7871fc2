#include "Checker.h"

#include <algorithm>
#include <iterator>

#include "MonsterCheck.h"
#include "MonsterTable.h"
#include "SpawnCheck.h"

namespace {

// A file's problems by line, an error before a warning of the same line, then by column.
void sortByLine(std::vector<Problem>::iterator begin, std::vector<Problem>::iterator end) {
    std::stable_sort(begin, end, [](const Problem& a, const Problem& b) {
        if (a.line != b.line) return a.line < b.line;
        if (a.severity != b.severity) return a.severity == Severity::Error;
        return a.column < b.column;
    });
}

}  // namespace

CheckResult checkFolder(const std::filesystem::path& folder, const CheckSettings& settings) {
    CheckResult result;
    auto& problems = result.problems;
    const std::filesystem::path monsterFile = folder / "data" / "monster.txt";
    const std::filesystem::path spawnFile = folder / "data" / "Quarnel.txt";

    MonsterTable monsters;
    FileReport monsterReport(monsterFile.string(), problems);
    const bool monstersRead = checkMonsterFile(monsterFile, monsters, monsterReport);
    result.monsters = monsters.monstercount;
    const auto monsterProblems = static_cast<std::ptrdiff_t>(problems.size());
    FileReport spawnReport(spawnFile.string(), problems);
    result.spots = checkSpawnFile(spawnFile, monsters, monstersRead, settings.pictures ? &folder : nullptr, spawnReport);

    sortByLine(problems.begin(), problems.begin() + monsterProblems);
    sortByLine(problems.begin() + monsterProblems, problems.end());
    std::erase_if(problems, [&](const Problem& problem) { return settings.ignored.contains(problem.code); });
    for (const Problem& problem : problems) ++(problem.severity == Severity::Error ? result.errors : result.warnings);
    return result;
}
