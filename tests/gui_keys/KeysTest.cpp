// The keys of the edit-and-save cycle: on the stats page in the edit state Enter
// presses "OK" (after the field has taken in what was typed) and Escape "Cancel";
// Ctrl+S runs the save button of the page shown, refusals and all, and in the dialog,
// the preview and the map overview saves the spawn file; Enter in the dialog never
// creates a spot; Escape closes the dialog and
// the preview; Ctrl+M opens the map overview from the "Monster Position" page.

#include <functional>
#include <string>
#include <vector>

#include <QAbstractSpinBox>

#include "KeyboardFixture.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "EditorDocument.h"

namespace {

// Monster 5's first point spot is fine; the second line stops the reading.
constexpr const char* kBrokenSpawnFile = "0\r\n5\t1\t3\t120\t130\t-1\r\n5\tx\r\nend\r\n";

enum class Written { Nothing, MonsterTable, SpawnFile };

struct KeyCase {
    const char* name;
    std::function<void(KeyboardTest&)> before;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    // Afterwards:
    bool editing;
    const char* storedAttackSpeed;  // column 18 of the first monster's stored line
    const char* field;              // a field of the main window or the dialog...
    const char* shows;              // ...and its text
    const char* focus;
    Written written;
    bool refused;         // one error box: the spawn table's refusal to be saved
    const char* windows;  // the windows on view
};

std::string column(const std::string& line, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) start = line.find('\t', start) + 1;
    return line.substr(start, line.find('\t', start) - start);
}

void edit(KeyboardTest& t) { t.main()->statsPage()->startEditing(); }
void typeAttackSpeed(KeyboardTest& t, const char* text) { KeyboardTest::typeInto(t.main(), "Vatackspeed", text); }
void openDialog(KeyboardTest& t) {
    t.main()->switchPageKeepingMonster();
    t.main()->spawnPage()->openAddSpotDialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.dialog()));
}

}  // namespace

TEST_F(KeyboardTest, EnterEscapeAndCtrlS) {
    constexpr auto none = Qt::NoModifier;
    constexpr auto ctrl = Qt::ControlModifier;
    const KeyCase cases[] = {
        {"Enter in a field takes in the typed value and presses OK",
         [](KeyboardTest& t) { edit(t), typeAttackSpeed(t, "5000"); }, Qt::Key_Return, none,
         false, "2000", "Vatackspeed", "2000", "ListView1", Written::Nothing, false, "main"},
        {"Enter on the keypad does the same", [](KeyboardTest& t) { edit(t), typeAttackSpeed(t, "1999"); },
         Qt::Key_Enter, Qt::KeypadModifier, false, "1999", "Vatackspeed", "1999", "ListView1", Written::Nothing, false, "main"},
        {"Enter with the focus on Cancel presses Cancel",
         [](KeyboardTest& t) {
             edit(t), typeAttackSpeed(t, "1234");
             t.main()->findChild<QWidget*>(QStringLiteral("Button2"))->setFocus();
         },
         Qt::Key_Return, none, false, "1500", "Vatackspeed", "1234", "ListView1", Written::Nothing, false, "main"},
        {"Enter before any change leaves OK alone", edit, Qt::Key_Return, none,
         true, "1500", "Vatackspeed", "1500", "Vlvl", Written::Nothing, false, "main"},
        {"Escape presses Cancel", [](KeyboardTest& t) { edit(t), typeAttackSpeed(t, "1234"); }, Qt::Key_Escape,
         none, false, "1500", "Vatackspeed", "1234", "ListView1", Written::Nothing, false, "main"},
        {"Enter and Escape in the browse state do nothing", [](KeyboardTest&) {}, Qt::Key_Escape, none,
         false, "1500", "Vatackspeed", "1500", "ListView1", Written::Nothing, false, "main"},
        {"Ctrl+S saves the monster table with what OK stored",
         [](KeyboardTest& t) {
             edit(t), typeAttackSpeed(t, "777");
             KeyboardTest::press(Qt::Key_Return);
         },
         Qt::Key_S, ctrl, false, "777", "Vatackspeed", "777", "ListView1", Written::MonsterTable, false, "main"},
        {"Ctrl+S in the edit state asks first; Cancel keeps the typed value and saves nothing",
         [](KeyboardTest& t) { edit(t), typeAttackSpeed(t, "777"); }, Qt::Key_S, ctrl,
         true, "1500", "Vatackspeed", "777", "Vatackspeed", Written::Nothing, false, "main"},
        {"Ctrl+S on the position page saves the spawn file",
         [](KeyboardTest& t) {
             t.main()->switchPageKeepingMonster();
             recorder().answerQuestions = true;  // Yes: replace the program folder's other spawn file
         },
         Qt::Key_S, ctrl, false, "1500", "Vatackspeed", "1500", "allmonsterlist", Written::SpawnFile, false, "main"},
        {"Ctrl+S reports a refusal to save and writes nothing",
         [](KeyboardTest& t) {
             t.start(kBrokenSpawnFile);
             recorder().clear();  // the reading's own report
             t.main()->switchPageKeepingMonster();
         },
         Qt::Key_S, ctrl, false, "1500", "Vatackspeed", "1500", "allmonsterlist", Written::Nothing, true, "main"},
        {"Ctrl+S in the dialog saves the spawn file",
         [](KeyboardTest& t) {
             openDialog(t);
             recorder().answerQuestions = true;
         },
         Qt::Key_S, ctrl, false, "1500", "Vatackspeed", "1500", "MonsterIDcombo", Written::SpawnFile, false,
         "main dialog"},
        {"Ctrl+S in the preview saves the spawn file",
         [](KeyboardTest& t) {
             t.main()->switchPageKeepingMonster();
             t.main()->spawnPage()->showPreview();
             KeyboardTest::activate(t.preview());
             recorder().answerQuestions = true;
         },
         Qt::Key_S, ctrl, false, "1500", "Vatackspeed", "1500", "1X", Written::SpawnFile, false, "main preview"},
        {"Ctrl+S in the map overview saves the spawn file",
         [](KeyboardTest& t) {
             t.main()->switchPageKeepingMonster();
             t.overview()->openOnMap(1);
             KeyboardTest::activate(t.overview());
             recorder().answerQuestions = true;
         },
         Qt::Key_S, ctrl, false, "1500", "Vatackspeed", "1500", "OverviewSurface", Written::SpawnFile, false, "main"},
        {"Enter in a dialog field takes in the typed value and creates no spot",
         [](KeyboardTest& t) { openDialog(t), KeyboardTest::typeInto(t.dialog(), "SpinEditX", "300"); },
         Qt::Key_Return, none, false, "1500", "SpinEditX", "250", "SpinEditX", Written::Nothing, false, "main dialog"},
        {"Enter on Create creates no spot",
         [](KeyboardTest& t) {
             openDialog(t);
             t.dialog()->findChild<QWidget*>(QStringLiteral("Button1"))->setFocus();
         },
         Qt::Key_Return, none, false, "1500", "SpinEditX", "127", "Button1", Written::Nothing, false, "main dialog"},
        {"Escape in the dialog closes it, back to the main window", openDialog, Qt::Key_Escape, none,
         false, "1500", "Vatackspeed", "1500", "allmonsterlist", Written::Nothing, false, "main"},
        {"Escape in the preview closes it, back to the main window",
         [](KeyboardTest& t) {
             t.main()->switchPageKeepingMonster();
             t.main()->spawnPage()->showPreview();
             KeyboardTest::activate(t.preview());
         },
         Qt::Key_Escape, none, false, "1500", "Vatackspeed", "1500", "allmonsterlist", Written::Nothing, false,
         "main"},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        c.before(*this);
        const int spots = main()->document().spawns().count;
        press(c.key, c.modifiers);
        QApplication::processEvents();  // a window given the keyboard gets it here

        const EditorDocument& document = main()->document();
        StatsPage* stats = main()->statsPage();
        EXPECT_EQ(stats->editing(), c.editing) << c.name;
        EXPECT_EQ(column(document.monsters().monsterlines.at(0), 17), c.storedAttackSpeed) << c.name;
        auto* field = main()->findChild<QAbstractSpinBox*>(QString::fromLatin1(c.field));
        if (!field) field = dialog()->findChild<QAbstractSpinBox*>(QString::fromLatin1(c.field));
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_EQ(field->text().toStdString(), c.shows) << c.name;
        EXPECT_EQ(focused().toStdString(), c.focus) << c.name;
        EXPECT_EQ(document.spawns().count, spots) << c.name;
        EXPECT_EQ(work.read("data/monster.txt"),
                  c.written == Written::MonsterTable ? document.monsters().fileBytes() : std::string(kMonsterFile))
            << c.name;
        EXPECT_EQ(program.read("data/Quarnel.txt"),
                  c.written == Written::SpawnFile ? document.spawns().fileBytes() : std::string(kOldSavedSpawnFile))
            << c.name;
        QStringList windows;
        if (main()->isVisible()) windows << QStringLiteral("main");
        if (dialog()->isVisible()) windows << QStringLiteral("dialog");
        if (preview()->isVisible()) windows << QStringLiteral("preview");
        EXPECT_EQ(windows.join(QLatin1Char(' ')).toStdString(), c.windows) << c.name;
        const QStringList expectedErrors =
            c.refused ? QStringList{QString::fromStdString(document.spawns().saveRefusal())} : QStringList{};
        EXPECT_EQ(recorder().errors().join(QLatin1Char('\n')).toStdString(),
                  expectedErrors.join(QLatin1Char('\n')).toStdString())
            << c.name;
    }
}

TEST_F(KeyboardTest, CtrlMOpensTheOverviewOnThePositionPagesMap) {
    const auto overviewShows = [] {  // its map, or -1 while no overview is on view
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* overview = qobject_cast<MapOverviewWindow*>(window); overview && overview->isVisible())
                return overview->map();
        return -1;
    };
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(overviewShows(), -1) << "on Monster Stats";
    main()->switchPageKeepingMonster();  // monster 5: map 1 chosen, map 2 listed
    main()->spawnPage()->selectMapText(QStringLiteral("2"));
    main()->spawnPage()->showSelectedMap();
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(overviewShows(), 2);
}
