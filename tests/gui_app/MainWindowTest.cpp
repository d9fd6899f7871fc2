#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "ListRows.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "StatsPage.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "SplashWindow.h"
#include "MapPreviewWindow.h"

namespace {

namespace fs = std::filesystem;

// Every file below a folder with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { recorder().clear(); }

    template <class T>
    T* control(QWidget& window, const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // Enters the edit state, changes HP and stores it with "OK" (nothing saved).
    void storeAChange(MainWindow& form) {
        click(control<QToolButton>(form, "Button1"));
        auto* hp = control<SpinField>(form, "VHP");
        hp->lineEdit()->selectAll();
        QTest::keyClicks(hp, QStringLiteral("4242"));
        click(control<QPushButton>(form, "Button3"));
    }

    TempFolder work;
    TempFolder program;
};

TEST_F(MainWindowTest, MissingMonsterFileGivesOneErrorAndLeavesTheSpawnFileUnread) {
    work.write("data/Quarnel.txt", spawnFile({{100, 1, 10, 20}, {999, 1, 1, 1}}));
    const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    MainWindow& form = editor.mainWindow();
    ASSERT_EQ(recorder().messages.size(), 1u);  // no notice about monster 999: not read at all
    ASSERT_EQ(recorder().errors().size(), 1);
    EXPECT_TRUE(recorder().errors().front().startsWith(QStringLiteral("Cannot open file")));
    EXPECT_EQ(editor.document().spawns().count, 0);
    EXPECT_FALSE(editor.document().spawns().saveRefusal().empty());
    EXPECT_NE(editor.document().monsters().saveRefusal(), "");
    EXPECT_EQ(rowCount(control<QTreeView>(form, "ListView1")), 0);
    EXPECT_EQ(rowCount(form.spawnPage()->monsterList()), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.size(), QSize(610, 510));
    EXPECT_EQ(editor.document().programFolder(), program.path());
}

TEST_F(MainWindowTest, SpawnFileProblemsAreReportedAfterTheMonstersAreRead) {
    work.write("data/monster.txt", monsterFile({monsterLine(1, "A"), monsterLine(2, "B")}));
    work.write("data/Quarnel.txt", "0\r\n1\t1\t0\t5\t5\t1\r\n999\t1\t0\t5\t5\t1\r\n2\t1\t0\tx\t5\t1\r\nend\r\n");
    const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    MainWindow& form = editor.mainWindow();
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_FALSE(recorder().messages[0].isError);
    EXPECT_EQ(recorder().messages[0].caption, QStringLiteral("Error: cant find monster"));
    EXPECT_TRUE(recorder().messages[1].isError);
    EXPECT_TRUE(recorder().messages[1].text.contains(QStringLiteral("'x'"))) << recorder().messages[1].text.toStdString();
    EXPECT_EQ(editor.document().spawns().count, 1);  // the line read before the bad one stays
    EXPECT_EQ(rowCount(control<QTreeView>(form, "ListView1")), 2);
    EXPECT_EQ(control<QLabel>(form, "ViD")->text(), QStringLiteral("1"));
}

// With unsaved changes, ending asks once, naming the files. Cancel keeps the program
// open with the changes; Discard ends and writes nothing; Save saves each file as its
// save button does, with the save's own questions, and ends only when both are saved.
TEST_F(MainWindowTest, EndingWithUnsavedChangesAsksSaveDiscardOrCancel) {
    struct Way {
        const char* name;
        std::function<void(MainWindow&)> end;
    };
    const Way ways[] = {
        {"close button", [&](MainWindow& form) { click(control<QToolButton>(form, "SpeedButton4")); }},
        {"close request", [](MainWindow& form) { form.close(); }},
    };
    // What a table file holds afterwards.
    enum class Disk { AsRead, Saved, OtherProgram };
    constexpr const char* kOtherProgram = "written by another program\r\n";
    // The spawn file read stops at its third line: it is never saved over.
    const std::string brokenSpawns = "0\r\n100\t1\t0\t10\t20\t1\r\n100\tx\r\nend\r\n";
    struct Answer {
        const char* name;
        bool change;               // a change to each file
        CloseAnswer answer;
        bool otherProgramWrites;   // to monster.txt after the start: its save asks first
        bool yes;                  // the answer to that question
        bool brokenSpawnFile;
        int exitCode;  // 99: still running after the answer
        Disk monsters;
        Disk spawns;
        int errors;
    };
    using enum CloseAnswer;
    const Answer answers[] = {
        {"nothing changed", false, Cancel, false, false, false, 0, Disk::AsRead, Disk::AsRead, 0},
        {"Cancel", true, Cancel, false, false, false, 99, Disk::AsRead, Disk::AsRead, 0},
        {"Discard", true, Discard, false, false, false, 0, Disk::AsRead, Disk::AsRead, 0},
        {"Save", true, Save, false, false, false, 0, Disk::Saved, Disk::Saved, 0},
        {"Save, No to overwriting another program's change", true, Save, true, false, false, 99,
         Disk::OtherProgram, Disk::Saved, 0},
        {"Save, Yes to overwriting another program's change", true, Save, true, true, false, 0, Disk::Saved,
         Disk::Saved, 0},
        {"Save, a spawn file that may not be saved over", true, Save, false, false, true, 99, Disk::Saved,
         Disk::AsRead, 1},
    };
    for (const auto& way : ways)
    for (const auto& answer : answers) {
        const std::string name = std::string(way.name) + ", " + answer.name;
        writeStandardTables(work);
        if (answer.brokenSpawnFile) work.write("data/Quarnel.txt", brokenSpawns);
        const std::string monstersRead = work.read("data/monster.txt");
        const std::string spawnsRead = work.read("data/Quarnel.txt");
        program.write("data/Quarnel.txt", spawnsRead);  // the program's folder holds the file read
        const auto workBefore = snapshot(work.path());
        const auto programBefore = snapshot(program.path());
        const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
        MainWindow& form = editor.mainWindow();
        if (answer.change) {
            storeAChange(form);
            editor.document().deleteSpot(0);
        }
        if (answer.otherProgramWrites) work.write("data/monster.txt", kOtherProgram);
        recorder().clear();
        recorder().closeAnswer = answer.answer;
        recorder().answerQuestions = answer.yes;

        QTimer::singleShot(0, &form, [&] {
            way.end(form);
            if (form.isVisible()) QCoreApplication::exit(99);  // the program did not end
        });
        QTimer safety;  // ends a loop that nothing ended
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(98); });
        safety.start(5000);
        EXPECT_EQ(QApplication::exec(), answer.exitCode) << name;

        const QStringList asked = recorder().questions();
        const int saveQuestions = answer.otherProgramWrites && answer.answer == Save ? 1 : 0;
        ASSERT_EQ(asked.size(), (answer.change ? 1 : 0) + saveQuestions) << name;
        if (answer.change) {
            EXPECT_EQ(asked.front(), "Unsaved changes: monster.txt (1 change), Quarnel.txt (1 change).\n"
                                     "Save them before closing?")
                << name;
        }
        EXPECT_EQ(recorder().errors().size(), answer.errors) << name;
        const EditorDocument& document = editor.document();
        const auto expected = [&](Disk disk, const std::string& read, const std::string& saved) {
            return disk == Disk::AsRead ? read : disk == Disk::Saved ? saved : std::string(kOtherProgram);
        };
        EXPECT_EQ(work.read("data/monster.txt"), expected(answer.monsters, monstersRead, document.monsters().fileBytes()))
            << name;
        EXPECT_EQ(program.read("data/Quarnel.txt"), expected(answer.spawns, spawnsRead, document.spawns().fileBytes()))
            << name;
        EXPECT_EQ(work.read("data/Quarnel.txt"), spawnsRead) << name;
        if (answer.monsters == Disk::AsRead && answer.spawns == Disk::AsRead) {  // not even a backup
            EXPECT_EQ(snapshot(work.path()), workBefore) << name;
            EXPECT_EQ(snapshot(program.path()), programBefore) << name;
        }
        // The changes stay in the program, saved or not.
        EXPECT_EQ(document.monsters().monsterlines[0].find("4242") != std::string::npos, answer.change) << name;
    }
}

TEST_F(MainWindowTest, PagesSetTheWindowSize) {
    writeStandardTables(work);
    const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    MainWindow& form = editor.mainWindow();
    EXPECT_EQ(form.size(), QSize(610, 510));
    QTabBar* tabs = form.pages()->tabBar();
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Monster Stats"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Monster Position"));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(form.pages()->currentWidget(), form.spawnPage());
    EXPECT_EQ(form.size(), QSize(770, 580));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(form.size(), QSize(610, 510));
    // The page-switch button sits in the tab row, right of both tabs.
    auto* switchButton = control<QToolButton>(form, "BitBtn1");
    EXPECT_EQ(switchButton->geometry(), QRect(192, 30, 22, 22));
    EXPECT_LE(tabs->mapTo(&form, tabs->tabRect(1).topRight()).x(), 192);
}

TEST_F(MainWindowTest, BitBtn1SwitchesPagesKeepingTheMonster) {
    writeStandardTables(work);
    const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    MainWindow& form = editor.mainWindow();
    auto* switchButton = control<QToolButton>(form, "BitBtn1");

    form.statsPage()->selectIndex(4);  // the fifth monster, 104, with a spot on map 1
    click(switchButton);
    EXPECT_EQ(form.pages()->currentWidget(), form.spawnPage());
    EXPECT_EQ(form.size(), QSize(770, 580));
    EXPECT_EQ(form.spawnPage()->selectedMonsterIndex(), 4);
    // The page shows 104's maps and spots, not those of 100 that it showed before.
    QStringList maps;
    for (int i = 0; i < form.spawnPage()->mapCombo()->count(); ++i) maps << form.spawnPage()->mapCombo()->itemText(i);
    EXPECT_EQ(maps.join(',').toStdString(), "1");
    EXPECT_EQ(form.spawnPage()->mapCombo()->currentText(), QStringLiteral("1"));
    QStringList spots;  // spot number, x, y, distance, direction of each row
    for (int row = 0; row < rowCount(form.spawnPage()->pointSpotList()); ++row)
        for (int column = 0; column < 5; ++column) spots << cellText(form.spawnPage()->pointSpotList(), row, column);
    EXPECT_EQ(spots.join(',').toStdString(), "3,13,23,0,1");
    EXPECT_EQ(rowCount(form.spawnPage()->rangeSpotList()), 0);

    form.spawnPage()->selectMonsterIndex(3);
    form.spawnPage()->showSelectedMonster();
    click(switchButton);
    EXPECT_EQ(form.pages()->currentWidget(), form.statsPage());
    EXPECT_EQ(form.size(), QSize(610, 510));
    EXPECT_EQ(form.statsPage()->selectedIndex(), 3);
    EXPECT_EQ(control<QLabel>(form, "ViD")->text(), QStringLiteral("103"));

    // Disabled while the stats page edits.
    click(control<QToolButton>(form, "Button1"));
    EXPECT_FALSE(switchButton->isEnabled());
    click(switchButton);
    EXPECT_EQ(form.pages()->currentWidget(), form.statsPage());
    click(control<QPushButton>(form, "Button2"));
    EXPECT_TRUE(switchButton->isEnabled());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(MainWindowTest, OkOnTheStatsPageRefreshesTheDialogsMonster) {
    writeStandardTables(work);
    SplashWindow splash(work.path(), program.path());
    splash.dismiss();
    recorder().clear();  // the start-up's note that the spawn file is saved in another folder
    MainWindow& form = *splash.mainWindow();
    AddSpotDialog& dialog = *splash.addSpotDialog();
    form.spawnPage()->openAddSpotDialog();  // opens the dialog on the selected monster, 100
    ASSERT_EQ(dialog.monsterCombo()->currentText(), QStringLiteral("100"));
    EXPECT_TRUE(dialog.currentMonster().canmove);

    click(control<QToolButton>(form, "Button1"));
    auto* moveRange = control<QComboBox>(form, "combomvrag");
    moveRange->setFocus();
    QTest::keyClick(moveRange, Qt::Key_Home);  // "Cant Move"
    click(control<QPushButton>(form, "Button3"));
    EXPECT_FALSE(form.document().monsters().monsters[0].canmove);
    EXPECT_FALSE(dialog.currentMonster().canmove);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(MainWindowTest, MinimiseFoldsEveryWindowAndRestoreBringsThemBack) {
    writeStandardTables(work);
    SplashWindow splash(work.path(), program.path());
    splash.dismiss();
    MainWindow& form = *splash.mainWindow();
    form.spawnPage()->openAddSpotDialog();  // the dialog is now open
    ASSERT_TRUE(splash.addSpotDialog()->isVisible());
    ASSERT_FALSE(splash.mapPreview()->isVisible());

    QWidget tip(nullptr, Qt::ToolTip);  // a passing tooltip is not brought back
    tip.show();

    click(control<QToolButton>(form, "SpeedButton5"));
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(splash.addSpotDialog()->isVisible());
    tip.hide();

    form.showNormal();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(splash.addSpotDialog()->isVisible());
    EXPECT_FALSE(splash.mapPreview()->isVisible());  // it was hidden before: it stays hidden
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(MainWindowTest, TitlePanelMovesTheWindowWithAnyButton) {
    writeStandardTables(work);
    const EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    MainWindow& form = editor.mainWindow();
    auto* panel = control<QLabel>(form, "Panel3");
    EXPECT_EQ(panel->text(), QStringLiteral("       Monsters Stats&Quarnel Editor"));
    EXPECT_EQ(panel->height(), 29);
    EXPECT_EQ(control<QToolButton>(form, "SpeedButton5")->toolTip(), QStringLiteral("minimise"));
    EXPECT_EQ(control<QToolButton>(form, "SpeedButton4")->toolTip(),
              QStringLiteral("Close Program without save"));
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const QPoint start = form.pos();
        QTest::mousePress(panel, button, {}, QPoint(200, 10));
        QTest::mouseMove(panel, QPoint(260, 40));
        QTest::mouseRelease(panel, button, {}, QPoint(260, 40));
        EXPECT_EQ(form.pos(), start + QPoint(60, 30)) << button;
    }
}

}  // namespace
