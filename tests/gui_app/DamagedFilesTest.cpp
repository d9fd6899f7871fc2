// Damaged and hand-edited table files at start-up: what loads, what the operator is
// told, and what each save button then does to the files on disk. A save never writes
// less than the file held, and never replaces another program's changes unasked.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <QToolButton>
#include <QTest>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "StartUpWork.h"
#include "StatsPage.h"
#include "MainWindow.h"

namespace {

namespace fs = std::filesystem;

// What a file is on disk: a save that went through replaces it by a new file (a new
// inode), one that was refused leaves it exactly as it was.
std::string fingerprint(const fs::path& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) return "missing";
    if (S_ISLNK(info.st_mode)) return "link to " + fs::read_symlink(file).string();
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    std::string print = "inode " + std::to_string(info.st_ino) + ", " + std::to_string(info.st_size) + " bytes";
    if (info.st_size <= (1 << 20)) {
        std::ifstream in(file, std::ios::binary);
        print += ": " + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return print;
}

// The NUL byte put at the start or at the end of a 1-based line of CR LF text.
std::string withNul(const std::string& text, int line, bool atEnd) {
    std::size_t at = 0;
    for (int i = 1; i < line; ++i) at = text.find("\r\n", at) + 2;
    if (atEnd) at = text.find("\r\n", at);
    return text.substr(0, at) + '\0' + text.substr(at);
}

// Both files hold something that a save writes differently: the blanks after "end"
// become a tab, the comment line is left out.
const std::string kMonsters =
    monsterFile({monsterLine(100, "Hound"), monsterLine(101, "Rat"), monsterLine(102, "Imp"),
                 monsterLine(103, "Crab")}) + "notes  here\r\n";
const std::string kSpawns =
    "// spots\r\n0\r\n100\t1\t0\t10\t20\t1\r\n101\t2\t0\t11\t21\t1\r\nend\r\n"
    "1\r\n102\t3\t0\t1\t2\t3\t4\t-1\t5\r\nend\r\n2\r\nend\r\n3\r\nend\r\n4\r\nend\r\n";

std::string nulAt(const char* file, int line) {
    return std::string(file) + " holds a NUL byte at line " + std::to_string(line) +
           "; only the lines before it are shown, and the editor will not save over this file";
}
std::string stoppedAt(const char* file, int line) {
    return std::string(file) + " was not read completely (reading stopped at line " + std::to_string(line) +
           "); saving now would lose the rest of it. Correct the file and start the editor again.";
}
const std::string kMonstersUnread =
    "data/monster.txt could not be read at start-up; saving now would replace it with an empty table. "
    "Correct the file and start the editor again.";
const std::string kSpawnsUnreadForMonsters =
    "data/Quarnel.txt was not read, because the monster table could not be read first; saving now would "
    "replace it with an empty file. Correct the files and start the editor again.";
const std::string kSpawnsUnopened =
    "data/Quarnel.txt could not be opened at start-up; saving now would replace it with an empty file. "
    "Correct the file and start the editor again.";
const std::string kNoMonsters =
    "data/monster.txt lists no monster, so every line of data/Quarnel.txt would be dropped; the spawn file "
    "is not read, and the editor will not save over it";
const std::string kSpawnsUnreadNoMonsters =
    "data/Quarnel.txt was not read, because data/monster.txt lists no monster; saving now would replace it "
    "with an empty file. Correct the files and start the editor again.";

struct DamagedCase {
    const char* name;
    std::function<void(const TempFolder&)> write;
    std::function<std::vector<std::string>(const fs::path& data)> said;  // the start-up errors
    int monsters;
    int spawns;
    std::string statsRefusal;  // empty: the save goes through
    std::string spawnRefusal;
};

void writeBoth(const TempFolder& f, const std::string& monsters, const std::string& spawns) {
    f.write("data/monster.txt", monsters);
    f.write("data/Quarnel.txt", spawns);
}

const auto kNothingSaid = [](const fs::path&) { return std::vector<std::string>{}; };

const DamagedCase kDamagedCases[] = {
    {"monster NUL at a line start", [](const TempFolder& f) { writeBoth(f, withNul(kMonsters, 3, false), kSpawns); },
     [](const fs::path&) { return std::vector<std::string>{nulAt("data/monster.txt", 3)}; }, 2, 0,
     stoppedAt("data/monster.txt", 3), kSpawnsUnreadForMonsters},
    {"monster NUL at a line end", [](const TempFolder& f) { writeBoth(f, withNul(kMonsters, 2, true), kSpawns); },
     [](const fs::path&) { return std::vector<std::string>{nulAt("data/monster.txt", 2)}; }, 1, 0,
     stoppedAt("data/monster.txt", 2), kSpawnsUnreadForMonsters},
    {"spawn NUL at a line start", [](const TempFolder& f) { writeBoth(f, kMonsters, withNul(kSpawns, 7, false)); },
     [](const fs::path&) { return std::vector<std::string>{nulAt("data/Quarnel.txt", 7)}; }, 4, 2, "",
     stoppedAt("data/Quarnel.txt", 7)},
    {"spawn NUL at a line end", [](const TempFolder& f) { writeBoth(f, kMonsters, withNul(kSpawns, 4, true)); },
     [](const fs::path&) { return std::vector<std::string>{nulAt("data/Quarnel.txt", 4)}; }, 4, 1, "",
     stoppedAt("data/Quarnel.txt", 4)},
    {"0-byte monster table", [](const TempFolder& f) { writeBoth(f, "", kSpawns); },
     [](const fs::path&) { return std::vector<std::string>{kNoMonsters}; }, 0, 0, "", kSpawnsUnreadNoMonsters},
    {"monster table that starts with end", [](const TempFolder& f) { writeBoth(f, "end\r\nnotes  here\r\n", kSpawns); },
     [](const fs::path&) { return std::vector<std::string>{kNoMonsters}; }, 0, 0, "", kSpawnsUnreadNoMonsters},
    {"missing monster table", [](const TempFolder& f) { f.write("data/Quarnel.txt", kSpawns); },
     [](const fs::path& data) {
         return std::vector<std::string>{"Cannot open file data/monster.txt\n" + (data / "monster.txt").string() +
                                         ": No such file or directory"};
     },
     0, 0, kMonstersUnread, kSpawnsUnreadForMonsters},
    {"missing spawn file", [](const TempFolder& f) { f.write("data/monster.txt", kMonsters); },
     [](const fs::path& data) {
         return std::vector<std::string>{"Cannot open file data/Quarnel.txt\n" + (data / "Quarnel.txt").string() +
                                         ": No such file or directory"};
     },
     4, 0, "", kSpawnsUnopened},
    {"monster table a named pipe",
     [](const TempFolder& f) {
         f.write("data/Quarnel.txt", kSpawns);
         ASSERT_EQ(::mkfifo((f.path() / "data/monster.txt").c_str(), 0600), 0);
     },
     [](const fs::path& data) {
         return std::vector<std::string>{"Cannot open file data/monster.txt\n" + (data / "monster.txt").string() +
                                         ": not a regular file"};
     },
     0, 0, kMonstersUnread, kSpawnsUnreadForMonsters},
    {"monster table a link to an endless device",
     [](const TempFolder& f) {
         f.write("data/Quarnel.txt", kSpawns);
         fs::create_symlink("/dev/zero", f.path() / "data/monster.txt");
     },
     [](const fs::path& data) {
         return std::vector<std::string>{"Cannot open file data/monster.txt\n" + (data / "monster.txt").string() +
                                         ": not a regular file"};
     },
     0, 0, kMonstersUnread, kSpawnsUnreadForMonsters},
    {"spawn file over 256 MB",
     [](const TempFolder& f) {
         writeBoth(f, kMonsters, kSpawns);
         fs::resize_file(f.path() / "data/Quarnel.txt", (256u << 20) + 1);  // sparse: costs nothing
     },
     [](const fs::path& data) {
         return std::vector<std::string>{"Cannot open file data/Quarnel.txt\n" + (data / "Quarnel.txt").string() +
                                         ": larger than 256 MB"};
     },
     4, 0, "", kSpawnsUnopened},
    {"undamaged files", [](const TempFolder& f) { writeBoth(f, kMonsters, kSpawns); }, kNothingSaid, 4, 3,
     "", ""},
};

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> errorTexts() {
    std::vector<std::string> texts;
    for (const auto& message : recorder().messages) texts.push_back(message.text.toStdString());
    return texts;
}

// Presses a save button; checks what is said and what became of the file.
void pressSave(QToolButton* button, const fs::path& file, const std::string& refusal,
               const std::string& savedBytes, const char* name) {
    recorder().clear();
    const std::string before = fingerprint(file);
    QTest::mouseClick(button, Qt::LeftButton);
    if (refusal.empty()) {
        EXPECT_TRUE(recorder().messages.empty()) << name << ": " << errorTexts().front();
        EXPECT_NE(fingerprint(file), before) << name << ": not saved";
        EXPECT_EQ(bytesOf(file), savedBytes) << name;
    } else {
        EXPECT_EQ(errorTexts(), std::vector<std::string>{refusal}) << name;
        EXPECT_EQ(fingerprint(file), before) << name << ": the file was touched";
    }
}

QToolButton* statsSave(MainWindow& form) {
    return form.statsPage()->findChild<QToolButton*>(QStringLiteral("SpeedButton8"));
}
QToolButton* spawnSave(MainWindow& form) {
    return form.spawnPage()->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
}

// The program's start reads the tables ahead on a thread of its own, or reads them
// when the splash goes. Both must say and keep the same.
std::unique_ptr<EditorWindows> openEditor(const fs::path& folder, bool readAhead) {
    if (!readAhead) return std::make_unique<EditorWindows>(folder, folder, loadTables(folder));
    StartUpWork startUp(folder);
    return std::make_unique<EditorWindows>(folder, folder, startUp.takeTables());
}

TEST(DamagedFiles, WhatLoadsWhatIsSaidAndWhatEachSaveDoesToTheFiles) {
    for (const auto& c : kDamagedCases)
    for (const bool readAhead : {false, true}) {
        TempFolder work;
        c.write(work);
        const fs::path data = work.path() / "data";
        recorder().clear();
        const auto editor = openEditor(work.path(), readAhead);
        MainWindow& form = editor->mainWindow();
        const EditorDocument& document = editor->document();
        EXPECT_EQ(errorTexts(), c.said(data)) << c.name << (readAhead ? ", read ahead" : "");
        EXPECT_EQ(recorder().errors().size(), static_cast<qsizetype>(recorder().messages.size())) << c.name;
        EXPECT_EQ(document.monsters().monstercount, c.monsters) << c.name;
        EXPECT_EQ(document.spawns().count, c.spawns) << c.name;

        pressSave(statsSave(form), data / "monster.txt", c.statsRefusal, document.monsters().fileBytes(), c.name);
        pressSave(spawnSave(form), data / "Quarnel.txt", c.spawnRefusal, document.spawns().fileBytes(), c.name);
    }
}

// The spawn file is read below the working folder and saved below the program's
// folder: the file the save replaces is the one compared.
TEST(DamagedFiles, AFileChangedByAnotherProgramIsOverwrittenOnlyAfterYes) {
    const struct {
        const char* name;
        bool spawnFile;
        bool yes;
    } cases[] = {
        {"stats save, No", false, false},
        {"stats save, Yes", false, true},
        {"spawn save, No", true, false},
        {"spawn save, Yes", true, true},
    };
    for (const auto& c : cases) {
        TempFolder work;
        TempFolder program;
        writeStandardTables(work);
        program.write("data/Quarnel.txt", kSpawns);
        recorder().clear();
        const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
        MainWindow& form = editor.mainWindow();
        const EditorDocument& document = editor.document();
        ASSERT_TRUE(recorder().messages.empty()) << c.name;
        const fs::path file = c.spawnFile ? program.path() / "data/Quarnel.txt" : work.path() / "data/monster.txt";
        std::ofstream(file, std::ios::binary | std::ios::app) << "\n";  // as `echo >>` does
        const std::string changed = bytesOf(file);
        QToolButton* save = c.spawnFile ? spawnSave(form) : statsSave(form);
        const std::string saved = c.spawnFile ? document.spawns().fileBytes() : document.monsters().fileBytes();

        recorder().answerQuestions = c.yes;
        QTest::mouseClick(save, Qt::LeftButton);
        // The program folder's spawn file is not the one read: the question names both.
        const QString target = QString::fromStdString((program.path() / "data" / "Quarnel.txt").string());
        const QString read = QString::fromStdString((work.path() / "data" / "Quarnel.txt").string());
        EXPECT_EQ(recorder().questions(),
                  QStringList{c.spawnFile ? QStringLiteral("The save would replace %1, but the editor read %2 at "
                                                           "start-up, and the two files differ. Replace %1?")
                                                .arg(target, read)
                                          : QStringLiteral("data/monster.txt was changed by another program since "
                                                           "the editor read it. Overwrite those changes?")})
            << c.name;
        EXPECT_TRUE(recorder().errors().isEmpty()) << c.name;
        EXPECT_EQ(bytesOf(file), c.yes ? saved : changed) << c.name;

        // Asked again only while the other program's change is still there.
        recorder().clear();
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_EQ(recorder().questions().size(), c.yes ? 0 : 1) << c.name;
        EXPECT_EQ(bytesOf(file), c.yes ? saved : changed) << c.name;
    }
}

// Hundreds of dropped spawn lines must not mean hundreds of modal boxes.
TEST(DamagedFiles, TenMissingMonsterNoticesThenOneSummaryOfTheFurtherLines) {
    const struct {
        int furtherDropped;
        std::string summary;  // empty: none
    } cases[] = {
        {15, "15 more lines of data/Quarnel.txt, from line 13 to line 27, name a monster that is not in "
             "data/monster.txt; they were removed as well."},
        {1, "1 more line of data/Quarnel.txt, line 13, names a monster that is not in data/monster.txt; it was "
            "removed as well."},
        {0, ""},
    };
    for (const auto& c : cases)
    for (const bool readAhead : {false, true}) {
        // Lines 2..11 drop, line 12 is read, then the further drops, then a bad line.
        std::string spawns = "0\r\n";
        for (int line = 2; line <= 11; ++line) spawns += std::to_string(1000 + line) + "\t1\t0\t5\t5\t1\r\n";
        spawns += "100\t1\t0\t5\t5\t1\r\n";
        for (int i = 0; i < c.furtherDropped; ++i) spawns += "999\t1\t0\t5\t5\t1\r\n";
        spawns += "100\t1\t0\tx\t5\t1\r\n";
        const int badLine = 13 + c.furtherDropped;
        TempFolder work;
        writeBoth(work, kMonsters, spawns);
        recorder().clear();
        const auto editor = openEditor(work.path(), readAhead);

        const auto& said = recorder().messages;
        ASSERT_EQ(said.size(), c.summary.empty() ? 11u : 12u) << c.furtherDropped;
        for (std::size_t i = 0; i + 1 < said.size(); ++i) {
            EXPECT_FALSE(said[i].isError) << i;
            EXPECT_EQ(said[i].caption, QStringLiteral("Error: cant find monster")) << i;
        }
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(said[static_cast<std::size_t>(i)].text.toStdString(),
                      "Cant find monster in monster.txt with ID" + std::to_string(1002 + i) +
                          "\n\rthis ID was found in quarnel.txt and was removed.");
        }
        if (!c.summary.empty()) {
            EXPECT_EQ(said[10].text.toStdString(), c.summary);
        }
        EXPECT_TRUE(said.back().isError);  // the reason reading stopped comes last
        EXPECT_EQ(said.back().text.toStdString(),
                  "'x' is not a valid integer value\ndata/Quarnel.txt, line " + std::to_string(badLine));
        EXPECT_EQ(editor->document().spawns().count, 1);
    }
}

}  // namespace
