#include "Checker.h"

#include <algorithm>
#include <iterator>

#include "MonsterCheck.h"
#include "MonsterTable.h"
#include "SpawnCheck.h"

namespace {

// A file's problems by line, an error before a warning of the same line.
void sortByLine(std::vector<Problem>::iterator begin, std::vector<Problem>::iterator end) {
    std::stable_sort(begin, end, [](const Problem& a, const Problem& b) {
        if (a.line != b.line) return a.line < b.line;
        return a.severity == Severity::Error && b.severity == Severity::Warning;
    });
}

}  // namespace

CheckResult checkFolder(const std::filesystem::path& folder, const CheckSettings& settings) {
    CheckResult result;
    auto& problems = result.problems;
    const std::filesystem::path monsterFile = folder / "data" / "monster.txt";
    const std::filesystem::path spawnFile = folder / "data" / "Quarnel.txt";

    MonsterTable monsters;
    checkMonsterFile(monsterFile, monsters, FileReport(monsterFile.string(), problems));
    result.monsters = monsters.monstercount;
    const auto monsterProblems = static_cast<std::ptrdiff_t>(problems.size());
    result.spots = checkSpawnFile(spawnFile, monsters, settings.pictures ? &folder : nullptr,
                                  FileReport(spawnFile.string(), problems));

    sortByLine(problems.begin(), problems.begin() + monsterProblems);
    sortByLine(problems.begin() + monsterProblems, problems.end());
    for (const Problem& problem : problems) ++(problem.severity == Severity::Error ? result.errors : result.warnings);
    return result;
}
