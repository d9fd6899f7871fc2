// The history window lists each file's steps by name, marks the state saved on disk,
// and a click on a step takes the file back or forward to it, as many undo or redo
// steps as it takes; the monster table's steps wait while a monster is being edited.

#include <QLabel>
#include <QTest>
#include <QUndoStack>
#include <QUndoView>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "HistoryWindow.h"
#include "ListRows.h"
#include "MainWindow.h"
#include "MessageRecorder.h"
#include "SpinField.h"
#include "StatsPage.h"

namespace {

class HistoryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeStandardTables(work);
        program.write("data/Quarnel.txt", work.read("data/Quarnel.txt"));
        recorder().clear();
    }
    TempFolder work;
    TempFolder program;
};

int liveSpots(const EditorDocument& document) {
    int live = 0;
    for (int id = 0; id < document.spawns().count; ++id) live += document.spawns().liveSpot(id) ? 1 : 0;
    return live;
}

// The rows that carry the saved mark.
QList<int> markedRows(const QUndoView* view) {
    QList<int> rows;
    for (int row = 0; row < rowCount(view); ++row)
        if (!rowIcon(view, row).isNull()) rows << row;
    return rows;
}

TEST_F(HistoryWindowTest, StepsByNameSavedStateMarkedAndAClickGoesThere) {
    EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    EditorDocument& document = editor.document();
    const auto yes = [](const std::string&) { return true; };
    document.deleteSpot(0);
    document.deleteSpot(2);
    ASSERT_TRUE(document.save(TableFile::Spawns, yes));
    const std::string saved = program.read("data/Quarnel.txt");
    document.deleteSpot(3);

    editor.showHistory();
    QUndoView* steps = editor.historyWindow().steps(TableFile::Spawns);
    EXPECT_EQ(captions(steps), QStringList({"As read at start-up", "Delete spot 0 of Ash Hound on map 1",
                                            "Delete spot 2 of Dune Crab on map 4",
                                            "Delete spot 3 of Elm Wight on map 1"}));
    EXPECT_EQ(markedRows(steps), QList<int>{2});
    EXPECT_EQ(captions(editor.historyWindow().steps(TableFile::Monsters)), QStringList{"As read at start-up"});
    EXPECT_EQ(markedRows(editor.historyWindow().steps(TableFile::Monsters)), QList<int>{0});

    struct Click {
        int row;
        int liveSpots;
        bool saved;  // the table is what the file on disk holds
    };
    const Click clicks[] = {{0, 4, false}, {2, 2, true}, {3, 1, false}, {1, 3, false}, {2, 2, true}};
    for (const Click& click : clicks) {
        QTest::mouseClick(steps->viewport(), Qt::LeftButton, {}, steps->visualRect(cell(steps, click.row)).center());
        EXPECT_EQ(document.history(TableFile::Spawns).index(), click.row) << click.row;
        EXPECT_EQ(liveSpots(document), click.liveSpots) << click.row;
        EXPECT_EQ(document.history(TableFile::Spawns).isClean(), click.saved) << click.row;
        EXPECT_EQ(document.spawns().fileBytes() == saved, click.saved) << click.row;
    }
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(HistoryWindowTest, MonsterStepsWaitWhileAMonsterIsEdited) {
    EditorWindows editor(work.path(), program.path(), loadTables(work.path()));
    StatsPage* stats = editor.mainWindow().statsPage();
    stats->startEditing();
    editor.showHistory();  // opened in the edit state
    HistoryWindow& history = editor.historyWindow();
    const auto locked = [&] {
        return !history.steps(TableFile::Monsters)->isEnabled() &&
               !history.findChild<QLabel*>(QStringLiteral("MonsterStepsLocked"))->isHidden();
    };
    EXPECT_TRUE(locked());
    EXPECT_TRUE(history.steps(TableFile::Spawns)->isEnabled());
    stats->findChild<SpinField*>(QStringLiteral("VHP"))->setValue(4242);
    stats->storeEdits();
    EXPECT_FALSE(locked());
    EXPECT_EQ(captions(history.steps(TableFile::Monsters)),
              QStringList({"As read at start-up", "Store the values of Ash Hound (100)"}));
    stats->startEditing();
    EXPECT_TRUE(locked());
    stats->cancelEditing();
    EXPECT_FALSE(locked());
}

}  // namespace
