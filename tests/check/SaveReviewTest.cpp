// The review of a save: the operator's changes named by monster and field or by spot,
// the lines changed only in form counted as `diff` shows them, the lines the save drops,
// and the checker's problems of what would be written, against a check of the files the
// editor's save then writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "Checker.h"
#include "MonsterFields.h"
#include "MonsterTable.h"
#include "PlantedFolder.h"
#include "SaveReview.h"
#include "SpawnTable.h"
#include "TableFixtures.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> textsOf(const std::vector<ReviewItem>& items) {
    std::vector<std::string> texts;
    for (const ReviewItem& item : items) texts.push_back(item.text);
    return texts;
}

// The lines `diff -u` marks with "+" (our diff is held to the system's elsewhere).
int addedLines(const std::string& diff) {
    int count = 0;
    for (std::size_t at = 0; at < diff.size(); at = diff.find('\n', at) + 1)
        count += diff.compare(at, 1, "+") == 0 && diff.compare(at, 3, "+++") != 0;
    return count;
}

void setField(MonsterTable& table, int index, int field, std::int32_t value) {
    std::string& line = table.monsterlines[static_cast<std::size_t>(index)];
    auto values = shownValues(readMonsterLine(line, "data/monster.txt", index + 1));
    values[static_cast<std::size_t>(field)] = value;
    line = rebuildmonsterline(line, values);
}

std::string sampleBytes(const char* name) {
    return fileBytes(fs::path(VARNEX_SOURCE_DIR) / "sample" / "data" / name);
}

TEST(SaveReview, OneHpAndOneMovedSpotOfTheSample) {
    const TempFolder folder;
    folder.write("data/monster.txt", sampleBytes("monster.txt"));
    folder.write("data/Quarnel.txt", sampleBytes("Quarnel.txt"));
    MonsterTable monsters;
    monsters.loadmonsterdata(folder.path());
    SpawnTable spawns;
    spawns.loadmonsterslocation(folder.path(), monsters, {});

    // Thistle Wisp's values are all within the stats page's bounds, which "OK" would
    // pull in (the monsters before it have some outside).
    setField(monsters, 9, 1, 5000);
    SpawnEntry* moved = nullptr;
    for (int i = 0; i < spawns.count; ++i) {
        SpawnEntry& spot = spawns.entries[static_cast<std::size_t>(i)];
        if (spot.monsterid == 41 && spot.mapnumber == 2 && spot.x0 == 218 && spot.y0 == 53) moved = &spot;
    }
    ASSERT_NE(moved, nullptr);
    moved->x0 = 198, moved->y0 = 63, moved->x1 = 221, moved->y1 = 102;

    DiskProblems disk;
    const SaveReview review = reviewSave({monsters, spawns, true, true, folder.path() / "data" / "monster.txt",
                                          folder.path() / "data" / "Quarnel.txt", folder.path()},
                                         disk);
    ASSERT_TRUE(review.monsters && review.spawns);
    EXPECT_EQ(review.changeCount(), 2);
    EXPECT_EQ(textsOf(review.monsters->changes),
              std::vector<std::string>{"Thistle Wisp (11): HP 197 \u2192 5000"});
    const ReviewTarget hp = review.monsters->changes.at(0).target;
    EXPECT_EQ(hp.kind, ReviewTarget::Kind::Monster);
    EXPECT_EQ(hp.monster, 9);
    EXPECT_EQ(hp.field, 1);
    const std::string spot = std::to_string(moved->spotid);
    EXPECT_EQ(textsOf(review.spawns->changes),
              std::vector<std::string>{"Drift Harrier, map 2, spot " + spot +
                                       ": moved from 218,53\u2013241,92 to 198,63\u2013221,102"});
    EXPECT_EQ(review.spawns->changes.at(0).target.spotid, moved->spotid);

    // Every line diff shows as added but the changed one changes only in form.
    EXPECT_EQ(review.monsters->formLines, addedLines(reviewDiff(*review.monsters)) - 1);
    EXPECT_EQ(review.spawns->formLines, addedLines(reviewDiff(*review.spawns)) - 1);
    EXPECT_GT(review.spawns->formLines, 100);
    // The sample's comments are each named as dropped, and nothing else is.
    const std::string spawnBytes = sampleBytes("Quarnel.txt");
    int comments = 0;
    for (std::size_t at = 0; (at = spawnBytes.find("//", at)) != std::string::npos; at = spawnBytes.find('\n', at))
        ++comments;
    EXPECT_EQ(static_cast<int>(review.spawns->dropped.size()), comments);
    EXPECT_TRUE(review.monsters->dropped.empty());

    // The problems are those varnex-check finds in the files the save then writes.
    ASSERT_TRUE(monsters.savemonsterdata(folder.path()));
    ASSERT_TRUE(spawns.save(folder.path()));
    const CheckResult saved = checkFolder(folder.path(), {});
    std::vector<std::string> checked, reviewed;
    for (const Problem& p : saved.problems)
        checked.push_back(p.inFolder + ":" + std::to_string(p.line) + ":" + std::to_string(p.column) + ": " + p.code +
                          " " + p.message);
    for (const auto* file : {&*review.monsters, &*review.spawns})
        for (const ReviewedProblem& r : file->problems)
            reviewed.push_back(r.problem.inFolder + ":" + std::to_string(r.problem.line) + ":" +
                               std::to_string(r.problem.column) + ": " + r.problem.code + " " + r.problem.message);
    EXPECT_EQ(reviewed, checked);
    EXPECT_FALSE(checked.empty());
    // The sample's own problems are all on disk already.
    for (const auto* file : {&*review.monsters, &*review.spawns})
        for (const ReviewedProblem& r : file->problems) EXPECT_FALSE(r.added) << r.problem.message;
}

struct MonsterCase {
    const char* name;
    std::vector<std::string> disk;    // lines of the file on disk (CR LF)
    std::vector<std::string> editor;  // the lines the editor holds, before the edit
    std::function<void(MonsterTable&)> edit;
    std::vector<std::string> changes;
    std::vector<std::string> dropped;
    int formLines;
};

TEST(SaveReview, MonsterChangesByMonsterAndField) {
    const std::string ant = monsterLine("0", "Big  Ant", "1");
    const std::string bee = monsterLine("1", "Bee", "2");
    const std::string wasp = monsterLine("2", "Wasp", "3");
    std::string antWithBlanks = ant;
    std::replace(antWithBlanks.begin(), antWithBlanks.end(), '\t', ' ');
    std::vector<MonsterCase> cases = {
        {"form only: blanks for tabs", {antWithBlanks, bee, "end"}, {antWithBlanks, bee, "end"}, {}, {}, {}, 1},
        {"two fields of one monster, the name's blanks made one",
         {ant, bee, "end"},
         {ant, bee, "end"},
         [](MonsterTable& t) {
             setField(t, 0, 0, 7);
             setField(t, 0, 12, 99);
         },
         {"Big Ant (0): LVL 1 \u2192 7", "Big Ant (0): RespawnTime(sec) 190 \u2192 99"},
         {},
         0},
        {"a field of the second of two monsters of one number",
         {ant, monsterLine("0", "Twin", "4"), "end"},
         {ant, monsterLine("0", "Twin", "4"), "end"},
         [](MonsterTable& t) { setField(t, 1, 1, 1234); },
         {"Twin (0): HP 50 \u2192 1234"},
         {},
         1},
        {"a value outside its bounds, pulled in when another is stored",
         {monsterLine("3", "Low", "0"), "end"},
         {monsterLine("3", "Low", "0"), "end"},
         [](MonsterTable& t) { setField(t, 0, 1, 60); },
         {"Low (3): LVL 0 \u2192 1", "Low (3): HP 50 \u2192 60"},
         {},
         0},
        {"a line the file on disk gained since it was read",
         {ant, wasp, bee, "end"},
         {ant, bee, "end"},
         {},
         {},
         {"line 2: \u201C" + wasp + "\u201D is not among the lines the editor holds (the file changed on disk since "
                                     "it was read)"},
         1},
        {"a line the file on disk lost",
         {ant, "end"},
         {ant, bee, "end"},
         {},
         {"line 2 is not in the file on disk: \u201C" + bee + "\u201D"},
         {},
         1},
    };
    // Columns told apart after runs both lines share: at the line's end, after a value
    // that grew, inside a quoted name, and a column one line lacks.
    {
        std::string lastChanged = antWithBlanks;
        lastChanged.replace(lastChanged.rfind("280"), 3, "281");
        cases.push_back({"the last column, on a line in blanks", {lastChanged, bee, "end"}, {ant, bee, "end"}, {},
                         {"Big Ant (0): Fire Rezist 281 \u2192 280"}, {}, 0});
        cases.push_back({"a value grown longer, then a later field",
                         {ant, bee, "end"},
                         {ant, bee, "end"},
                         [](MonsterTable& t) {
                             setField(t, 0, 1, 12345);
                             setField(t, 0, 12, 99);
                         },
                         {"Big Ant (0): HP 50 \u2192 12345", "Big Ant (0): RespawnTime(sec) 190 \u2192 99"},
                         {},
                         0});
        cases.push_back({"the last piece of a quoted name",
                         {monsterLine("0", "Big  Bee", "1"), bee, "end"},
                         {ant, bee, "end"},
                         {},
                         {"Big Ant (0): name \"Big Bee\" \u2192 \"Big Ant\""},
                         {},
                         0});
        // After a column told apart, a few bytes are left of each line, a tab of one
        // where the other has a digit.
        const std::string ends = ant.substr(0, ant.rfind("\t260\t"));
        cases.push_back({"the last three columns, few bytes left after the first",
                         {ends + "\t260\t1\t29", bee, "end"},
                         {ends + "\t261\t34\t9", bee, "end"},
                         {},
                         {"Big Ant (0): Ice Rezist 260 \u2192 261", "Big Ant (0): Lightning rezist 1 \u2192 34",
                          "Big Ant (0): Fire Rezist 29 \u2192 9"},
                         {},
                         0});
        // A name without its quotes is named as the file has it, whole.
        std::string orc = monsterLine("5", "Orc", "1");
        orc.replace(orc.find("\"Orc\""), 5, "Orc");
        cases.push_back({"a monster whose name has no quotes", {orc, "end"}, {orc, "end"},
                         [](MonsterTable& t) { setField(t, 0, 1, 77); }, {"Orc (5): HP 50 \u2192 77"}, {}, 0});
        const std::string shorter = ant.substr(0, ant.rfind('\t'));
        cases.push_back({"a column the line on disk lacks", {shorter, bee, "end"}, {ant, bee, "end"}, {},
                         {"Big Ant (0): Fire Rezist (none) \u2192 280"}, {}, 0});
    }
    // A save of 64 lines fills whole words of the diff's line marks: a count that read one
    // line past the last would read past them (the sanitizer build sees it).
    {
        std::vector<std::string> disk;
        for (int id = 0; id < 63; ++id) disk.push_back(monsterLine(std::to_string(id), "M", "1"));
        disk.push_back("end");
        std::replace(disk[62].begin(), disk[62].end(), '\t', ' ');
        cases.push_back({"64 lines, the last monster's in blanks", disk, disk, {}, {}, {}, 1});
    }
    for (const MonsterCase& c : cases) {
        MonsterTable table;
        table.loadFromText(crlf(c.editor), "data/monster.txt");
        if (c.edit) c.edit(table);
        const FileReview review = reviewMonsterSave({crlf(c.disk), ""}, table);
        EXPECT_EQ(textsOf(review.changes), c.changes) << c.name;
        EXPECT_EQ(textsOf(review.dropped), c.dropped) << c.name;
        EXPECT_EQ(review.formLines, c.formLines) << c.name;
        EXPECT_EQ(review.saved, table.fileBytes()) << c.name;
    }
}

TEST(SaveReview, BytesShownAsUtf8OrLatin1) {
    const struct {
        std::string bytes;
        std::string shown;
    } cases[] = {
        {"", ""},
        {"Big Ant 7", "Big Ant 7"},
        {"Gr\xC3\xBCn", "Gr\xC3\xBCn"},  // UTF-8 as it is
        {"Gr\xFCn", "Gr\xC3\xBCn"},      // Latin-1 made UTF-8
        {"\x80", "\xC2\x80"},            // a lone continuation byte is Latin-1 too
        {"\xC3", "\xC3\x83"},            // a sequence cut short
    };
    for (const auto& c : cases) EXPECT_EQ(shownBytes(c.bytes), c.shown) << c.bytes;
}

struct SpawnCase {
    const char* name;
    std::string disk;
    std::function<void(SpawnTable&)> edit;
    std::vector<std::string> changes;
    std::vector<std::string> dropped;
    std::string editor = {};  // what the editor read, when the file on disk changed since
};

TEST(SaveReview, SpotChangesAndDroppedLines) {
    MonsterTable monsters;
    // Not in the order of their numbers, and a number twice: a spot names the first.
    monsters.loadFromText(crlf({monsterLine("2", "Bee", "1"), monsterLine("1", "Ant", "1"),
                                monsterLine("1", "Second Ant", "1"), "end"}),
                          "data/monster.txt");
    const std::string twoSpots = crlf({"1", "1\t3\t0\t10\t10\t20\t20\t-1\t5", "end", "2", "2\t3\t0\t7\t8\t-1", "end"});
    const auto change = [](std::int32_t spotid, std::function<void(SpawnEntry&)> how) {
        return [spotid, how](SpawnTable& t) { how(t.entries[static_cast<std::size_t>(spotid)]); };
    };
    const SpawnCase cases[] = {
        {"nothing", twoSpots, {}, {}, {}},
        {"a range resized, its count and direction changed", twoSpots,
         change(0,
                [](SpawnEntry& e) {
                    e.x1 = 30;
                    e.count = 9;
                    e.dir = 4;
                }),
         {"Ant, map 3, spot 0: resized from 10,10\u201320,20 to 10,10\u201330,20; direction -1 \u2192 4; count 5 "
          "\u2192 9"},
         {}},
        {"a point moved to another map and monster", twoSpots,
         change(1,
                [](SpawnEntry& e) {
                    e.mapnumber = 4;
                    e.monsterid = 1;
                    e.x0 = 9;
                }),
         {"Ant, map 4, spot 1: monster Bee (2) \u2192 Ant (1); map 3 \u2192 4; moved from 7,8 to 9,8"},
         {}},
        {"one deleted, one created", twoSpots,
         [](SpawnTable& t) {
             t.entries[0].spotid = -1;
             SpawnEntry point = t.entries[1];
             point.x0 = 50;
             t.append(point);
         },
         {"Bee, map 3, spot 2: created at 50,8", "Ant, map 3, spot 0: deleted (was at 10,10\u201320,20)"},
         {}},
        {"a spot of a number the monster table lacks, created", twoSpots,
         [](SpawnTable& t) {
             SpawnEntry point = t.entries[1];
             point.monsterid = 0;  // below every number the table has
             point.x0 = 50;
             t.append(point);
         },
         {"monster 0, map 3, spot 2: created at 50,8"},
         {}},
        // The file on disk gained a spot before the two the editor read: they are found by
        // what they say, and the new one is the change.
        {"a spot the file on disk gained, before the others",
         crlf({"1", "1\t3\t0\t1\t1\t2\t2\t-1\t5", "1\t3\t0\t10\t10\t20\t20\t-1\t5", "end", "2",
               "2\t3\t0\t7\t8\t-1", "end"}),
         {},
         {"Ant, map 3, spot 0: deleted (was at 1,1\u20132,2)"},
         {},
         twoSpots},
        {"comments, a stray line and a missing monster's line",
         "// head\r\n2\r\n2 3 0 7 8 -1 // near the gate\r\n5\r\n9 3 0 1 1 -1\r\n  \r\nend\r\n",
         {},
         {},
         {"line 1: the comment \u201C// head\u201D",
          "line 3: the comment \u201C// near the gate\u201D after the spot's columns",
          "line 4: \u201C5\u201D, neither a section marker nor a spawn line",
          "line 5: a spawn line of monster 9, which data/monster.txt does not list: \u201C9 3 0 1 1 -1\u201D"}},
        {"the same spots in other sections' order: nothing but form",
         crlf({"2", "2\t3\t0\t7\t8\t-1", "end", "1", "1\t3\t0\t10\t10\t20\t20\t-1\t5", "end"}),
         {},
         {},
         {}},
    };
    for (const SpawnCase& c : cases) {
        SpawnTable spawns;
        spawns.loadFromText(c.editor.empty() ? c.disk : c.editor, "data/Quarnel.txt", monsters, {});
        if (c.edit) c.edit(spawns);
        const FileReview review = reviewSpawnSave({c.disk, ""}, spawns, monsters);
        EXPECT_EQ(textsOf(review.changes), c.changes) << c.name;
        EXPECT_EQ(textsOf(review.dropped), c.dropped) << c.name;
        EXPECT_EQ(review.formLines, addedLines(reviewDiff(review)) - static_cast<int>(
                                                                   std::count_if(review.changes.begin(),
                                                                                 review.changes.end(),
                                                                                 [](const ReviewItem& item) {
                                                                                     return item.text.find("deleted") ==
                                                                                            std::string::npos;
                                                                                 })))
            << c.name;
        EXPECT_EQ(review.saved, spawns.fileBytes()) << c.name;
    }
}

TEST(SaveReview, ProblemsTheSaveAddsAreMarked) {
    const std::string monsterBytes = crlf({monsterLine("1", "Ant", "1"), "end"});
    MonsterTable monsters;
    monsters.loadFromText(monsterBytes, "data/monster.txt");
    // Spot 0 has its corners reversed on disk already; spot 1 gets them reversed.
    const std::string disk = crlf({"1", "1\t3\t0\t30\t10\t20\t20\t-1\t5", "1\t3\t0\t10\t10\t20\t20\t-1\t5", "end"});
    SpawnTable spawns;
    spawns.loadFromText(disk, "data/Quarnel.txt", monsters, {});
    spawns.entries[1].x0 = 40;
    FileReview review = reviewSpawnSave({disk, ""}, spawns, monsters);
    DiskProblems onDisk;
    addProblems(nullptr, &review, monsterBytes, disk, nullptr, onDisk);
    std::vector<std::string> marked;
    for (const ReviewedProblem& p : review.problems)
        marked.push_back(p.problem.code + " spot " + std::to_string(p.target.spotid) + (p.added ? " added" : ""));
    EXPECT_EQ(marked, (std::vector<std::string>{"reversed-range spot 0", "reversed-range spot 1 added"}));
}

// Only a file with unsaved changes is reviewed: one the sources do not name as unsaved is
// left out, its changes and its problems.
TEST(SaveReview, ReviewsOnlyTheFilesWithUnsavedChanges) {
    const TempFolder folder;
    const std::string monsterBytes = crlf({monsterLine("1", "Ant", "1"), "end"});
    // The spot's corners are reversed on disk already.
    const std::string spawnBytes = crlf({"1", "1\t3\t0\t30\t10\t20\t20\t-1\t5", "end"});
    folder.write("data/monster.txt", monsterBytes);
    folder.write("data/Quarnel.txt", spawnBytes);
    MonsterTable monsters;
    monsters.loadFromText(monsterBytes, "data/monster.txt");
    SpawnTable spawns;
    spawns.loadFromText(spawnBytes, "data/Quarnel.txt", monsters, {});
    setField(monsters, 0, 1, 60);
    spawns.entries[0].count = 7;
    const fs::path monsterFile = folder.path() / "data" / "monster.txt";
    const fs::path spawnFile = folder.path() / "data" / "Quarnel.txt";

    // Each file reviewed: its changes, then its problems (marked when the save adds them).
    struct Case {
        const char* name;
        std::function<ReviewSources()> sources;
        std::optional<std::vector<std::string>> monsters;
        std::optional<std::vector<std::string>> spawns;
    };
    using Lines = std::vector<std::string>;
    const Case cases[] = {
        {"the monster file",
         [&] {
             return ReviewSources{.monsters = monsters,
                                  .spawns = spawns,
                                  .monstersUnsaved = true,
                                  .monsterFile = monsterFile,
                                  .spawnFile = spawnFile,
                                  .pictureFolder = std::nullopt};
         },
         Lines{"Ant (1): HP 50 \u2192 60"}, std::nullopt},
        {"the spawn file",
         [&] {
             return ReviewSources{.monsters = monsters,
                                  .spawns = spawns,
                                  .spawnsUnsaved = true,
                                  .monsterFile = monsterFile,
                                  .spawnFile = spawnFile,
                                  .pictureFolder = std::nullopt};
         },
         std::nullopt, Lines{"Ant, map 3, spot 0: count 5 \u2192 7", "reversed-range"}},
        {"neither",
         [&] {
             return ReviewSources{.monsters = monsters,
                                  .spawns = spawns,
                                  .monsterFile = monsterFile,
                                  .spawnFile = spawnFile,
                                  .pictureFolder = std::nullopt};
         },
         std::nullopt, std::nullopt},
    };
    const auto shown = [](const std::optional<FileReview>& review) -> std::optional<Lines> {
        if (!review) return std::nullopt;
        Lines lines = textsOf(review->changes);
        for (const ReviewedProblem& p : review->problems) lines.push_back(p.problem.code + (p.added ? " added" : ""));
        return lines;
    };
    for (const Case& c : cases) {
        DiskProblems onDisk;
        const SaveReview review = reviewSave(c.sources(), onDisk);
        EXPECT_EQ(shown(review.monsters), c.monsters) << c.name;
        EXPECT_EQ(shown(review.spawns), c.spawns) << c.name;
    }
}

// The disk's problems are checked again only when the files' bytes change: a map picture
// that appears meanwhile changes nothing until then.
TEST(SaveReview, TheDisksProblemsAreKeptWhileItsBytesStay) {
    const TempFolder folder;
    const std::string monsterBytes = crlf({monsterLine("1", "Ant", "1"), "end"});
    const std::string spawnBytes = crlf({"0", "1\t0\t0\t5\t5\t-1", "end"});
    const fs::path pictures = folder.path();
    DiskProblems onDisk;
    const auto codes = [](const CheckResult& result) {
        std::vector<std::string> found;
        for (const Problem& p : result.problems) found.push_back(p.code);
        return found;
    };
    EXPECT_EQ(codes(onDisk.of(monsterBytes, spawnBytes, &pictures)), std::vector<std::string>{"no-picture"});
    folder.write("VarnexMaps/0.jpg", fileBytes(kPlanted / "VarnexMaps" / "0.jpg"));
    EXPECT_EQ(codes(onDisk.of(monsterBytes, spawnBytes, &pictures)), std::vector<std::string>{"no-picture"});
    EXPECT_TRUE(codes(onDisk.of(monsterBytes, spawnBytes + "\r\n", &pictures)).empty());
}

}  // namespace
