#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "FormFont.h"
#include "LineFormat.h"
#include "ListRows.h"
#include "MessageRecorder.h"
#include "MonsterFields.h"
#include "SpinField.h"
#include "StatsPage.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "MainWindow.h"
#include "TableLoad.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace {

// Columns 4..28 of a monster line; the names are the page's fields.
struct Stats {
    std::string lvl = "12", hp = "300", mp = "20", dmgMin = "5", dmgMax = "9", def = "4",
                defM = "3", attackRate = "30", defRate = "25", move = "2";
    std::string col14to16 = "14\t15\t16";
    std::string speed = "400", attackSpeed = "1500", regeneration = "60";
    std::string col20to24 = "20\t21\t22\t23\t24";
    std::string poison = "-5", ice = "7", light = "99999999", fire = "-2147483648";
};

std::string monsterLine(const std::string& id, const std::string& name, const Stats& s) {
    return id + "\t0\t\"" + name + "\"\t" + s.lvl + "\t" + s.hp + "\t" + s.mp + "\t" + s.dmgMin +
           "\t" + s.dmgMax + "\t" + s.def + "\t" + s.defM + "\t" + s.attackRate + "\t" +
           s.defRate + "\t" + s.move + "\t" + s.col14to16 + "\t" + s.speed + "\t" +
           s.attackSpeed + "\t" + s.regeneration + "\t" + s.col20to24 + "\t" + s.poison + "\t" +
           s.ice + "\t" + s.light + "\t" + s.fire;
}

std::vector<std::string> columns(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        out.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return out;
        start = tab + 1;
    }
}

// The object name of the control that shows each field, in the order of kMonsterFields.
const std::array<const char*, kEditableColumns> kShownBy = {
    "Vlvl",       "VHP",         "VMP",      "VDMGMIN",       "VDMGmax",       "VDEF",
    "VDEFM",      "VATTCKRATE",  "VDEFRATE", "combomvrag",    "Vspeed",        "Vatackspeed",
    "VRegeneration", "VPoisonRezist", "VIceRezist", "VLightRezist", "VFireRezist"};
const char* shownBy(const MonsterField& field) {
    return kShownBy[static_cast<std::size_t>(&field - kMonsterFields.data())];
}

const std::array<const char*, 16> kFieldNames = {
    "Vlvl",        "VHP",          "VMP",           "VDMGMIN",       "VDMGmax",    "VDEF",
    "VDEFM",       "VATTCKRATE",   "VDEFRATE",      "Vspeed",        "Vatackspeed", "VRegeneration",
    "VPoisonRezist", "VIceRezist", "VLightRezist",  "VFireRezist"};

// The page in the program's windows, on a monster table read from a temporary working
// folder (with an empty spawn file).
class StatsPageTest : public ::testing::Test {
protected:
    void load(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        folder.write("data/monster.txt", text);
        makePage();
    }
    void makePage() {
        folder.write("data/Quarnel.txt", "0\r\nend\r\n1\r\nend\r\n2\r\nend\r\n3\r\nend\r\n4\r\nend\r\n");
        windows = std::make_unique<EditorWindows>(folder.path(), folder.path(), loadTables(folder.path()));
        page = windows->mainWindow().statsPage();
    }
    const MonsterTable& table() const { return windows->document().monsters(); }
    void SetUp() override { recorder().clear(); }

    template <class T>
    T* control(const char* name) {
        T* found = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    SpinField* field(const char* name) { return control<SpinField>(name); }
    QPushButton* ok() { return control<QPushButton>("Button3"); }
    QPushButton* cancel() { return control<QPushButton>("Button2"); }
    QToolButton* edit() { return control<QToolButton>("Button1"); }
    QTreeView* list() { return control<QTreeView>("ListView1"); }
    QWidget* panel() { return control<QWidget>("Panel1"); }
    QComboBox* moveRange() { return control<QComboBox>("combomvrag"); }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void clickRow(int row) {
        ASSERT_LT(row, rowCount(list()));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowRect(list(), row).center());
    }
    void retype(SpinField* spin, const QString& text) {
        spin->lineEdit()->selectAll();
        QTest::keyClick(spin, Qt::Key_Delete);
        QTest::keyClicks(spin, text);
    }
    std::map<std::string, int> shownValues() {
        std::map<std::string, int> values;
        for (const char* name : kFieldNames) values[name] = field(name)->value();
        return values;
    }

    TempFolder folder;
    std::unique_ptr<EditorWindows> windows;
    StatsPage* page = nullptr;
};

TEST_F(StatsPageTest, ShowsTheSelectedMonsterFromItsStoredLine) {
    Stats other;
    other.lvl = "40";
    other.move = "0";
    load({monsterLine("7", "Grey  Wolf", Stats{}), monsterLine("$1F", "Cave Bat", other)});

    ASSERT_EQ(rowCount(list()), 2);
    EXPECT_EQ(cellText(list(), 0, 0), QStringLiteral("Grey Wolf"));
    EXPECT_EQ(cellText(list(), 1, 1), QStringLiteral("31"));
    EXPECT_EQ(page->selectedIndex(), 0);
    EXPECT_EQ(control<QLabel>("ViD")->text(), QStringLiteral("7"));
    EXPECT_EQ(control<QLabel>("Vname")->text(), QStringLiteral("\"Grey Wolf\""));
    const std::map<std::string, int> expected = {
        {"Vlvl", 12},       {"VHP", 300},          {"VMP", 20},          {"VDMGMIN", 5},
        {"VDMGmax", 9},     {"VDEF", 4},           {"VDEFM", 3},         {"VATTCKRATE", 30},
        {"VDEFRATE", 25},   {"Vspeed", 400},       {"Vatackspeed", 1500}, {"VRegeneration", 60},
        {"VPoisonRezist", -5}, {"VIceRezist", 7},  {"VLightRezist", 99999999},
        {"VFireRezist", -2147483647 - 1}};
    EXPECT_EQ(shownValues(), expected);
    EXPECT_EQ(moveRange()->currentIndex(), 2);

    clickRow(1);
    EXPECT_EQ(page->selectedIndex(), 1);
    EXPECT_EQ(control<QLabel>("ViD")->text(), QStringLiteral("$1F"));  // as in the file
    EXPECT_EQ(field("Vlvl")->value(), 40);
    EXPECT_EQ(moveRange()->currentText(), QStringLiteral("Cant Move"));
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(StatsPageTest, NamesAreShownAsUtf8WhereValidElseLatin1) {
    load({monsterLine("1", "Caf\xC3\xA9", Stats{}), monsterLine("2", "Caf\xE9", Stats{})});
    EXPECT_EQ(cellText(list(), 0, 0), QString::fromUtf8("Caf\u00e9"));
    EXPECT_EQ(cellText(list(), 1, 0), QString::fromUtf8("Caf\u00e9"));
    clickRow(1);
    EXPECT_EQ(control<QLabel>("Vname")->text(), QString::fromUtf8("\"Caf\u00e9\""));
}

TEST_F(StatsPageTest, BrowseAndEditStatesEnableTheirControls) {
    load({monsterLine("1", "A", Stats{})});
    QSignalSpy states(page, &StatsPage::editStateChanged);
    struct Expect {
        bool list, panel, ok, cancel, edit;
    };
    const auto check = [&](const Expect& e, const char* state) {
        EXPECT_EQ(list()->isEnabled(), e.list) << state;
        EXPECT_EQ(panel()->isEnabled(), e.panel) << state;
        EXPECT_EQ(ok()->isEnabled(), e.ok) << state;
        EXPECT_EQ(cancel()->isEnabled(), e.cancel) << state;
        EXPECT_EQ(edit()->isEnabled(), e.edit) << state;
    };
    const Expect browse{true, false, false, false, true};
    const Expect editing{false, true, false, true, false};
    check(browse, "start");
    EXPECT_FALSE(page->editing());
    click(edit());
    check(editing, "edit");
    EXPECT_TRUE(page->editing());
    click(cancel());
    check(browse, "after Cancel");
    ASSERT_EQ(states.count(), 2);
    EXPECT_TRUE(states.at(0).at(0).toBool());
    EXPECT_FALSE(states.at(1).at(0).toBool());
}

TEST_F(StatsPageTest, OkIsEnabledOnlyByAChangeInTheEditState) {
    Stats second;
    second.hp = "777";
    load({monsterLine("1", "A", Stats{}), monsterLine("2", "B", second)});

    // Browse state: showing other monsters and program changes never enable "OK".
    clickRow(1);
    field("VMP")->setValue(5);
    EXPECT_FALSE(ok()->isEnabled());

    struct Change {
        const char* what;
        std::function<void()> act;
    };
    const std::vector<Change> changes = {
        {"typing in HP", [&] { retype(field("VHP"), QStringLiteral("123")); }},
        {"level arrow", [&] { QTest::keyClick(field("Vlvl"), Qt::Key_Up); }},
        {"resist typing", [&] { retype(field("VFireRezist"), QStringLiteral("-1")); }},
        {"move range choice",
         [&] {
             moveRange()->setFocus();
             QTest::keyClick(moveRange(), Qt::Key_Down);
         }},
    };
    for (const auto& change : changes) {
        clickRow(0);
        clickRow(1);  // shows the stored values again, so the edit's reload changes nothing
        EXPECT_FALSE(ok()->isEnabled()) << change.what;
        click(edit());
        EXPECT_FALSE(ok()->isEnabled()) << change.what;
        change.act();
        EXPECT_TRUE(ok()->isEnabled()) << change.what;
        click(cancel());
        EXPECT_FALSE(ok()->isEnabled()) << change.what;
    }
}

TEST_F(StatsPageTest, OutOfBoundsValuesAreShownAndWrittenClamped) {
    Stats s;
    s.lvl = "0";
    s.hp = "0";
    s.mp = "-4";
    s.attackSpeed = "2500";
    s.poison = "-2147483648";
    s.ice = "2147483647";
    s.light = "-1";
    s.fire = "1000001";
    load({monsterLine("1", "A", s)});

    EXPECT_EQ(field("Vlvl")->text(), QStringLiteral("1"));
    EXPECT_EQ(field("VHP")->text(), QStringLiteral("1"));
    EXPECT_EQ(field("VMP")->text(), QStringLiteral("0"));
    EXPECT_EQ(field("Vatackspeed")->text(), QStringLiteral("2000"));

    click(edit());
    retype(field("VDEF"), QStringLiteral("8"));
    click(ok());
    ASSERT_TRUE(recorder().messages.empty());
    const auto cols = columns(table().monsterlines[0]);
    ASSERT_EQ(cols.size(), 28u);
    EXPECT_EQ(cols[3], "1");     // level
    EXPECT_EQ(cols[4], "1");     // HP
    EXPECT_EQ(cols[5], "0");     // MP
    EXPECT_EQ(cols[8], "8");     // p.Def as typed
    EXPECT_EQ(cols[17], "2000");  // attack speed
    EXPECT_EQ(cols[24], "-2147483648");
    EXPECT_EQ(cols[25], "2147483647");
    EXPECT_EQ(cols[26], "-1");
    EXPECT_EQ(cols[27], "1000001");
    EXPECT_EQ(table().monsters[0].level, 0);  // the record keeps what was loaded
}

TEST_F(StatsPageTest, TypedNumbersOfAnySizeAreClampedAndOkShowsWhatItStored) {
    struct Case {
        const char* field;
        const char* typed;
        const char* shownAfterLeaving;
        const char* stored;
    };
    const Case cases[] = {
        {"VMP", "99999999999", "1000000", "1000000"},
        {"VHP", "-99999999999", "1", "1"},
        {"Vatackspeed", "2001", "2000", "2000"},
        {"VDMGMIN", "", "", "1"},  // an emptied field stores its lower bound
        {"VIceRezist", "000000000000000000042", "42", "42"},
        {"VFireRezist", "99999999999", "2147483647", "2147483647"},
        {"VPoisonRezist", "-99999999999999999999", "-2147483648", "-2147483648"},
    };
    load({monsterLine("1", "A", Stats{})});
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    click(edit());
    for (const auto& c : cases) {
        field(c.field)->setFocus();
        retype(field(c.field), QString::fromLatin1(c.typed));
        field("VDEF")->setFocus();  // leaving the field
        QApplication::processEvents();
        EXPECT_EQ(field(c.field)->text().toStdString(), c.shownAfterLeaving) << c.field;
    }
    click(ok());
    ASSERT_TRUE(recorder().messages.empty());
    const auto cols = columns(table().monsterlines[0]);
    ASSERT_EQ(cols.size(), 28u);
    for (const auto& c : cases) {
        const auto design = std::find_if(kMonsterFields.begin(), kMonsterFields.end(),
                                         [&](const MonsterField& f) { return shownBy(f) == std::string(c.field); });
        EXPECT_EQ(cols[static_cast<std::size_t>(design->column - 1)], c.stored) << c.field;
    }
    // Every field shows exactly what was written for it.
    for (const MonsterField& design : kMonsterFields) {
        const QString text = design.column == 13 ? QString::number(moveRange()->currentIndex()) : field(shownBy(design))->text();
        EXPECT_EQ(text.toStdString(), cols[static_cast<std::size_t>(design.column - 1)]) << shownBy(design);
    }
}

TEST_F(StatsPageTest, EveryFieldShowsTheLongestValueOfItsColumnWhole) {
    Stats widest;
    widest.hp = widest.mp = widest.dmgMin = widest.dmgMax = widest.def = widest.defM = "1000000";
    widest.attackRate = widest.defRate = widest.speed = widest.regeneration = "1000000";
    widest.lvl = "255", widest.attackSpeed = "2000";
    widest.poison = widest.ice = widest.light = widest.fire = "-2147483648";
    load({monsterLine("1", "A", widest)});
    page->setFont(formFont());  // as inside the main window, at its size there
    page->resize(610 - 2, 510 - 52);
    click(edit());
    for (const char* name : kFieldNames) {
        QLineEdit* edit = field(name)->lineEdit();
        edit->setCursorPosition(static_cast<int>(edit->text().size()));  // the end in view
        field(name)->grab();  // lays the text out as it is drawn
        // The first digit is in view as well: the whole number shows.
        EXPECT_EQ(edit->cursorPositionAt(QPoint(1, edit->height() / 2)), 0) << name;
        const QRect inPage(field(name)->mapTo(page, QPoint(0, 0)), field(name)->size());
        EXPECT_TRUE(page->rect().contains(inPage)) << name;
    }
}

TEST_F(StatsPageTest, CancelThenEditReloadsTheStoredValuesAndLeavesOkEnabled) {
    load({monsterLine("1", "A", Stats{})});
    click(edit());
    retype(field("VHP"), QStringLiteral("999"));
    click(cancel());
    EXPECT_EQ(field("VHP")->value(), 999);  // fields keep what they show
    EXPECT_EQ(table().monsterlines[0], monsterLine("1", "A", Stats{}));
    click(edit());
    EXPECT_EQ(field("VHP")->value(), 300);
    EXPECT_TRUE(ok()->isEnabled());
}

TEST_F(StatsPageTest, OkThenSaveWritesTheRebuiltLineWithExactly28Columns) {
    Stats first;
    first.col20to24 = "20   21\t\t22 23 24";  // blanks and tabs mixed: normalised on reading
    load({monsterLine("1", "Grey  Wolf", first), monsterLine("2", "B", Stats{}), "end",
          "trailing  text"});
    QSignalSpy stored(&windows->document(), &EditorDocument::monsterStored);
    click(edit());
    retype(field("VHP"), QStringLiteral("4321"));
    QTest::keyClick(field("Vlvl"), Qt::Key_Up);
    click(ok());
    ASSERT_EQ(stored.count(), 1);
    EXPECT_EQ(stored.at(0).at(0).toInt(), 0);
    EXPECT_FALSE(page->editing());
    EXPECT_TRUE(folder.read("data/monster.txt").find("4321") == std::string::npos);  // not yet

    click(control<QToolButton>("SpeedButton8"));
    ASSERT_TRUE(recorder().messages.empty());
    const std::string saved = folder.read("data/monster.txt");
    const std::string expectedFirst =
        "1\t0\t\"Grey Wolf\"\t13\t4321\t20\t5\t9\t4\t3\t30\t25\t2\t14\t15\t16\t400\t1500\t60\t"
        "20\t21\t22\t23\t24\t-5\t7\t99999999\t-2147483648";
    EXPECT_EQ(columns(expectedFirst).size(), 28u);
    EXPECT_EQ(saved, expectedFirst + "\r\n" + monsterLine("2", "B", Stats{}) + "\r\nend\r\ntrailing\ttext\r\n");
}

TEST_F(StatsPageTest, SaveWritesOnlyStoredLinesInEitherState) {
    load({monsterLine("1", "A", Stats{})});
    click(edit());
    retype(field("VHP"), QStringLiteral("5555"));
    click(control<QToolButton>("SpeedButton8"));
    EXPECT_TRUE(page->editing());
    EXPECT_EQ(folder.read("data/monster.txt"), monsterLine("1", "A", Stats{}) + "\r\n");
}

TEST_F(StatsPageTest, MoveRangeOutsideTheListKeepsTheStoredValueUnlessChosen) {
    struct Case {
        const char* stored;
        int shown;   // item index shown; -1: no entry
        int choose;  // -1: leave the box as it is
        const char* written;
        bool canmove;  // after "OK"
    };
    const Case cases[] = {
        {"9", -1, -1, "9", true},   {"-3", -1, -1, "-3", true}, {"9", -1, 0, "0", false},
        {"0", 0, 4, "4", true},     {"5", 5, 0, "0", false},    {"$A", -1, -1, "10", true},
        {"00", 0, -1, "0", false},  // "00" loads as moving; OK with "Cant Move" stops it
    };
    for (const auto& c : cases) {
        Stats s;
        s.move = c.stored;
        load({monsterLine("1", "A", s)});
        EXPECT_EQ(moveRange()->currentIndex(), c.shown) << c.stored;
        click(edit());
        retype(field("VMP"), QStringLiteral("1"));
        if (c.choose >= 0) {
            moveRange()->setFocus();
            QTest::keyClick(moveRange(), Qt::Key_Home);
            for (int i = 0; i < c.choose; ++i) QTest::keyClick(moveRange(), Qt::Key_Down);
            EXPECT_EQ(moveRange()->currentIndex(), c.choose);
        }
        click(ok());
        const auto cols = columns(table().monsterlines[0]);
        ASSERT_EQ(cols.size(), 28u);
        EXPECT_EQ(cols[12], c.written) << c.stored;
        EXPECT_EQ(table().monsters[0].canmove, c.canmove) << c.stored;
        EXPECT_TRUE(recorder().messages.empty()) << c.stored;
    }
}

TEST_F(StatsPageTest, AMonsterThatCannotBeShownInFullIsNeverGivenAnotherMonstersValues) {
    Stats bad;  // every value differs from Stats{}, the monster shown first
    bad.lvl = "50", bad.hp = "600", bad.mp = "21", bad.dmgMin = "6", bad.dmgMax = "10", bad.def = "5",
    bad.defM = "4", bad.attackRate = "31", bad.defRate = "26", bad.move = "3", bad.speed = "401",
    bad.attackSpeed = "1501", bad.regeneration = "61", bad.poison = "-6", bad.ice = "8", bad.light = "-9";
    // What each control of kMonsterFields shows for it (the move range: its item).
    const std::array<const char*, kEditableColumns> shown = {
        "50", "600", "21", "6", "10", "5", "4", "31", "26", "normal", "401", "1501", "61", "-6", "8", "-9",
        "-2147483648"};
    const auto with = [&](std::string Stats::*column, const char* text) {
        Stats s = bad;
        s.*column = text;
        return monsterLine("2", "Bad", s);
    };
    const std::string full = monsterLine("2", "Bad", bad);
    std::size_t twentieth = 0;  // the tab after column 20 (the name is one word)
    for (int tab = 0; tab < 20; ++tab) twentieth = full.find('\t', twentieth + 1);

    struct Case {
        std::string line;
        int firstEmpty;  // index in kMonsterFields
        QString message;
        std::string reason;
    };
    const Case cases[] = {
        {full + "\t77\t78", 16, "'-2147483648\\t77\\t78' is not a valid integer value",
         "the line has 30 columns; a monster line has 28"},
        {full.substr(0, twentieth), 13, "'' is not a valid integer value",
         "the line has 20 columns; a monster line has 28"},
        {full + " ", 16, "'-2147483648\\t' is not a valid integer value", "the line ends with blanks"},
        {with(&Stats::mp, "99999999999"), 2, "'99999999999' is not a valid integer value",
         "column 6 (MP) is beyond the 32-bit range -2147483648..2147483647"},
        {with(&Stats::attackSpeed, "fast"), 11, "'fast' is not a valid integer value",
         "column 18 (AtackSpeed 2000/) is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string good = monsterLine("1", "Good", Stats{});
        load({good, c.line});
        recorder().clear();
        clickRow(1);
        const QString report = c.message + "\n" + QString::fromStdString(monsterFileLabel() + ", line 2: " + c.reason);
        EXPECT_EQ(recorder().errors().join('|').toStdString(), report.toStdString());
        EXPECT_EQ(control<QLabel>("ViD")->text(), QStringLiteral("2"));
        for (int i = 0; i < kEditableColumns; ++i) {
            const MonsterField& design = kMonsterFields[static_cast<std::size_t>(i)];
            QWidget* control = this->control<QWidget>(shownBy(design));
            const QString text = i == kMoveRangeField ? moveRange()->currentText() : field(shownBy(design))->text();
            const bool reached = i < c.firstEmpty;
            EXPECT_EQ(text.toStdString(), reached ? shown[static_cast<std::size_t>(i)] : "") << shownBy(design);
            EXPECT_EQ(control->isEnabledTo(panel()), reached) << shownBy(design);
        }

        // Edit reports it again and stays in the browse state; OK cannot store.
        click(edit());
        EXPECT_EQ(recorder().errors().join('|').toStdString(), (report + '|' + report).toStdString());
        EXPECT_FALSE(page->editing());
        EXPECT_TRUE(list()->isEnabled());
        EXPECT_FALSE(panel()->isEnabled());
        EXPECT_FALSE(ok()->isEnabled());
        page->storeEdits();  // even run by hand
        click(control<QToolButton>("SpeedButton8"));
        EXPECT_EQ(folder.read("data/monster.txt"),
                  good + "\r\n" + normalizeline(c.line, false) + "\r\n");

        // A good monster afterwards fills and unlocks every field again.
        recorder().clear();
        clickRow(0);
        EXPECT_TRUE(recorder().messages.empty());
        for (const MonsterField& design : kMonsterFields)
            EXPECT_TRUE(control<QWidget>(shownBy(design))->isEnabledTo(panel())) << shownBy(design);
        EXPECT_EQ(field("VFireRezist")->value(), -2147483647 - 1);
        EXPECT_EQ(field("VMP")->value(), 20);
    }
}

// The message shows the tab it quotes as \t, as varnex-check does.
TEST_F(StatsPageTest, LinesWithMissingOrExtraColumnsFailAtTheirColumn) {
    struct Case {
        std::string line;
        QString message;
    };
    const std::string full = monsterLine("4", "D", Stats{});
    const Case cases[] = {
        {full + "\t77", QStringLiteral("'-2147483648\\t77' is not a valid integer value")},
        {full + "   ", QStringLiteral("'-2147483648\\t' is not a valid integer value")},
        {full.substr(0, full.rfind('\t')), QStringLiteral("'' is not a valid integer value")},
    };
    for (const auto& c : cases) {
        recorder().clear();
        load({monsterLine("1", "A", Stats{}), c.line});
        clickRow(1);
        ASSERT_EQ(recorder().errors().size(), 1);
        EXPECT_TRUE(recorder().errors().at(0).startsWith(c.message)) << recorder().errors().at(0).toStdString();
    }
}

// The stats page's filter finds a monster by its number, in the list's second column, or
// by a part of its name; the chosen monster follows.
TEST_F(StatsPageTest, FilterFindsAMonsterByNumberOrName) {
    load({monsterLine("1", "Grey Wolf", Stats{}), monsterLine("12", "Ash Hound", Stats{}),
          monsterLine("21", "Bog Rat", Stats{})});
    auto* filter = control<QLineEdit>("StatsMonsterFilter");
    for (const auto& [typed, row] : {std::pair{"21", 2}, std::pair{"hOUN", 1}, std::pair{"1", 0}}) {
        filter->setText(QString::fromLatin1(typed));
        EXPECT_EQ(page->selectedIndex(), row) << typed;
        for (int other = 0; other < 3; ++other) EXPECT_EQ(list()->isRowHidden(other, {}), other != row) << typed;
        EXPECT_EQ(control<QLabel>("ViD")->text(), QString::number(row == 0 ? 1 : row == 1 ? 12 : 21)) << typed;
    }
}

// A filter that hides the chosen monster chooses the first one left, or none: then the
// panel is empty and "Edit" is off. Down goes into the list; Enter chooses and goes there.
TEST_F(StatsPageTest, AFilterThatHidesTheChosenMonsterChoosesTheFirstLeftOrNone) {
    load({monsterLine("1", "Grey Wolf", Stats{}), monsterLine("12", "Ash Hound", Stats{}),
          monsterLine("21", "Bog Rat", Stats{})});
    auto* filter = control<QLineEdit>("StatsMonsterFilter");
    page->window()->show();
    QApplication::setActiveWindow(page->window());
    const struct {
        const char* typed;
        Qt::Key key;  // then pressed in the field, or none
        int chosen;
        const char* id;  // the panel's ID
        bool editable;
        bool listHasTheKeyboard;
    } steps[] = {
        {"Ash", Qt::Key_unknown, 1, "12", true, false},
        {"zzz", Qt::Key_unknown, -1, "", false, false},
        {"zzz", Qt::Key_Down, -1, "", false, false},  // nowhere to go
        {"o", Qt::Key_unknown, 0, "1", true, false},  // Grey Wolf, Ash Hound, Bog Rat: the first left
        {"o", Qt::Key_Down, 0, "1", true, true},
        {"Bog", Qt::Key_Return, 2, "21", true, true},
    };
    for (const auto& step : steps) {
        filter->setFocus();
        filter->setText(QString::fromLatin1(step.typed));
        if (step.key != Qt::Key_unknown) QTest::keyClick(filter, step.key);
        const std::string trace = std::string(step.typed) + " " + std::to_string(step.key);
        EXPECT_EQ(page->selectedIndex(), step.chosen) << trace;
        EXPECT_EQ(control<QLabel>("ViD")->text(), QString::fromLatin1(step.id)) << trace;
        EXPECT_EQ(edit()->isEnabled(), step.editable) << trace;
        EXPECT_EQ(list()->hasFocus(), step.listHasTheKeyboard) << trace;
    }
    click(edit());
    EXPECT_TRUE(page->editing());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(StatsPageTest, EmptyTableShowsNothingAndEditDoesNothing) {
    load({"end"});
    recorder().clear();  // the start-up says the spawn file is left unread
    EXPECT_EQ(rowCount(list()), 0);
    click(edit());
    EXPECT_FALSE(page->editing());
    EXPECT_FALSE(panel()->isEnabled());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(StatsPageTest, SaveIsRefusedWhenTheFileWasNotRead) {
    makePage();  // no data/monster.txt
    ASSERT_EQ(recorder().errors().size(), 1);
    recorder().clear();
    click(control<QToolButton>("SpeedButton8"));
    EXPECT_EQ(recorder().errors().size(), 1);
    EXPECT_FALSE(folder.exists("data/monster.txt"));
}

}  // namespace
