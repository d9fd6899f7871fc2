#include "SaveReview.h"

#include <unordered_set>

#include "Checker.h"
#include "MonsterTable.h"
#include "SpawnTable.h"
#include "TableError.h"
#include "TextFile.h"
#include "VisibleText.h"

std::string shownBytes(std::string_view bytes) {
    // Names and numbers are mostly plain ASCII: one pass the compiler can vectorise tells.
    unsigned char high = 0;
    for (const char c : bytes) high |= static_cast<unsigned char>(c);
    if (high < 0x80) return std::string(bytes);
    bool utf8 = true;
    for (std::size_t at = 0; utf8 && at < bytes.size();) {
        const std::size_t length = utf8SequenceLength(bytes, at);
        utf8 = length > 0;
        at += length;
    }
    if (utf8) return std::string(bytes);
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

DiskFile readDiskFile(const std::filesystem::path& path, const std::string& label) {
    DiskFile disk;
    try {
        disk.bytes = readWholeFile(path, label);
    } catch (const TableError& error) {
        disk.failure = error.reason().empty() ? error.what() : std::string(error.what()) + " (" + error.reason() + ")";
    }
    return disk;
}

const CheckResult& DiskProblems::of(const std::string& monsterBytes, const std::string& spawnBytes,
                                    const std::filesystem::path* pictureFolder) {
    if (!checked_ || checked_->first != monsterBytes || checked_->second != spawnBytes) {
        result_ = checkTexts(monsterBytes, spawnBytes, pictureFolder);
        checked_.emplace(monsterBytes, spawnBytes);
    }
    return result_;
}

namespace {

// A problem of the save is one the file on disk has when a problem of the same rule
// stands on the line it stems from; or, for a problem of the whole file, of a line that
// stems from no line on disk, or of a map's picture (placed at whichever spot of the
// map comes first), when one says the same.
class ProblemsOnDisk {
public:
    ProblemsOnDisk(const CheckResult& disk, const std::string& file) {
        for (const Problem& problem : disk.problems) {
            if (problem.inFolder != file) continue;
            byMessage_.insert(problem.code + '\n' + problem.message);
            if (problem.line > 0) byLine_.insert(problem.code + '\n' + std::to_string(problem.line));
        }
    }

    bool has(const Problem& problem, const FileReview& review) const {
        const auto line = static_cast<std::size_t>(problem.line);
        const int origin = line > 0 && line < review.originOf.size() ? review.originOf[line] : 0;
        if (origin > 0 && byLine_.contains(problem.code + '\n' + std::to_string(origin))) return true;
        const bool byMessage = problem.line == 0 || origin == 0 || problem.code == "no-picture" ||
                               problem.code == "unreadable-picture";
        return byMessage && byMessage_.contains(problem.code + '\n' + problem.message);
    }

private:
    std::unordered_set<std::string> byMessage_;
    std::unordered_set<std::string> byLine_;
};

}  // namespace

void addProblems(FileReview* monsters, FileReview* spawns, const std::string& monsterDisk,
                 const std::string& spawnDisk, const std::filesystem::path* pictureFolder, DiskProblems& diskProblems) {
    const auto saves = [](const FileReview* review) { return review && review->refusal.empty(); };
    if (!saves(monsters) && !saves(spawns)) return;
    const CheckResult after = checkTexts(saves(monsters) ? monsters->saved : monsterDisk,
                                         saves(spawns) ? spawns->saved : spawnDisk, pictureFolder);
    const CheckResult& before = diskProblems.of(monsterDisk, spawnDisk, pictureFolder);
    for (FileReview* review : {monsters, spawns}) {
        if (!saves(review)) continue;
        const ProblemsOnDisk onDisk(before, review->file);
        for (const Problem& problem : after.problems) {
            if (problem.inFolder != review->file) continue;
            const auto line = static_cast<std::size_t>(problem.line);
            review->problems.push_back({problem, !onDisk.has(problem, *review),
                                        line < review->targetOf.size() ? review->targetOf[line] : ReviewTarget()});
        }
    }
}

std::string reviewDiff(const FileReview& review) {
    return unifiedDiff(diffLines(review.disk), diffLines(review.saved), review.lines, "a/" + review.file,
                       "b/" + review.file);
}

int SaveReview::changeCount() const {
    std::size_t count = 0;
    for (const auto* review : {&monsters, &spawns})
        if (*review) count += (*review)->changes.size();
    return static_cast<int>(count);
}

SaveReview reviewSave(const ReviewSources& sources, DiskProblems& diskProblems) {
    SaveReview review;
    DiskFile monsterDisk = readDiskFile(sources.monsterFile, monsterFileLabel());
    DiskFile spawnDisk = readDiskFile(sources.spawnFile, spawnFileLabel());
    // A review keeps the bytes on disk it compared with; the problems' check reads them there.
    if (sources.monstersUnsaved) review.monsters = reviewMonsterSave(std::move(monsterDisk), sources.monsters);
    if (sources.spawnsUnsaved) review.spawns = reviewSpawnSave(std::move(spawnDisk), sources.spawns, sources.monsters);
    addProblems(review.monsters ? &*review.monsters : nullptr, review.spawns ? &*review.spawns : nullptr,
                review.monsters ? review.monsters->disk : monsterDisk.bytes,
                review.spawns ? review.spawns->disk : spawnDisk.bytes,
                sources.pictureFolder ? &*sources.pictureFolder : nullptr, diskProblems);
    return review;
}
