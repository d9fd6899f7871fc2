#pragma once
// What a save would change in each table file, worked out from the file on disk and the
// exact bytes the save would write (the tables' fileBytes, which the saves write): the
// operator's changes by monster and field or by spot, the lines that change only in
// form, the lines the save drops, and the problems the checker's rules find in what
// would be written. Plain C++ below the windows; the review window shows it.
//
// The review of a save (review/SaveReview.h) is plain C++ below the windows: the file on disk
// against the exact bytes the save would write, the tables' `fileBytes()`, which the saves write.
// Lines are matched as `diff -u` matches them (tables/TextDiff.h: Myers' algorithm with diff's
// refinements, held to the system's `diff -u` over generated texts and the sample), which gives the
// unified diff shown on demand and `varnex-check --diff` (check/NormalFormDiff.h: each file against
// what the editor's readers and `fileBytes()` make of it). The monster table's lines are paired
// with the disk's line by line (or, when the file changed on disk, by a diff of their normal forms,
// then by monster number) and told column by column; the spawn file is read again with the editor's
// reader, its spots paired by spot number and content, so a changed spot keeps its number and a
// moved section is no change. The lines `diff` marks as added that carry no change of the operator
// are the lines changed only in form; the lines the reader leaves behind (comments, stray lines,
// missing monsters' lines) are named from the reader's own notices. The problems are the checker's
// rules over the bytes to be written (`checkTexts`, the same `checkMonsterText` and
// `checkSpawnText` that `checkFolder` runs over files), each marked when the disk's own problems
// (checked once per content of the files on disk, `DiskProblems`) have none of its rule on the line
// it stems from. The window (app/ReviewWindow.h) works the review out again at the turn of the
// event loop after any change of the document, and its double click asks EditorWindows for the
// monster (`monsterChosen`: the monster table when open, else the stats page) or the spot
// (`spotChosen`: the spawn page's `goToSpot`, the overview's map). `bench/review_bench` holds it to
// its targets.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Problems.h"
#include "TextDiff.h"

class MonsterTable;
class SpawnTable;

// Where an item of the review leads.
struct ReviewTarget {
    enum class Kind { None, Monster, Spot };
    Kind kind = Kind::None;
    int monster = -1;            // Monster: its index in the monster table
    int field = -1;              // Monster: the field changed (an index of kMonsterFields), or -1
    std::int32_t spotid = -1;    // Spot: its number, live or deleted
    std::int32_t monsterid = 0;  // Spot: its monster's number and its map, as it is (or was,
    int map = -1;                // when deleted)

    bool operator==(const ReviewTarget&) const = default;
};

// One line of the review for the operator, in UTF-8; the file's bytes in it are shown as
// the windows show names (UTF-8 where they are, else Latin-1).
struct ReviewItem {
    std::string text;
    ReviewTarget target;
};

struct ReviewedProblem {
    Problem problem;     // placed in the bytes the save would write
    bool added = false;  // the file on disk does not have it
    ReviewTarget target;
};

// The file on disk as a review compares with it.
struct DiskFile {
    std::string bytes;
    std::string failure;  // why it could not be read; the review then compares with no line
};
DiskFile readDiskFile(const std::filesystem::path& path, const std::string& label);

struct FileReview {
    std::string file;     // below the server's folder: "data/monster.txt"
    std::string refusal;  // why the save would not write the file; nothing else is filled then
    std::string diskFailure;
    std::string disk;     // the bytes on disk compared with
    std::string saved;    // the bytes the save would write
    std::vector<ReviewItem> changes;
    int formLines = 0;    // lines of the save that `diff` shows as changed but only in form
    std::vector<ReviewItem> dropped;  // lines of the file on disk whose text the save loses
    LineChanges lines;    // the lines `diff` marks, disk against save
    std::vector<ReviewedProblem> problems;
    // By line of the save (1-based; [0] is not used): the line on disk it stems from (0
    // for none), and the monster or spot it holds.
    std::vector<int> originOf;
    std::vector<ReviewTarget> targetOf;
};

FileReview reviewMonsterSave(DiskFile disk, const MonsterTable& table);
// The file on disk against the save's bytes, as `diff -u` prints it; made when asked for.
std::string reviewDiff(const FileReview& review);
// The spawn file as read against `monsters`, the table the editor holds.
FileReview reviewSpawnSave(DiskFile disk, const SpawnTable& spawns, const MonsterTable& monsters);

// The problems of the files on disk, kept while their bytes stay the same, so that a
// review made again after an edit checks only what the save would write.
class DiskProblems {
public:
    const CheckResult& of(const std::string& monsterBytes, const std::string& spawnBytes,
                          const std::filesystem::path* pictureFolder);

private:
    // The bytes checked: comparing them costs less than a hash of them.
    std::optional<std::pair<std::string, std::string>> checked_;
    CheckResult result_;
};

// Runs the checker's rules over what the two files would hold after the save (the
// review's saved bytes for a file reviewed, else the bytes on disk), and gives each
// review its file's problems, each marked when the file on disk does not have it.
void addProblems(FileReview* monsters, FileReview* spawns, const std::string& monsterDisk,
                 const std::string& spawnDisk, const std::filesystem::path* pictureFolder, DiskProblems& diskProblems);

// A review of both files: each present when its file has unsaved changes.
struct SaveReview {
    std::optional<FileReview> monsters;
    std::optional<FileReview> spawns;
    int changeCount() const;
};

struct ReviewSources {
    const MonsterTable& monsters;
    const SpawnTable& spawns;
    bool monstersUnsaved = false;
    bool spawnsUnsaved = false;
    std::filesystem::path monsterFile;  // the files the saves replace
    std::filesystem::path spawnFile;
    std::optional<std::filesystem::path> pictureFolder;  // where VarnexMaps/ lies
};
SaveReview reviewSave(const ReviewSources& sources, DiskProblems& diskProblems);

// Bytes of a file as text for the operator: as they are when they are UTF-8, else each
// byte as its Latin-1 character.
std::string shownBytes(std::string_view bytes);
