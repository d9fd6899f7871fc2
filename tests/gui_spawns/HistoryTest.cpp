// Every kind of change, undone and redone: the file's bytes are those of the state the
// history claims, and the spawn page and the preview show what they showed then.

#include <functional>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTreeView>
#include <QUndoStack>

#include "MessageRecorder.h"
#include "SpinField.h"
#include "StatsPage.h"
#include "SpawnFixture.h"

namespace {

class HistoryTest : public SpawnFixture {
protected:
    void SetUp() override { makeWindows(); }

    EditorDocument& editable() { return windows->document(); }
    std::string bytes(TableFile file) const {
        return file == TableFile::Spawns ? document().spawns().fileBytes() : document().monsters().fileBytes();
    }
    // What the pages show of the tables, and what the preview draws.
    std::string shown() const {
        StatsPage* stats = windows->mainWindow().statsPage();
        QStringList view{mapTexts().join(','), captions(page->pointSpotList()).join(','),
                         captions(page->rangeSpotList()).join(',')};
        for (int row = 0; row < rowCount(page->monsterList()); ++row) view << (monsterIconHasSpots(row) ? "+" : "-");
        for (const SpotRect& r : preview->rectangles())
            view << QString::number(r.left) + ':' + QString::number(r.top);
        for (const char* field : {"VHP", "Vspeed"}) view << stats->findChild<SpinField*>(QString::fromLatin1(field))->text();
        return view.join(' ').toStdString();
    }
};

TEST_F(HistoryTest, EachChangeUndoesAndRedoesToTheBytesAndViewsOfItsState) {
    struct Case {
        const char* name;
        TableFile file;
        std::function<void()> goTo;  // where the change is made, before it
        std::function<void()> change;
    };
    const Case cases[] = {
        {"delete a point spot", TableFile::Spawns,
         [] {},
         [this] {
             selectRow(page->pointSpotList(), 1);
             page->deletePointSpot();
         }},
        {"delete a monster's last spot", TableFile::Spawns,
         [this] { chooseMonster(2); },  // monster 12: one range spot on map 7
         [this] {
             selectRow(page->rangeSpotList(), 0);
             page->deleteRangeSpot();
         }},
        {"create a spot", TableFile::Spawns,
         [this] {
             dialog->openFor(0, false);
             dialog->findChild<SpinField*>(QStringLiteral("SpinEdit2"))->setValue(3);  // the map shown
         },
         [this] { dialog->createSpot(); }},
        {"store a monster", TableFile::Monsters, [] {},
         [this] {
             std::array<std::int32_t, kEditableColumns> values{};
             values.fill(7);
             editable().storeMonster(0, values, true);  // the monster the stats page shows
         }},
        {"move a spot", TableFile::Spawns, [] {},
         [this] {
             SpawnEntry moved = document().spawns().entries[2];
             moved.x0 = 9;
             editable().changeSpot(2, moved, QStringLiteral("move"));
         }},
    };
    for (const auto& c : cases) {
        makeWindows();
        c.goTo();
        preview->showSpots();  // the spots it draws, not the dialog's selection
        QUndoStack& history = editable().history(c.file);
        const std::string before = bytes(c.file);
        const std::string viewBefore = shown();
        c.change();
        const std::string after = bytes(c.file);
        const std::string viewAfter = shown();
        ASSERT_NE(after, before) << c.name;
        EXPECT_FALSE(history.isClean()) << c.name;

        history.undo();
        EXPECT_EQ(bytes(c.file), before) << c.name;
        EXPECT_EQ(shown(), viewBefore) << c.name;
        EXPECT_TRUE(history.isClean()) << c.name;
        history.redo();
        EXPECT_EQ(bytes(c.file), after) << c.name;
        EXPECT_EQ(shown(), viewAfter) << c.name;
        EXPECT_TRUE(recorder().messages.empty()) << c.name;
    }
}

// A save marks the state saved; undoing past it makes the file unsaved again, and the
// page's save button says so and names what undo and redo would do.
TEST_F(HistoryTest, UndoAcrossASaveMarksTheFileChanged) {
    selectRow(page->pointSpotList(), 0);
    page->deletePointSpot();
    auto* save = page->findChild<QAbstractButton*>(QStringLiteral("SpeedButton1"));
    EXPECT_EQ(save->toolTip(), "Save data/Quarnel.txt (Ctrl+S)\nUnsaved changes\nUndo: delete spot 0 of Ash Hound on map 3");
    save->click();
    QUndoStack& history = editable().history(TableFile::Spawns);
    EXPECT_TRUE(history.isClean());
    EXPECT_EQ(save->toolTip(), "Save data/Quarnel.txt (Ctrl+S)\nUndo: delete spot 0 of Ash Hound on map 3");
    const std::string saved = folder.read("data/Quarnel.txt");

    history.undo();
    EXPECT_FALSE(history.isClean());
    EXPECT_EQ(document().unsavedChanges(TableFile::Spawns), 1);
    EXPECT_EQ(save->toolTip(), "Save data/Quarnel.txt (Ctrl+S)\nUnsaved changes\nRedo: delete spot 0 of Ash Hound on map 3");
    EXPECT_TRUE(windows->mainWindow().findChild<QLabel*>(QStringLiteral("Panel3"))->text().endsWith(
        QStringLiteral("\u2014 unsaved: Quarnel.txt")));
    history.redo();
    EXPECT_TRUE(history.isClean());
    EXPECT_EQ(document().spawns().fileBytes(), saved);
    EXPECT_EQ(windows->mainWindow().findChild<QLabel*>(QStringLiteral("Panel3"))->text(),
              QStringLiteral("       Monsters Stats&Quarnel Editor"));
}

}  // namespace
