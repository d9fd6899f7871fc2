// varnex-check over small crafted folders: the exact lines printed and the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "Checker.h"
#include "PlantedFolder.h"
#include "Rules.h"
#include "Run.h"
#include "TableFixtures.h"
#include "TempFolder.h"
#include "TextFilePlatform.h"

namespace {

const std::filesystem::path kSample = std::filesystem::path(VARNEX_SOURCE_DIR) / "sample";

std::string monsterFile(int count) {
    std::vector<std::string> rows;
    for (int id = 0; id < count; ++id) rows.push_back(monsterLine(std::to_string(id), "M" + std::to_string(id), "1"));
    rows.push_back("end");
    return crlf(rows);
}

std::string spawnFile(int count) {
    std::string bytes = "0\r\n";
    for (int i = 0; i < count; ++i) bytes += "0\t0\t0\t" + std::to_string(i % 256) + "\t9\t-1\r\n";
    return bytes + "end\r\n";
}

const std::string kTwoMonsters = monsterFile(2);
const std::string kOneSpot = spawnFile(1);  // monster 0 on map 0
const std::string kPicture = fileBytes(kPlanted / "VarnexMaps" / "0.jpg");

// Monsters 0 and 1, a NUL byte inside the line of monster 2, then monsters 3 and 4, the
// end line, and monster 5 after it (never read, NUL or not).
const std::string kNulTable = [] {
    const std::string cut = monsterLine("2", "M2", "1");
    return crlf({monsterLine("0", "M0", "1"), monsterLine("1", "M1", "1")}) + cut.substr(0, 9) + '\0' +
           cut.substr(9) + "\r\n" +
           crlf({monsterLine("3", "M3", "1"), monsterLine("4", "M4", "1"), "end", monsterLine("5", "M5", "1")});
}();
// Spots of monster 0 (read), 2, 3, 4 (after the NUL byte), 5 (after the end line) and 9 (nowhere).
const std::string kSpawnsOfNulTable = "0\r\n0 0 0 1 1 -1\r\n2 0 0 1 1 -1\r\n3 0 0 1 1 -1\r\n4 0 0 1 1 -1\r\n"
                                      "5 0 0 1 1 -1\r\n9 0 0 1 1 -1\r\n";

// A monster line whose MP (column 6), m.Def (column 10) and MoveRange (column 13) are
// -1, below their lower bound of 0.
std::string belowZero() {
    std::string line = monsterLine("1", "Low", "1", "-1");
    line.replace(line.find("\t60\t"), 4, "\t-1\t");
    line.replace(line.find("\t100\t"), 5, "\t-1\t");
    return line;
}

const std::string kBom = "\xEF\xBB\xBF";
const std::string kBomStop =
    "error: the editor's load stops here: The file starts with a UTF-8 byte order mark (\\uFEFF), which a table "
    "file may not hold: save it without one [load-stops]";

TEST(VarnexCheck, ListsTheProblemsOfACraftedFolderWithItsExitStatus) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;  // relative path: bytes
        std::vector<std::string> flags;
        std::string out;  // "{F}": the folder
        int status;
        std::map<std::string, std::string> links = {};  // relative path: the link's target
    };
    const Case cases[] = {
        {"clean",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", kOneSpot}, {"VarnexMaps/0.jpg", kPicture}},
         {},
         lines({"2 files, 2 monsters, 1 spot: 0 errors, 0 warnings"}),
         kExitClean},
        {"no data files",
         {{"VarnexMaps/0.jpg", kPicture}},
         {},
         lines({"{F}/data/monster.txt: error: Cannot open file {F}/data/monster.txt (No such file or directory) "
                "[unreadable-file]",
                "{F}/data/Quarnel.txt: error: Cannot open file {F}/data/Quarnel.txt (No such file or directory) "
                "[unreadable-file]",
                "2 files, 0 monsters, 0 spots: 2 errors, 0 warnings"}),
         kExitErrors},
        {"a monster table that cannot be read: the spawn file is not counted or checked further",
         {{"data/Quarnel.txt", "0\r\n1 7 0 9 9 -1\r\n1 7 0 9 300 -1\r\n"}},
         {},
         lines({"{F}/data/monster.txt: error: Cannot open file {F}/data/monster.txt (No such file or directory) "
                "[unreadable-file]",
                "{F}/data/Quarnel.txt: error: data/monster.txt cannot be read, so the editor does not read "
                "data/Quarnel.txt either, and will not save over it [load-stops]",
                "2 files, 0 monsters, 0 spots: 2 errors, 0 warnings"}),
         kExitErrors},
        {"a monster table without monsters",
         {{"data/monster.txt", "end\r\n"}, {"data/Quarnel.txt", kOneSpot}},
         {},
         lines({"{F}/data/Quarnel.txt: error: data/monster.txt lists no monster, so every line of data/Quarnel.txt "
                "would be dropped; the spawn file is not read, and the editor will not save over it [load-stops]",
                "2 files, 0 monsters, 0 spots: 1 error, 0 warnings"}),
         kExitErrors},
        {"a byte order mark",
         {{"data/monster.txt", kBom + kTwoMonsters}, {"data/Quarnel.txt", kBom + "0\r\n1 7 0 9 9 -1\r\n"}},
         {"--no-pictures"},
         lines({"{F}/data/monster.txt:1:1: " + kBomStop, "{F}/data/Quarnel.txt:1:1: " + kBomStop,
                "2 files, 1 monster, 1 spot: 2 errors, 0 warnings"}),
         kExitErrors},
        {"a NUL byte",
         {{"data/monster.txt", crlf({monsterLine("0", "M0", "1"), monsterLine("1", "M1", "1")}) + std::string("2\0", 2)},
          {"data/Quarnel.txt", kOneSpot},
          {"VarnexMaps/0.jpg", kPicture}},
         {},
         lines({"{F}/data/monster.txt:3:1: error: the editor's load stops here: {F}/data/monster.txt holds a NUL "
                "byte at line 3; only the lines before it are shown, and the editor will not save over this file "
                "[load-stops]",
                "2 files, 2 monsters, 1 spot: 1 error, 0 warnings"}),
         kExitErrors},
        {"more monsters and spots than the editor holds",
         {{"data/monster.txt", monsterFile(1025)}, {"data/Quarnel.txt", spawnFile(10241)}},
         {"--no-pictures"},
         lines({"{F}/data/monster.txt:1025:1: error: the editor's load stops here: {F}/data/monster.txt holds more "
                "than 1024 monsters; only the first 1024 are listed. [load-stops]",
                "{F}/data/Quarnel.txt:10242:1: error: the editor's load stops here: {F}/data/Quarnel.txt holds more "
                "than 10240 spawn places; only the first 10240 are listed. [load-stops]",
                "2 files, 1024 monsters, 10240 spots: 2 errors, 0 warnings"}),
         kExitErrors},
        {"warnings alone",
         {{"data/monster.txt", kTwoMonsters + "\r\n  \r\nlost line\r\n"},
          {"data/Quarnel.txt", "1\r\n1  7 0 9 9 3 3 -1 5\r\n"}},
         {},
         lines({"{F}/data/monster.txt:6:1: warning: 1 line after the end line (line 3) is kept but never read "
                "[after-end]",
                "{F}/data/Quarnel.txt:2:4: warning: no picture of map 7: {F}/VarnexMaps/7.jpg is not there, so the "
                "preview shows no map [no-picture]",
                "{F}/data/Quarnel.txt:2:8: warning: range spot with x0 9 > x1 3 and y0 9 > y1 3: its corners are in "
                "reverse order (the add-location dialog writes x0 <= x1 and y0 <= y1) [reversed-range]",
                "2 files, 2 monsters, 1 spot: 0 errors, 3 warnings"}),
         kExitClean},
        {"values below their lower bound of 0",
         {{"data/monster.txt", crlf({belowZero()})}, {"data/Quarnel.txt", ""}},
         {},
         lines({"{F}/data/monster.txt:1:16: warning: outside the stats page's bounds, changed when this monster is "
                "edited: MP (column 6) -1 becomes 0, m.Def (column 10) -1 becomes 0 [clamped-values]",
                "{F}/data/monster.txt:1:39: warning: MoveRange (column 13) is -1, not one of its entries 0..5: the "
                "stats page shows none chosen and keeps the value when the monster is edited [move-range]",
                "2 files, 1 monster, 0 spots: 0 errors, 2 warnings"}),
         kExitClean},
        {"a folder where a picture should be",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", kOneSpot}, {"VarnexMaps/0.jpg/README", ""}},
         {},
         lines({"{F}/data/Quarnel.txt:2:3: warning: no picture of map 0: {F}/VarnexMaps/0.jpg is not a regular file, "
                "so the preview shows no map [no-picture]",
                "2 files, 2 monsters, 1 spot: 0 errors, 1 warning"}),
         kExitClean},
        {"a picture that is a symbolic link loop",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", kOneSpot}},
         {},
         lines({"{F}/data/Quarnel.txt:2:3: warning: no picture of map 0: {F}/VarnexMaps/0.jpg is a symbolic link "
                "loop, so the preview shows no map [no-picture]",
                "2 files, 2 monsters, 1 spot: 0 errors, 1 warning"}),
         kExitClean,
         {{"VarnexMaps/0.jpg", "0.jpg"}}},
        {"a NUL byte: spawn lines naming monsters only the unread rest holds are one note, others still errors",
         {{"data/monster.txt", kNulTable}, {"data/Quarnel.txt", kSpawnsOfNulTable}},
         {"--no-pictures"},
         lines({"{F}/data/monster.txt:3:1: error: the editor's load stops here: {F}/data/monster.txt holds a NUL "
                "byte at line 3; only the lines before it are shown, and the editor will not save over this file "
                "[load-stops]",
                "{F}/data/Quarnel.txt:3:1: note: this spawn line and 2 more after it name monsters that are only on "
                "unread lines of data/monster.txt (from line 3): the editor drops them until those lines can be "
                "read, so they are not listed one by one [unread-monster]",
                "{F}/data/Quarnel.txt:6:1: error: Cant find monster in monster.txt with ID5 this ID was found in "
                "quarnel.txt and was removed. [missing-monster]",
                "{F}/data/Quarnel.txt:7:1: error: Cant find monster in monster.txt with ID9 this ID was found in "
                "quarnel.txt and was removed. [missing-monster]",
                "2 files, 2 monsters, 1 spot: 3 errors, 0 warnings, 1 note"}),
         kExitErrors},
        {"a monster line where the load stops: the spawn line of its monster is a note",
         {{"data/monster.txt", crlf({monsterLine("0", "M0", "1"), monsterLine("7", "M7", "300"), "end"})},
          {"data/Quarnel.txt", "0\r\n7 0 0 1 1 -1\r\n"}},
         {},
         lines({"{F}/data/monster.txt:2:10: error: the editor's load stops here: Range check error [load-stops]",
                "{F}/data/Quarnel.txt:2:1: note: this spawn line names a monster that is only on an unread line of "
                "data/monster.txt (line 2): the editor drops it until that line can be read [unread-monster]",
                "2 files, 1 monster, 0 spots: 1 error, 0 warnings, 1 note"}),
         kExitErrors},
        {"monsters past the 1024th are unread too",
         {{"data/monster.txt", monsterFile(1026)}, {"data/Quarnel.txt", "0\r\n1025 0 0 1 1 -1\r\n"}},
         {},
         lines({"{F}/data/monster.txt:1025:1: error: the editor's load stops here: {F}/data/monster.txt holds more "
                "than 1024 monsters; only the first 1024 are listed. [load-stops]",
                "{F}/data/Quarnel.txt:2:1: note: this spawn line names a monster that is only on an unread line of "
                "data/monster.txt (line 1026): the editor drops it until that line can be read [unread-monster]",
                "2 files, 1024 monsters, 0 spots: 1 error, 0 warnings, 1 note"}),
         kExitErrors},
        {"notes never fail a run, not even with --fail-on warning",
         {{"data/monster.txt", kNulTable}, {"data/Quarnel.txt", kSpawnsOfNulTable}},
         {"--no-pictures", "--ignore", "load-stops,missing-monster", "--fail-on=warning", "-q"},
         lines({"2 files, 2 monsters, 1 spot: 0 errors, 0 warnings, 1 note"}),
         kExitClean},
        {"--fail-on warning: a warning fails the run",
         {{"data/monster.txt", kTwoMonsters + "lost line\r\n"}, {"data/Quarnel.txt", kOneSpot}},
         {"--no-pictures", "--fail-on", "warning"},
         lines({"{F}/data/monster.txt:4:1: warning: 1 line after the end line (line 3) is kept but never read "
                "[after-end]",
                "2 files, 2 monsters, 1 spot: 0 errors, 1 warning"}),
         kExitErrors},
        {"--fail-on error: warnings alone pass",
         {{"data/monster.txt", kTwoMonsters + "lost line\r\n"}, {"data/Quarnel.txt", kOneSpot}},
         {"--no-pictures", "--fail-on=error", "-q"},
         lines({"2 files, 2 monsters, 1 spot: 0 errors, 1 warning"}),
         kExitClean},
        {"--quiet lists errors only",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", "0\r\n1 7 0 9 9 -1\r\n5 7 0 9 9 -1\r\n"}},
         {"-q"},
         lines({"{F}/data/Quarnel.txt:3:1: error: Cant find monster in monster.txt with ID5 this ID was found in "
                "quarnel.txt and was removed. [missing-monster]",
                "2 files, 2 monsters, 1 spot: 1 error, 1 warning"}),
         kExitErrors},
        {"--json --quiet lists no warning but counts it",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", "0\r\n1 7 0 9 9 -1\r\n5 7 0 9 9 -1\r\n"}},
         {"--json", "--quiet"},
         lines({"{", "  \"files\": 2,", "  \"monsters\": 2,", "  \"spots\": 1,", "  \"errors\": 1,",
                "  \"warnings\": 1,", "  \"notes\": 0,", "  \"problems\": [",
                "    {\"file\": \"{F}/data/Quarnel.txt\", \"line\": 3, \"column\": 1, \"severity\": \"error\", "
                "\"code\": \"missing-monster\", \"message\": \"Cant find monster in monster.txt with ID5 this ID was "
                "found in quarnel.txt and was removed.\"}",
                "  ]", "}"}),
         kExitErrors},
        {"--ignore leaves a rule out of the report, the counts and the exit status",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", "0\r\n1 7 0 9 9 -1\r\n5 7 0 9 9 -1\r\n"}},
         {"--ignore", "missing-monster,after-end", "--ignore=no-picture"},
         lines({"2 files, 2 monsters, 1 spot: 0 errors, 0 warnings"}),
         kExitClean},
        {"--no-pictures",
         {{"data/monster.txt", kTwoMonsters}, {"data/Quarnel.txt", "0\r\n1 7 0 9 9 -1\r\n"}},
         {"--no-pictures"},
         lines({"2 files, 2 monsters, 1 spot: 0 errors, 0 warnings"}),
         kExitClean},
        {"--json shows the bytes that are not UTF-8 text as on a text line",
         {{"data/monster.txt", crlf({monsterLine("1", "A", "\xC3\xA9\xC4\""), monsterLine("2", "B", "1") + "\t7"})},
          {"data/Quarnel.txt", kOneSpot}},
         {"--format", "json", "--no-pictures"},
         lines({"{",
                "  \"files\": 2,",
                "  \"monsters\": 1,",
                "  \"spots\": 0,",
                "  \"errors\": 3,",
                "  \"warnings\": 0,",
                "  \"notes\": 0,",
                "  \"problems\": [",
                "    {\"file\": \"{F}/data/monster.txt\", \"line\": 1, \"column\": 9, \"severity\": \"error\", "
                "\"code\": \"load-stops\", \"message\": \"the editor's load stops here: '\xC3\xA9\\\\xc4\\\"' is not "
                "a valid integer value\"},",
                "    {\"file\": \"{F}/data/monster.txt\", \"line\": 2, \"column\": 96, \"severity\": \"error\", "
                "\"code\": \"cannot-edit\", \"message\": \"the stats page cannot show this monster: '280\\\\t7' is "
                "not a valid integer value (the line has 29 columns; a monster line has 28)\"},",
                "    {\"file\": \"{F}/data/Quarnel.txt\", \"line\": 2, \"column\": 1, \"severity\": \"error\", "
                "\"code\": \"missing-monster\", \"message\": \"Cant find monster in monster.txt with ID0 this ID was "
                "found in quarnel.txt and was removed.\"}",
                "  ]",
                "}"}),
         kExitErrors},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        for (const auto& [relative, bytes] : c.files) folder.write(relative, bytes);
        for (const auto& [relative, target] : c.links) {
            std::filesystem::create_directories((folder.path() / relative).parent_path());
            std::filesystem::create_symlink(target, folder.path() / relative);
        }
        std::vector<std::string> args = c.flags;
        args.push_back(folder.path().string());
        const Outcome run = check(args);
        EXPECT_EQ(run.out, placed(c.out, folder.path().string())) << c.name;
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
    }
}

TEST(VarnexCheck, ListsEveryPlantedProblem) {
    const Outcome run = check({kPlanted.string()});
    const std::string expected = lines({
        "{F}/data/monster.txt:3:19: error: the editor's load stops here: Range check error [load-stops]",
        "{F}/data/monster.txt:4:1: error: the editor's load stops here: 'x3' is not a valid integer value "
        "[load-stops]",
        "{F}/data/monster.txt:5:105: error: the stats page cannot show this monster: '280\\t77\\t78' is not a valid "
        "integer value (the line has 30 columns; a monster line has 28) [cannot-edit]",
        "{F}/data/monster.txt:6:103: error: the stats page cannot show this monster: '280\\t' is not a valid integer "
        "value (the line ends with blanks) [cannot-edit]",
        "{F}/data/monster.txt:7:29: error: the stats page cannot show this monster: '7\xC3\xA9' is not a valid "
        "integer value (column 7 (DmgMin) is not a number) [cannot-edit]",
        "{F}/data/monster.txt:8:1: warning: monster number 1 is on line 2 too; the editor takes line 2's monster for "
        "spawn lines and the add-location dialog [duplicate-monster]",
        "{F}/data/monster.txt:9:16: warning: outside the stats page's bounds, changed when this monster is edited: "
        "LVL (column 4) 0 becomes 1, HP (column 5) 0 becomes 1, AtackSpeed 2000/ (column 18) 2500 becomes 2000 "
        "[clamped-values]",
        "{F}/data/monster.txt:10:49: warning: MoveRange (column 13) is 7, not one of its entries 0..5: the stats "
        "page shows none chosen and keeps the value when the monster is edited [move-range]",
        "{F}/data/monster.txt:11:17: error: the editor's load stops here: '\\xc4' is not a valid integer value "
        "[load-stops]",
        "{F}/data/monster.txt:13:1: warning: 1 line after the end line (line 12) is kept but never read [after-end]",
        "{F}/data/Quarnel.txt:4:3: warning: no picture of map 5: {F}/VarnexMaps/5.jpg is not there, so the preview "
        "shows no map [no-picture]",
        "{F}/data/Quarnel.txt:5:1: error: Cant find monster in monster.txt with ID77 this ID was found in "
        "quarnel.txt and was removed. [missing-monster]",
        "{F}/data/Quarnel.txt:8:3: warning: the picture of map 1 does not decode: {F}/VarnexMaps/1.jpg is not a "
        "readable JPEG picture (Not a JPEG file: starts with 0x6e 0x6f) [unreadable-picture]",
        "{F}/data/Quarnel.txt:8:7: warning: range spot with x0 40 > x1 20: its corners are in reverse order (the "
        "add-location dialog writes x0 <= x1 and y0 <= y1) [reversed-range]",
        "{F}/data/Quarnel.txt:9:13: error: the editor's load stops here: Range check error [load-stops]",
        "{F}/data/Quarnel.txt:10:21: error: the editor's load stops here: '' is not a valid integer value "
        "[load-stops]",
        "{F}/data/Quarnel.txt:13:11: error: the editor's load stops here: 'abc' is not a valid integer value "
        "[load-stops]",
        "2 files, 8 monsters, 3 spots: 10 errors, 7 warnings",
    });
    EXPECT_EQ(run.out, placed(expected, kPlanted.string()));
    EXPECT_EQ(run.status, kExitErrors);
    // Each code is a rule --help lists, with the rule's severity.
    for (const Problem& problem : checkFolder(kPlanted, {}).problems) {
        const Rule* rule = findRule(problem.code);
        ASSERT_NE(rule, nullptr) << problem.code;
        EXPECT_EQ(rule->severity, problem.severity) << problem.code;
        EXPECT_NE(usageText().find("\n  " + problem.code + " "), std::string::npos) << problem.code;
    }
}

TEST(VarnexCheck, TheSampleHasNoError) {
    const Outcome run = check({kSample.string()});
    EXPECT_EQ(run.status, kExitClean);
    EXPECT_EQ(run.out.find(": error: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" spots: 0 errors, "), std::string::npos) << run.out;
}

TEST(VarnexCheck, ArgumentsItCannotRunWith) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string outStart;  // "": nothing is written
        std::string errStart;
    };
    const std::string file = (kPlanted / "data" / "monster.txt").string();
    const std::string version = std::string("varnex-check ") + VARNEX_VERSION + "\n";
    const std::string usage = "Usage: varnex-check [OPTION]... [FOLDER]\n";
    const Case cases[] = {
        {{"--version"}, kExitClean, version, ""},
        {{"-V"}, kExitClean, version, ""},
        {{"--help", kPlanted.string()}, kExitClean, usage, ""},
        {{"-h"}, kExitClean, usage, ""},
        {{"--", "--no-such-folder"}, kExitCannotRun, "", "varnex-check: --no-such-folder: no such folder\n"},
        {{file}, kExitCannotRun, "", "varnex-check: " + file + ": a file, not a folder\n"},
        {{"--json", "/no/such/folder"}, kExitCannotRun, "{\n  \"error\": \"/no/such/folder: no such folder\",\n",
         "varnex-check: /no/such/folder: no such folder\n"},
        {{"--bogus", "--format=json"}, kExitCannotRun, "{\n  \"error\": \"unknown option --bogus\",\n",
         "varnex-check: unknown option --bogus\n"},
        {{"--format", "xml"}, kExitCannotRun, "", "varnex-check: unknown format xml (text, json or sarif)\n"},
        {{"--format"}, kExitCannotRun, "", "varnex-check: --format needs a value\n"},
        {{"--ignore", "no-such-rule"}, kExitCannotRun, "", "varnex-check: unknown rule code no-such-rule (see --help)\n"},
        {{"a", "b"}, kExitCannotRun, "", "varnex-check: one folder only (a and b)\n"},
        // Of two bad arguments, the first is the one reported.
        {{"--bogus", "--format", "xml"}, kExitCannotRun, "", "varnex-check: unknown option --bogus\n"},
        {{"--format", "xml", "--bogus"}, kExitCannotRun, "", "varnex-check: unknown format xml (text, json or sarif)\n"},
        {{"--ignore", "after-end,no-such-rule,other"}, kExitCannotRun, "",
         "varnex-check: unknown rule code no-such-rule (see --help)\n"},
        {{"--ignore=after-end,"}, kExitCannotRun, "", "varnex-check: an empty rule code in --ignore after-end,\n"},
        {{"--fail-on", "note"}, kExitCannotRun, "",
         "varnex-check: unknown severity note for --fail-on (error or warning)\n"},
        {{"--base", "/no/such/folder", kPlanted.string()}, kExitCannotRun, "",
         "varnex-check: --base /no/such/folder: no such folder\n"},
        {{"--base", (kPlanted / "data").string(), kPlanted.string()}, kExitCannotRun, "",
         "varnex-check: " + kPlanted.string() + " is not inside the --base folder " + (kPlanted / "data").string() +
             "\n"},
    };
    for (const auto& c : cases) {
        const Outcome run = check(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.front();
        EXPECT_EQ(run.out.substr(0, c.outStart.size()), c.outStart) << c.args.front();
        EXPECT_EQ(run.out.empty(), c.outStart.empty()) << c.args.front();
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart) << c.args.front();
    }
}

// Only the editor's own temporary files of a save are its concern; numbered backups
// and other files beside the tables are not. A process is named only where a save in
// progress holds the file and a process of that number runs: a number in a file's
// name says nothing once its save is over.
TEST(VarnexCheck, WarnsOfTemporaryFilesOfUnfinishedSavesAndIgnoresBackups) {
    TempFolder folder;
    folder.write("data/monster.txt", kTwoMonsters);
    folder.write("data/Quarnel.txt", kOneSpot);
    const std::string running = std::to_string(platform::currentProcess());
    const struct {
        std::string name;
        bool held;  // by a save in progress
        std::string told;  // what follows "{F}/data/<name> "
    } temporaries[] = {
        {".monster.txt.tmp-" + running + "-5-0", true, "is the temporary file of a save in progress (process " + running + ")"},
        {".monster.txt.tmp-99999999-3-0", false,
         "is a temporary file left by a save that did not finish; the editor removes it when it next starts"},
        {".Quarnel.txt.tmp-" + running + "-0-1", false,
         "is a temporary file left by a save that did not finish; the editor removes it when it next starts"},
        {".Quarnel.txt.tmp-99999997-0-0", true, "is the temporary file of a save in progress"},
    };
    for (const char* name : {"monster.txt.~1~", "Quarnel.txt.~12~", ".other.tmp-99999999-0-0", "Quarnel.txt.tmp"})
        folder.write(std::string("data/") + name, "x");
    const platform::Folder data = platform::Folder::open(folder.path() / "data", platform::Folder::Trust::any);
    std::vector<platform::File> held;
    std::vector<std::string> expected;
    for (const auto& t : temporaries) {
        folder.write("data/" + t.name, "x");
        if (t.held) {
            held.push_back(data.openFile(t.name));
            ASSERT_TRUE(held.back().tryLock()) << t.name;
        }
        const std::string table = t.name.substr(1, t.name.find(".tmp-") - 1);
        expected.push_back("{F}/data/" + table + ": warning: {F}/data/" + t.name + " " + t.told + " [stale-temporary]");
    }
    expected.push_back("2 files, 2 monsters, 1 spot: 0 errors, 4 warnings");
    const Outcome run = check({"--no-pictures", folder.path().string()});
    EXPECT_EQ(run.out, placed(lines(expected), folder.path().string()));
    EXPECT_EQ(run.status, kExitClean);
    const Outcome json = check({"--json", "--no-pictures", folder.path().string()});
    EXPECT_NE(json.out.find("\"code\": \"stale-temporary\""), std::string::npos) << json.out;
}

// --quiet lists the errors alone in every format, the others still counted: a folder
// with errors, a warning and notes, checked with and without it.
TEST(VarnexCheck, QuietListsErrorsOnlyInEveryFormat) {
    TempFolder folder;
    folder.write("data/monster.txt", kNulTable);
    folder.write("data/Quarnel.txt", kSpawnsOfNulTable);
    const struct {
        const char* name;
        std::vector<std::string> flags;
        std::string error, warning, note;  // how the format marks a problem of each severity
    } formats[] = {
        {"text", {}, ": error: ", ": warning: ", ": note: "},
        {"json", {"--json"}, R"("severity": "error")", R"("severity": "warning")", R"("severity": "note")"},
        {"sarif", {"--format", "sarif"}, R"("level": "error", "message")", R"("level": "warning", "message")",
         R"("level": "note", "message")"},
    };
    const auto count = [](const std::string& text, const std::string& mark) {
        std::size_t found = 0;
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) ++found;
        return found;
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.name);
        std::vector<std::string> args = f.flags;
        args.push_back(folder.path().string());  // map 0 has spots and no picture: a warning
        const Outcome all = check(args);
        args.insert(args.begin(), "--quiet");
        const Outcome quiet = check(args);
        EXPECT_GT(count(all.out, f.error), 0u);
        EXPECT_GT(count(all.out, f.warning), 0u);
        EXPECT_GT(count(all.out, f.note), 0u);
        EXPECT_EQ(count(quiet.out, f.error), count(all.out, f.error));
        EXPECT_EQ(count(quiet.out, f.warning), 0u) << quiet.out;
        EXPECT_EQ(count(quiet.out, f.note), 0u) << quiet.out;
        EXPECT_EQ(quiet.status, all.status);
    }
}

}  // namespace
