// The review of the save as an operator uses it on the sample: it names the changes
// made, follows the changes made after it opened, goes to a change's monster or spot,
// shows a file's diff, and opens from the buttons beside the save buttons and from the
// question before closing.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoStack>
#include <gtest/gtest.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "GridColumns.h"
#include "GridView.h"
#include "ListRows.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MessageRecorder.h"
#include "MonsterFields.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"
#include "ReviewWindow.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "TempFolder.h"

namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path sample = std::filesystem::path(VARNEX_SOURCE_DIR) / "sample" / "data";
        for (const char* name : {"monster.txt", "Quarnel.txt"})
            work.write(std::string("data/") + name, fileBytes(sample / name));
        program.write("data/Quarnel.txt", work.read("data/Quarnel.txt"));
        recorder().clear();
    }
    TempFolder work;
    TempFolder program;
};

QTreeWidgetItem* itemNamed(ReviewWindow& review, const QString& text) {
    for (QTreeWidgetItemIterator it(review.items()); *it; ++it)
        if ((*it)->text(0) == text) return *it;
    return nullptr;
}

QTreeWidgetItem* itemStarting(ReviewWindow& review, const QString& start) {
    for (QTreeWidgetItemIterator it(review.items()); *it; ++it)
        if ((*it)->text(0).startsWith(start)) return *it;
    return nullptr;
}

// A monster's HP (Thistle Wisp's unless told) to 5000 as "OK" on the stats page stores it.
void storeHp(EditorDocument& document, int index = 9) {
    const std::size_t line = static_cast<std::size_t>(index);
    const MonsterLineFields fields = readMonsterLine(document.monsters().monsterlines[line], "data/monster.txt", index + 1);
    auto values = shownValues(fields);
    values[1] = 5000;
    document.storeMonster(index, values, true);
}

TEST_F(ReviewWindowTest, NamesTheChangesFollowsTheDocumentAndGoesToThem) {
    EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    EditorDocument& document = editor.document();
    storeHp(document);
    SpawnEntry moved = *document.spawns().liveSpot(70);
    moved.x0 -= 20, moved.x1 -= 20, moved.y0 += 10, moved.y1 += 10;
    document.changeSpot(70, moved, QStringLiteral("move"));

    editor.showReview();
    ReviewWindow& review = editor.reviewWindow();
    // It first opens where it covers none of the main window's save, delete and title buttons.
    for (const QRect& button : editor.mainWindow().placesToKeepClear())
        EXPECT_FALSE(review.frameGeometry().intersects(button)) << button.x() << "," << button.y();
    EXPECT_EQ(review.windowTitle(), QStringLiteral("Review of the save \u2014 2 changes"));
    QTreeWidgetItem* hp = itemNamed(review, QStringLiteral("Thistle Wisp (11): HP 197 \u2192 5000"));
    QTreeWidgetItem* spot = itemNamed(
        review, QStringLiteral("Drift Harrier, map 2, spot 70: moved from 218,53\u2013241,92 to 198,63\u2013221,102"));
    ASSERT_TRUE(hp && spot);

    // A change made while it is open joins it at the next turn of the event loop.
    document.deleteSpot(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(review.windowTitle(), QStringLiteral("Review of the save \u2014 3 changes"));
    QTreeWidgetItem* deleted = itemStarting(review, QStringLiteral("Ferryman Calloway, map 0, spot 0: deleted"));
    ASSERT_NE(deleted, nullptr);

    // The items lead where the operator works on them.
    review.activate(itemNamed(review, QStringLiteral("Thistle Wisp (11): HP 197 \u2192 5000")));
    EXPECT_EQ(editor.mainWindow().pages()->currentWidget(), editor.mainWindow().statsPage());
    EXPECT_EQ(editor.mainWindow().statsPage()->selectedIndex(), 9);
    review.activate(itemStarting(review, QStringLiteral("Drift Harrier, map 2, spot 70")));
    SpawnPage* page = editor.mainWindow().spawnPage();
    EXPECT_EQ(editor.mainWindow().pages()->currentWidget(), page);
    const QModelIndexList chosen = page->rangeSpotList()->selectionModel()->selectedRows();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_TRUE(chosen.front().data().toString().endsWith(QStringLiteral("70")));
    review.activate(itemStarting(review, QStringLiteral("Ferryman Calloway, map 0, spot 0: deleted")));
    EXPECT_TRUE(editor.mapOverview().isVisible());
    EXPECT_EQ(editor.mapOverview().windowTitle(), QStringLiteral("Map Overview - map 0"));

    // While "Monster Stats" edits a monster, its list stays on it: the monster's change
    // opens the monster table on its cell; with the table open, the change goes there.
    StatsPage* stats = editor.mainWindow().statsPage();
    for (const bool editing : {true, false}) {
        stats->selectIndex(2);
        if (editing) stats->startEditing();
        ASSERT_EQ(stats->editing(), editing);
        review.activate(itemNamed(review, QStringLiteral("Thistle Wisp (11): HP 197 \u2192 5000")));
        EXPECT_EQ(stats->selectedIndex(), 2) << editing;
        const QModelIndex cell = editor.monsterGrid().grid()->currentIndex();
        EXPECT_TRUE(editor.monsterGrid().isVisible()) << editing;
        EXPECT_EQ(cell.row(), 9) << editing;
        EXPECT_EQ(cell.column(), gridColumnOfField(1)) << editing;  // HP
        if (editing) stats->cancelEditing();
        editor.monsterGrid().grid()->setCurrentIndex({});
    }

    // The lines changed only in form show as the file's diff.
    review.activate(itemStarting(review, QStringLiteral("95 lines change only in form")));
    EXPECT_TRUE(review.diffView()->isVisible());
    EXPECT_TRUE(review.diffView()->toPlainText().startsWith(QStringLiteral("--- a/data/monster.txt\n")));

    // Undone and saved, nothing is left to review.
    document.history(TableFile::Spawns).undo();
    ASSERT_TRUE(document.save(TableFile::Monsters, [](const std::string&) { return true; }));
    ASSERT_TRUE(document.save(TableFile::Spawns, [](const std::string&) { return true; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(review.windowTitle(), QStringLiteral("Review of the save \u2014 no changes"));
    EXPECT_NE(itemNamed(review, QStringLiteral("data/monster.txt: no unsaved changes")), nullptr);
    EXPECT_NE(itemNamed(review, QStringLiteral("data/Quarnel.txt: no unsaved changes")), nullptr);
}

// A monster the monster table's find field hides, or that lies below what it shows.
TEST_F(ReviewWindowTest, GoesToAMonsterTheMonsterTableHidesOrHasScrolledAway) {
    EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    EditorDocument& document = editor.document();
    const int last = document.monsters().monstercount - 1;
    storeHp(document, last);
    MonsterGridWindow& grid = editor.monsterGrid();
    grid.open();
    grid.resize(520, 300);
    for (const QString& find : {QStringLiteral("Lamplighter"), QString()}) {
        grid.filterField()->setText(find);
        grid.grid()->scrollToTop();
        editor.showReview();
        const MonsterDataRecord& monster = document.monsters().monsters[static_cast<std::size_t>(last)];
        editor.reviewWindow().activate(itemStarting(
            editor.reviewWindow(), QString::fromStdString(monster.name + " (" + std::to_string(monster.id) + "): HP")));
        EXPECT_TRUE(grid.filterField()->text().isEmpty()) << find.toStdString();
        const QModelIndex cell = grid.grid()->currentIndex();
        EXPECT_EQ(grid.model()->monsterAt(cell.row()), last) << find.toStdString();
        EXPECT_TRUE(grid.grid()->viewport()->rect().contains(grid.grid()->visualRect(cell).center()))
            << find.toStdString();
    }
}

TEST_F(ReviewWindowTest, OpensBesideEachSaveButtonAndFromTheCloseQuestion) {
    struct Way {
        const char* name;
        std::function<void(EditorWindows&)> open;
    };
    const auto click = [](QWidget* window, const char* name) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    const Way ways[] = {
        {"Monster Stats", [&](EditorWindows& e) { click(e.mainWindow().statsPage(), "ReviewMonsterSave"); }},
        {"Monster Position", [&](EditorWindows& e) { click(e.mainWindow().spawnPage(), "ReviewSpawnSave"); }},
        {"the monster table",
         [&](EditorWindows& e) {
             e.monsterGrid().open();
             click(&e.monsterGrid(), "MonsterTableReview");
         }},
        {"Review... before closing",
         [](EditorWindows& e) {
             recorder().closeAnswer = CloseAnswer::Review;
             e.mainWindow().close();
             EXPECT_TRUE(e.mainWindow().isVisible());  // the program stays open
         }},
    };
    // Each button looks as the save button beside it and names its key.
    {
        EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
        struct Beside {
            QWidget* window;
            const char* name;
            const char* save;
        };
        const Beside buttons[] = {{editor.mainWindow().statsPage(), "ReviewMonsterSave", "SpeedButton8"},
                                  {editor.mainWindow().spawnPage(), "ReviewSpawnSave", "SpeedButton1"},
                                  {&editor.monsterGrid(), "MonsterTableReview", "MonsterTableSave"}};
        editor.monsterGrid().open();
        for (const auto& [window, name, saveName] : buttons) {
            if (window == editor.mainWindow().spawnPage()) editor.mainWindow().pages()->setCurrentWidget(window);
            auto* button = window->findChild<QToolButton*>(QString::fromLatin1(name));
            auto* save = window->findChild<QToolButton*>(QString::fromLatin1(saveName));
            ASSERT_TRUE(button && save) << name;
            // Beside it, the same size, on none of the other buttons.
            EXPECT_EQ(button->size(), save->size()) << name;
            EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry())) << name;
            for (QToolButton* other : button->parentWidget()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
                EXPECT_TRUE(other == button || !other->geometry().intersects(button->geometry())) << name;
            EXPECT_TRUE(button->autoRaise()) << name;
            EXPECT_FALSE(button->icon().isNull()) << name;
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << name;
            EXPECT_TRUE(button->toolTip().endsWith(QStringLiteral("(Ctrl+Shift+D)"))) << name;
        }
    }
    for (const Way& way : ways) {
        EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
        storeHp(editor.document());
        way.open(editor);
        // Found by its name, as tests and accessibility tools find windows.
        const QWidgetList windows = QApplication::topLevelWidgets();
        EXPECT_TRUE(std::any_of(windows.begin(), windows.end(), [](const QWidget* w) {
            return w->objectName() == QStringLiteral("ReviewWindow") && w->isVisible();
        })) << way.name;
        EXPECT_TRUE(editor.reviewWindow().isVisible()) << way.name;
        EXPECT_EQ(editor.reviewWindow().windowTitle(), QStringLiteral("Review of the save \u2014 1 change")) << way.name;
    }
}

}  // namespace
