// Every kind of change, undone and redone: the file's bytes are those of the state the
// history claims, and the spawn page and the preview show what they showed then.

#include <algorithm>
#include <functional>
#include <string>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTreeView>
#include <QUndoStack>

#include "MessageRecorder.h"
#include "MonsterFields.h"
#include "SpotIcons.h"
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

// What the page shows agrees with the table: each monster's icon, the chosen monster's
// maps, and on the chosen map its spots; with no map chosen, no spots.
void expectPageAgreesWithTable(const SpawnPage* page, const EditorDocument& document, const std::string& when) {
    SCOPED_TRACE(when);
    const SpawnTable& spawns = document.spawns();
    const auto live = [&](std::function<bool(const SpawnEntry&)> wanted) {
        QStringList found;
        for (int i = 0; i < spawns.count; ++i) {
            const SpawnEntry& e = spawns.entries[static_cast<std::size_t>(i)];
            if (e.spotid != -1 && wanted(e)) found << QString::number(e.spotid);
        }
        return found;
    };
    for (int row = 0; row < rowCount(page->monsterList()); ++row) {
        const auto number = cellText(page->monsterList(), row, 0).toInt();
        const bool has = !live([&](const SpawnEntry& e) { return e.monsterid == number; }).isEmpty();
        EXPECT_EQ(rowIcon(page->monsterList(), row).pixmap(16, 16).toImage(),
                  monsterIcon(has).pixmap(16, 16).toImage())
            << "icon of " << number;
    }
    const int chosen = page->selectedMonsterIndex();
    if (chosen < 0) return;
    const auto monster = cellText(page->monsterList(), chosen, 0).toInt();
    QStringList maps;
    for (int i = 0; i < spawns.count; ++i) {
        const SpawnEntry& e = spawns.entries[static_cast<std::size_t>(i)];
        if (e.spotid != -1 && e.monsterid == monster && !maps.contains(QString::number(e.mapnumber)))
            maps << QString::number(e.mapnumber);
    }
    QStringList listed;
    for (int i = 0; i < page->mapCombo()->count(); ++i) listed << page->mapCombo()->itemText(i);
    EXPECT_EQ(listed, maps);
    if (page->mapCombo()->currentIndex() < 0) {
        EXPECT_EQ(rowCount(page->pointSpotList()) + rowCount(page->rangeSpotList()), 0);
        return;
    }
    const int map = page->mapCombo()->currentText().toInt();
    const auto onMap = [&](bool point) {
        return live([&](const SpawnEntry& e) { return e.monsterid == monster && e.mapnumber == map && e.ispoint == point; });
    };
    EXPECT_EQ(captions(page->pointSpotList()), onMap(true));
    EXPECT_EQ(captions(page->rangeSpotList()), onMap(false));
}

// Every undo and redo leaves the page true to the table, whichever monster it shows and
// however it was chosen; a change to another monster's spots leaves its map as it was.
TEST_F(HistoryTest, UndoAndRedoKeepThePageTrueWhicheverMonsterIsChosen) {
    struct Change {
        const char* name;
        std::vector<std::int32_t> monsters;  // whose spots change
        std::function<void()> make;
    };
    const auto move = [this](int spot, std::function<void(SpawnEntry&)> how) {
        SpawnEntry values = document().spawns().entries[static_cast<std::size_t>(spot)];
        how(values);
        editable().changeSpot(spot, values, QStringLiteral("change"));
    };
    const Change changes[] = {
        {"delete Stone Warden's only spot", {12}, [this] { editable().deleteSpot(6); }},
        {"delete Ash Hound's only spot on map 0", {10}, [this] { editable().deleteSpot(1); }},
        {"move a Mire Lantern point to map 2", {13}, [=] { move(3, [](SpawnEntry& e) { e.mapnumber = 2; }); }},
        {"give a Reed Crawler range to Ash Hound on map 3", {11, 10},
         [=] { move(8, [](SpawnEntry& e) { e.monsterid = 10, e.mapnumber = 3; }); }},
        {"create a spot for Quiet Moth", {14},
         [this] {
             SpawnEntry e = document().spawns().entries[0];
             e.monsterid = 14;
             editable().appendSpot(e);
         }},
    };
    struct Choice {
        const char* name;
        std::function<void(SpawnPage*)> choose;
    };
    const Choice choices[] = {
        {"Ash Hound, first map", [this](SpawnPage*) { chooseMonster(0); }},
        {"Ash Hound, map 0", [this](SpawnPage*) { chooseMonster(0), chooseMap("0"); }},
        {"Reed Crawler", [this](SpawnPage*) { chooseMonster(1); }},
        {"Mire Lantern from the overview", [](SpawnPage* p) { p->goToSpot(4); }},
        {"Quiet Moth, who has none", [this](SpawnPage*) { chooseMonster(4); }},
    };
    for (const Change& change : changes) {
        for (const Choice& choice : choices) {
            SCOPED_TRACE(std::string(change.name) + ", then " + choice.name);
            makeWindows();
            change.make();
            choice.choose(page);
            const int monster = page->selectedMonsterIndex();
            const QString map = page->mapCombo()->currentText();
            const bool shownChanges = std::count(change.monsters.begin(), change.monsters.end(),
                                                 cellText(page->monsterList(), monster, 0).toInt()) > 0;
            QUndoStack& history = editable().history(TableFile::Spawns);
            for (const char* step : {"undo", "redo", "undo again"}) {
                if (std::string(step) == "redo")
                    history.redo();
                else
                    history.undo();
                expectPageAgreesWithTable(page, document(), step);
                EXPECT_EQ(page->selectedMonsterIndex(), monster) << step;
                if (!shownChanges) {
                    EXPECT_EQ(page->mapCombo()->currentText(), map) << step;
                }
            }
            EXPECT_TRUE(recorder().messages.empty());
        }
    }
}

// A spot given another map (Apply in the dialog) takes the page with it when the page
// shows its monster; its undo takes it back.
TEST_F(HistoryTest, ThePageFollowsASpotToAnotherMap) {
    chooseMonster(0);
    ASSERT_EQ(page->mapCombo()->currentText(), "3");
    SpawnEntry moved = document().spawns().entries[0];
    moved.mapnumber = 9;
    editable().changeSpot(0, moved, QStringLiteral("change"));
    EXPECT_EQ(page->mapCombo()->currentText(), "9");
    EXPECT_EQ(captions(page->pointSpotList()), QStringList{"0"});
    EXPECT_EQ(selectedRows(page->pointSpotList()), QList<int>{0});
    editable().history(TableFile::Spawns).undo();
    EXPECT_EQ(page->mapCombo()->currentText(), "3");
    EXPECT_TRUE(captions(page->pointSpotList()).contains("0"));
    expectPageAgreesWithTable(page, document(), "after the undo");
}

// Storing a monster's values as they are is no change; undoing a stored change of its
// move range gives back whether it can move, and the dialog follows.
TEST_F(HistoryTest, StoredValuesUndoWhetherTheMonsterMovesAndTheSameValuesAreNoStep) {
    QUndoStack& history = editable().history(TableFile::Monsters);
    auto values = readMonsterLine(document().monsters().monsterlines[0], "monster.txt", 1).values;
    values[1] = 77;  // HP
    editable().storeMonster(0, values, true);
    ASSERT_EQ(history.count(), 1);
    history.setClean();
    editable().storeMonster(0, values, true);
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(history.isClean());

    ASSERT_TRUE(document().monsters().monsters[0].canmove);
    values[kMoveRangeField] = 0;  // "Cant Move"
    dialog->openFor(0, true);
    editable().storeMonster(0, values, true);
    EXPECT_EQ(history.count(), 2);
    EXPECT_FALSE(document().monsters().monsters[0].canmove);
    EXPECT_EQ(dialog->spotType(), 0);
    history.undo();
    EXPECT_TRUE(document().monsters().monsters[0].canmove);
    EXPECT_NE(dialog->spotType(), 0) << "a monster that moves is no NPC";
    history.redo();
    EXPECT_FALSE(document().monsters().monsters[0].canmove);
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
