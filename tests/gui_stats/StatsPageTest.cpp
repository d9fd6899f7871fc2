#include <array>
#include <map>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "MessageRecorder.h"
#include "SpinField.h"
#include "StatsPage.h"
#include "TempFolder.h"

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

const std::array<const char*, 16> kFieldNames = {
    "Vlvl",        "VHP",          "VMP",           "VDMGMIN",       "VDMGmax",    "VDEF",
    "VDEFM",       "VATTCKRATE",   "VDEFRATE",      "Vspeed",        "Vatackspeed", "VRegeneration",
    "VPoisonRezist", "VIceRezist", "VLightRezist",  "VFireRezist"};

// The page on a monster table read from a temporary working folder.
class StatsPageTest : public ::testing::Test {
protected:
    void load(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        folder.write("data/monster.txt", text);
        table.loadmonsterdata(folder.path());
        makePage();
    }
    void makePage() {
        page = std::make_unique<StatsPage>(table, folder.path());
        page->resize(600, 450);
        page->show();
        page->fillList();
    }
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
    QTreeWidget* list() { return control<QTreeWidget>("ListView1"); }
    QWidget* panel() { return control<QWidget>("Panel1"); }
    QComboBox* moveRange() { return control<QComboBox>("combomvrag"); }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void clickRow(int row) {
        QTreeWidgetItem* item = list()->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
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
    MonsterTable table;
    std::unique_ptr<StatsPage> page;
};

TEST_F(StatsPageTest, ShowsTheSelectedMonsterFromItsStoredLine) {
    Stats other;
    other.lvl = "40";
    other.move = "0";
    load({monsterLine("7", "Grey  Wolf", Stats{}), monsterLine("$1F", "Cave Bat", other)});

    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(list()->topLevelItem(0)->text(0), QStringLiteral("Grey Wolf"));
    EXPECT_EQ(list()->topLevelItem(1)->text(1), QStringLiteral("31"));
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
    EXPECT_EQ(list()->topLevelItem(0)->text(0), QString::fromUtf8("Caf\u00e9"));
    EXPECT_EQ(list()->topLevelItem(1)->text(0), QString::fromUtf8("Caf\u00e9"));
    clickRow(1);
    EXPECT_EQ(control<QLabel>("Vname")->text(), QString::fromUtf8("\"Caf\u00e9\""));
}

TEST_F(StatsPageTest, BrowseAndEditStatesEnableTheirControls) {
    load({monsterLine("1", "A", Stats{})});
    QSignalSpy states(page.get(), &StatsPage::editStateChanged);
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
    const auto cols = columns(table.monsterlines[0]);
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
    EXPECT_EQ(table.monsters[0].level, 0);  // the record keeps what was loaded
}

TEST_F(StatsPageTest, CancelThenEditReloadsTheStoredValuesAndLeavesOkEnabled) {
    load({monsterLine("1", "A", Stats{})});
    click(edit());
    retype(field("VHP"), QStringLiteral("999"));
    click(cancel());
    EXPECT_EQ(field("VHP")->value(), 999);  // fields keep what they show
    EXPECT_EQ(table.monsterlines[0], monsterLine("1", "A", Stats{}));
    click(edit());
    EXPECT_EQ(field("VHP")->value(), 300);
    EXPECT_TRUE(ok()->isEnabled());
}

TEST_F(StatsPageTest, OkThenSaveWritesTheRebuiltLineWithExactly28Columns) {
    Stats first;
    first.col20to24 = "20   21\t\t22 23 24";  // blanks and tabs mixed: normalised on reading
    load({monsterLine("1", "Grey  Wolf", first), monsterLine("2", "B", Stats{}), "end",
          "trailing  text"});
    QSignalSpy stored(page.get(), &StatsPage::monsterStored);
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
        const auto cols = columns(table.monsterlines[0]);
        ASSERT_EQ(cols.size(), 28u);
        EXPECT_EQ(cols[12], c.written) << c.stored;
        EXPECT_EQ(table.monsters[0].canmove, c.canmove) << c.stored;
        EXPECT_TRUE(recorder().messages.empty()) << c.stored;
    }
}

TEST_F(StatsPageTest, ALineThatFailsToFillStopsAtTheBadColumn) {
    Stats bad;
    bad.lvl = "50";
    bad.hp = "600";
    bad.def = "x1";  // column 9
    bad.speed = "800";
    load({monsterLine("1", "A", Stats{}), monsterLine("2", "Broken", bad),
          monsterLine("3", "C", Stats{})});
    ASSERT_TRUE(recorder().messages.empty());

    clickRow(1);
    ASSERT_EQ(recorder().errors().size(), 1);
    EXPECT_EQ(recorder().errors().at(0),
              QStringLiteral("'x1' is not a valid integer value\n") +
                  QString::fromStdString(std::string("data") + char(std::filesystem::path::preferred_separator) +
                                         "monster.txt, line 2"));
    EXPECT_EQ(control<QLabel>("Vname")->text(), QStringLiteral("\"Broken\""));
    EXPECT_EQ(field("Vlvl")->value(), 50);     // before the bad column: the new monster
    EXPECT_EQ(field("VDMGmax")->value(), 9);
    EXPECT_EQ(field("VDEF")->value(), 4);      // from the bad column on: the previous one
    EXPECT_EQ(field("Vspeed")->value(), 400);

    // The program goes on: the edit state is entered before the fill fails again.
    recorder().clear();
    click(edit());
    EXPECT_TRUE(page->editing());
    EXPECT_EQ(recorder().errors().size(), 1);
    click(cancel());
    recorder().clear();
    clickRow(2);
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(control<QLabel>("ViD")->text(), QStringLiteral("3"));
}

TEST_F(StatsPageTest, LinesWithMissingOrExtraColumnsFailAtTheirColumn) {
    struct Case {
        std::string line;
        QString message;
    };
    const std::string full = monsterLine("4", "D", Stats{});
    const Case cases[] = {
        {full + "\t77", QStringLiteral("'-2147483648\t77' is not a valid integer value")},
        {full + "   ", QStringLiteral("'-2147483648\t' is not a valid integer value")},
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

TEST_F(StatsPageTest, EmptyTableShowsNothingAndEditDoesNothing) {
    load({"end"});
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    click(edit());
    EXPECT_FALSE(page->editing());
    EXPECT_FALSE(panel()->isEnabled());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(StatsPageTest, SaveIsRefusedWhenTheFileWasNotRead) {
    EXPECT_ANY_THROW(table.loadmonsterdata(folder.path()));  // no data/monster.txt
    makePage();
    click(control<QToolButton>("SpeedButton8"));
    EXPECT_EQ(recorder().errors().size(), 1);
    EXPECT_FALSE(folder.exists("data/monster.txt"));
}

}  // namespace
