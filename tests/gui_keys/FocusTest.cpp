// Where the keyboard focus lands in each window and the controls Tab then visits, in
// the order they stand on the screen, until it comes round again. The title strips'
// minimise and close buttons are never among them.

#include <functional>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>

#include "KeyboardFixture.h"
#include "ListRows.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "StatsPage.h"

namespace {

struct FocusCase {
    const char* name;
    std::function<void(KeyboardTest&)> bringUp;  // leaves the focus where it lands
    const char* round;
};

void selectFirstPointSpot(SpawnPage* page) {
    page->pointSpotList()->setCurrentIndex(cell(page->pointSpotList(), 0));
}

}  // namespace

class FocusTest : public KeyboardTest {
protected:
    // "AddSpot window" gives the dialog the keyboard.
    void openDialog() {
        main()->switchPageKeepingMonster();
        main()->spawnPage()->openAddSpotDialog();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog()));
    }
};

TEST_F(FocusTest, MainWindowTabFollowsTheScreenFromTheList) {
    const FocusCase cases[] = {
        {"after the splash", [](KeyboardTest&) {},
         "ListView1 > SpeedButton8 > Button1 > MonsterTableButton > PageControl1 tabs > BitBtn1 > StatsMonsterFilter > "
         "ListView1"},
        {"stats page in the edit state with a change",
         [](KeyboardTest& t) {
             t.main()->statsPage()->startEditing();
             t.main()->findChild<SpinField*>(QStringLiteral("VHP"))->setValue(99);
         },
         "Vlvl > VHP > VMP > VDEF > VDEFM > VDEFRATE > VLightRezist > VFireRezist > VIceRezist > "
         "VPoisonRezist > VDMGMIN > VDMGmax > VATTCKRATE > Vatackspeed > Vspeed > combomvrag > "
         "VRegeneration > Button3 > Button2 > PageControl1 tabs > SpeedButton8 > MonsterTableButton > Vlvl"},
        {"position page by a click on its tab",
         [](KeyboardTest& t) {
             QTabBar* tabs = t.main()->pages()->tabBar();
             QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
         },
         "allmonsterlist > SpeedButton1 > MapList > SpeedButton9 > OverviewButton > PageControl2 tabs > pointlist > "
         "Button6 > PageControl1 tabs > BitBtn1 > PositionMonsterFilter > allmonsterlist"},
        {"position page by BitBtn1, a spot chosen, the dialog opened once",
         [](KeyboardTest& t) {
             t.main()->switchPageKeepingMonster();
             selectFirstPointSpot(t.main()->spawnPage());
             t.main()->spawnPage()->openAddSpotDialog();
             KeyboardTest::activate(t.main());
         },
         "allmonsterlist > SpeedButton1 > MapList > SpeedButton9 > OverviewButton > PageControl2 tabs > pointlist > "
         "Button4 > Button6 > SpeedButton6 > PageControl1 tabs > BitBtn1 > PositionMonsterFilter > allmonsterlist"},
        {"position page, range spots shown",
         [](KeyboardTest& t) {
             t.main()->switchPageKeepingMonster();
             t.main()->spawnPage()->showRangeListPage();
         },
         "allmonsterlist > SpeedButton1 > MapList > SpeedButton9 > OverviewButton > PageControl2 tabs > rangelist > "
         "Button7 > PageControl1 tabs > BitBtn1 > PositionMonsterFilter > allmonsterlist"},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        c.bringUp(*this);
        EXPECT_EQ(tabRound(), c.round) << c.name;
    }
}

TEST_F(FocusTest, DialogTabFollowsTheScreenFromTheMonsterNumber) {
    const FocusCase cases[] = {
        {"point page", [](KeyboardTest&) {},
         "MonsterIDcombo > SpinEdit2 > Monsters (Point Spot) > RadioButton5 > PageControl1 tabs > "
         "SpinEditX > SpinEditY > SpeedButton9 > SpeedButton5 > SpinEdit1 > Button1 > MonsterIDcombo"},
        {"range page, a direction chosen",
         [](KeyboardTest& t) {
             t.dialog()->showRangePage();
             t.dialog()->findChild<QRadioButton*>(QStringLiteral("RadioButton9"))->click();
             t.dialog()->monsterCombo()->setFocus();
         },
         "MonsterIDcombo > SpinEdit2 > Monsters (Range Spot) > RadioButton9 > PageControl1 tabs > "
         "SpinX0 > SpinX1 > SpinY0 > SpinY1 > SpeedButton2 > SpeedButton3 > spincount > SpinEdit1 > "
         "Button1 > MonsterIDcombo"},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        openDialog();
        c.bringUp(*this);
        EXPECT_EQ(tabRound(), c.round) << c.name;
    }
}

TEST_F(FocusTest, PreviewTabReachesOnlyTheChosenZoom) {
    const FocusCase cases[] = {
        {"as created", [](KeyboardTest&) {}, "1X > 1X"},
        {"at 2X", [](KeyboardTest& t) { t.preview()->setZoom(2); }, "2X > 2X"},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        c.bringUp(*this);
        activate(preview());
        EXPECT_EQ(tabRound(), c.round) << c.name;
    }
}

// The page switch pressed twice comes back to the stats page with the keyboard on its
// list, wherever the keyboard was before.
TEST_F(FocusTest, PageSwitchTwiceLeavesTheKeyboardOnTheStatsList) {
    for (const char* before : {"SpeedButton8", "StatsMonsterFilter", "ListView1"}) {
        start(kSpawnFile);
        main()->findChild<QWidget*>(QString::fromLatin1(before))->setFocus();
        auto* pageSwitch = main()->findChild<QAbstractButton*>(QStringLiteral("BitBtn1"));
        QTest::mouseClick(pageSwitch, Qt::LeftButton);
        QTest::mouseClick(pageSwitch, Qt::LeftButton);
        EXPECT_EQ(focused(), QStringLiteral("ListView1")) << before;
    }
}
