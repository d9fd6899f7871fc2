// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y in each window act on the history of the file the
// window edits; a text field keeps them while it has typing of its own to take back.

#include <functional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include "EditorDocument.h"
#include "KeyboardFixture.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "StatsPage.h"

namespace {

void storeAttackSpeed(KeyboardTest& t, const char* text) {
    t.main()->statsPage()->startEditing();
    KeyboardTest::typeInto(t.main(), "Vatackspeed", text);
    KeyboardTest::press(Qt::Key_Return);  // OK
}

void deleteFirstPoint(KeyboardTest& t) {
    t.main()->switchPageKeepingMonster();
    QTest::mouseClick(t.main()->spawnPage()->pointSpotList()->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
    t.main()->findChild<QAbstractButton*>(QStringLiteral("Button4"))->click();
}

}  // namespace

TEST_F(KeyboardTest, UndoAndRedoKeysActOnTheHistoryOfTheFileTheWindowEdits) {
    struct Case {
        const char* name;
        std::function<void(KeyboardTest&)> before;  // one change, and the window to press in
        QKeySequence keys;
        // Afterwards: steps left to undo in each history.
        int monsterSteps;
        int spawnSteps;
    };
    const QKeySequence undo(Qt::CTRL | Qt::Key_Z);
    const Case cases[] = {
        {"stats page, Ctrl+Z", [](KeyboardTest& t) { storeAttackSpeed(t, "777"); }, undo, 0, 0},
        {"stats page, spawn change: nothing of its own to undo",
         [](KeyboardTest& t) {
             deleteFirstPoint(t);
             t.main()->switchPageKeepingMonster();
         },
         undo, 0, 1},
        {"position page, Ctrl+Z", deleteFirstPoint, undo, 0, 0},
        {"position page, monster change: nothing of its own to undo",
         [](KeyboardTest& t) {
             storeAttackSpeed(t, "777");
             t.main()->switchPageKeepingMonster();
         },
         undo, 1, 0},
        {"dialog, Ctrl+Z",
         [](KeyboardTest& t) {
             deleteFirstPoint(t);
             t.main()->spawnPage()->openAddSpotDialog();
             KeyboardTest::activate(t.dialog());
         },
         undo, 0, 0},
        {"preview, Ctrl+Z",
         [](KeyboardTest& t) {
             deleteFirstPoint(t);
             t.main()->spawnPage()->showPreview();
             KeyboardTest::activate(t.preview());
         },
         undo, 0, 0},
        {"map overview, Ctrl+Z",
         [](KeyboardTest& t) {
             deleteFirstPoint(t);
             t.overview()->openOnMap(1);
             KeyboardTest::activate(t.overview());
         },
         undo, 0, 0},
        {"position page, Ctrl+Y after Ctrl+Z",
         [](KeyboardTest& t) {
             deleteFirstPoint(t);
             t.main()->document().history(TableFile::Spawns).undo();
         },
         QKeySequence(Qt::CTRL | Qt::Key_Y), 0, 1},
        {"stats page, Ctrl+Shift+Z after Ctrl+Z",
         [](KeyboardTest& t) {
             storeAttackSpeed(t, "777");
             t.main()->document().history(TableFile::Monsters).undo();
         },
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 1, 0},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        c.before(*this);
        QApplication::processEvents();
        QTest::keySequence(QApplication::focusWidget(), c.keys);
        const EditorDocument& document = main()->document();
        EXPECT_EQ(document.history(TableFile::Monsters).index(), c.monsterSteps) << c.name;
        EXPECT_EQ(document.history(TableFile::Spawns).index(), c.spawnSteps) << c.name;
        EXPECT_TRUE(recorder().errors().isEmpty()) << c.name;
    }
}

// In the edit state Ctrl+Z in a field takes back what was typed there; a stored change
// stays stored.
TEST_F(KeyboardTest, CtrlZInAFieldIsTheFieldsOwnUndo) {
    storeAttackSpeed(*this, "777");
    main()->statsPage()->startEditing();
    typeInto(main(), "Vatackspeed", "1234");
    press(Qt::Key_Z, Qt::ControlModifier);
    auto* field = main()->findChild<SpinField*>(QStringLiteral("Vatackspeed"));
    EXPECT_EQ(field->text(), QStringLiteral("777"));
    EXPECT_EQ(main()->document().history(TableFile::Monsters).index(), 1);
}

// In the windows that edit the spawn file, Ctrl+Z in a field first takes back what was
// typed there; once there is nothing left to take back, it undoes the file's last change.
TEST_F(KeyboardTest, CtrlZInAFieldTakesBackTheTypingThenTheFilesLastChange) {
    const struct {
        const char* name;
        std::function<QWidget*(KeyboardTest&)> window;
        const char* field;
        const char* typed;
    } cases[] = {
        {"the dialog's distance",
         [](KeyboardTest& t) {
             t.main()->spawnPage()->openAddSpotDialog();
             return static_cast<QWidget*>(t.dialog());
         },
         "SpinEdit1", "42"},
        {"the overview's filter",
         [](KeyboardTest& t) {
             t.overview()->openOnMap(1);
             return static_cast<QWidget*>(t.overview());
         },
         "OverviewFilter", "zz"},
        {"the position page's filter", [](KeyboardTest& t) { return static_cast<QWidget*>(t.main()); },
         "PositionMonsterFilter", "Goblin"},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        deleteFirstPoint(*this);
        QWidget* window = c.window(*this);
        activate(window);
        auto* field = window->findChild<QWidget*>(QString::fromLatin1(c.field));
        ASSERT_NE(field, nullptr) << c.name;
        auto* text = qobject_cast<QLineEdit*>(field);
        if (!text) text = field->findChild<QLineEdit*>();
        const QString before = text->text();
        typeInto(window, c.field, c.typed);
        const QUndoStack& history = main()->document().history(TableFile::Spawns);
        for (int presses = 0; presses < 10 && text->isUndoAvailable(); ++presses) {
            press(Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(history.index(), 1) << c.name << ": the typing first";
        }
        EXPECT_EQ(text->text(), before) << c.name;
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(history.index(), 0) << c.name << ": then the file";
        EXPECT_EQ(text->text(), before) << c.name;
        EXPECT_TRUE(recorder().errors().isEmpty()) << c.name;
    }
}
