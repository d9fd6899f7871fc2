#include "Checker.h"

#include <algorithm>
#include <iterator>

#include "MonsterCheck.h"
#include "MonsterTable.h"
#include "SpawnCheck.h"

namespace {

// A file's problems by line, an error before a warning before a note of the same line,
// then by column.
// They mostly come in that order already, and moving thousands of them costs.
void sortByLine(std::vector<Problem>::iterator begin, std::vector<Problem>::iterator end) {
    const auto before = [](const Problem& a, const Problem& b) {
        if (a.line != b.line) return a.line < b.line;
        if (a.severity != b.severity) return a.severity < b.severity;
        return a.column < b.column;
    };
    if (!std::is_sorted(begin, end, before)) std::stable_sort(begin, end, before);
}

// Sorts each file's problems, leaves out those of rules ignored and counts the rest.
void finish(CheckResult& result, std::ptrdiff_t monsterProblems, const CheckSettings& settings) {
    auto& problems = result.problems;
    sortByLine(problems.begin(), problems.begin() + monsterProblems);
    sortByLine(problems.begin() + monsterProblems, problems.end());
    std::erase_if(problems, [&](const Problem& problem) { return settings.ignored.contains(problem.code); });
    for (const Problem& problem : problems) {
        switch (problem.severity) {
        case Severity::Error: ++result.errors; break;
        case Severity::Warning: ++result.warnings; break;
        case Severity::Note: ++result.notes; break;
        }
    }
}

}  // namespace

CheckResult checkTexts(std::string_view monsterBytes, std::string_view spawnBytes,
                       const std::filesystem::path* pictureFolder) {
    CheckResult result;
    MonsterTable monsters;
    UnreadMonsters unread;
    {
        FileReport report("data/monster.txt", "data/monster.txt", result.problems);
        report.look(monsterBytes);
        checkMonsterText(monsters, unread, report);
    }
    result.monsters = monsters.monstercount;
    const auto monsterProblems = static_cast<std::ptrdiff_t>(result.problems.size());
    {
        FileReport report("data/Quarnel.txt", "data/Quarnel.txt", result.problems);
        report.look(spawnBytes);
        result.spots = checkSpawnText(monsters, true, unread, pictureFolder, report);
    }
    finish(result, monsterProblems, CheckSettings());
    return result;
}

CheckResult checkFolder(const std::filesystem::path& folder, const CheckSettings& settings) {
    CheckResult result;
    auto& problems = result.problems;
    const std::filesystem::path monsterFile = folder / "data" / "monster.txt";
    const std::filesystem::path spawnFile = folder / "data" / "Quarnel.txt";

    // Each report holds its file's bytes only while that file is checked.
    MonsterTable monsters;
    UnreadMonsters unread;
    const bool monstersRead = [&] {
        FileReport report(monsterFile.string(), "data/monster.txt", problems);
        return checkMonsterFile(monsterFile, monsters, unread, report);
    }();
    result.monsters = monsters.monstercount;
    const auto monsterProblems = static_cast<std::ptrdiff_t>(problems.size());
    {
        FileReport report(spawnFile.string(), "data/Quarnel.txt", problems);
        result.spots =
            checkSpawnFile(spawnFile, monsters, monstersRead, unread, settings.pictures ? &folder : nullptr, report);
    }

    finish(result, monsterProblems, settings);
    return result;
}
