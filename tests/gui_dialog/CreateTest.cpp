// "Create": the new entry, and the spawn page brought up to date afterwards.

#include <functional>
#include <string>

#include <QAbstractButton>
#include <QImage>

#include "DialogFixture.h"
#include "EditorDocument.h"
#include <QUndoStack>
#include "SpotIcons.h"

namespace {

bool hasSpotsIcon(const QTreeView* list, int row) {
    const QImage shown = rowIcon(list, row).pixmap(16, 16).toImage();
    return shown == monsterIcon(true).pixmap(16, 16).toImage();
}

SpawnEntry expected(bool ispoint, int map, int x0, int y0, int x1, int y1, int distance, int count,
                    int type, int monster, int dir, int spotid) {
    SpawnEntry e;
    e.ispoint = ispoint;
    e.mapnumber = static_cast<std::uint8_t>(map);
    e.x0 = static_cast<std::uint8_t>(x0);
    e.y0 = static_cast<std::uint8_t>(y0);
    e.x1 = static_cast<std::uint8_t>(x1);
    e.y1 = static_cast<std::uint8_t>(y1);
    e.distance = static_cast<std::uint8_t>(distance);
    e.count = static_cast<std::uint8_t>(count);
    e.spottype = static_cast<std::uint8_t>(type);
    e.monsterid = monster;
    e.dir = dir;
    e.spotid = spotid;
    return e;
}

}  // namespace

TEST_F(DialogTest, CreatesABloodCastlePointSpotOfTheSelectedMonster) {
    ASSERT_EQ(page->selectedMonsterIndex(), 0);
    ASSERT_EQ(page->mapCombo()->currentText(), QStringLiteral("3"));
    page->showRangeListPage();
    chooseMonster(0);
    dialog->setSpotType(4);
    field("SpinEdit2")->setValue(3);
    field("SpinEditX")->setValue(40);
    field("SpinEditY")->setValue(60);
    field("SpinX0")->setValue(20);  // range fields play no part in a point spot
    field("SpinEdit1")->setValue(9);
    field("spincount")->setValue(7);

    dialog->createSpot();

    ASSERT_TRUE(recorder().messages.empty());
    ASSERT_EQ(document().spawns().count, 4);
    EXPECT_EQ(document().spawns().entries[3], expected(true, 3, 40, 60, 0, 0, 9, 7, 4, kWalker, -1, 3));
    EXPECT_EQ(captions(page->pointSpotList()), QStringList({"0", "3"}));
    EXPECT_EQ(page->mapCombo()->currentText(), QStringLiteral("3"));
    EXPECT_EQ(page->spotPages()->currentWidget(), page->pointSpotList()->parentWidget());
    EXPECT_TRUE(hasSpotsIcon(page->monsterList(), 0));
    EXPECT_EQ(field("SpinEditX")->value(), 40) << "the dialog keeps its values";
}

TEST_F(DialogTest, CreatesARangeSpotOfAnotherMonsterOnAMapThePageDoesNotList) {
    chooseMonster(1);
    dialog->setSpotType(1);
    ASSERT_EQ(pageIndex(), 1);
    ASSERT_FALSE(hasSpotsIcon(page->monsterList(), 1));
    field("SpinEdit2")->setValue(7);
    field("SpinX0")->setValue(20);
    field("SpinY0")->setValue(30);
    field("SpinX1")->setValue(60);
    field("SpinY1")->setValue(90);

    dialog->createSpot();

    ASSERT_TRUE(recorder().messages.empty());
    ASSERT_EQ(document().spawns().count, 4);
    EXPECT_EQ(document().spawns().entries[3], expected(false, 7, 20, 30, 60, 90, 5, 5, 1, kStatue, -1, 3));
    EXPECT_TRUE(hasSpotsIcon(page->monsterList(), 1));
    EXPECT_EQ(page->selectedMonsterIndex(), 0);
    EXPECT_EQ(page->mapCombo()->count(), 2);
    EXPECT_EQ(page->mapCombo()->currentIndex(), -1);
    EXPECT_EQ(page->spotPages()->currentWidget(), page->rangeSpotList()->parentWidget());
}

TEST_F(DialogTest, NewRangeSpotOfTheSelectedMonsterIsListedOnItsMap) {
    chooseMonster(0);  // Walker, type 1 and the range page
    field("SpinEdit2")->setValue(0);
    dialog->createSpot();
    ASSERT_EQ(document().spawns().count, 4);
    EXPECT_EQ(page->mapCombo()->currentText(), QStringLiteral("0"));
    ASSERT_EQ(captions(page->rangeSpotList()), QStringList({"1", "3"}));
    EXPECT_EQ(cellText(page->rangeSpotList(), 1, 1), QStringLiteral("127"));  // X1 column shows x0
    EXPECT_EQ(cellText(page->rangeSpotList(), 1, 2), QStringLiteral("128"));  // X2 column shows x1
}

TEST_F(DialogTest, TwoCreatesAppendTwoEqualEntries) {
    chooseMonster(2);
    dialog->setSpotType(3);
    dialog->createSpot();
    dialog->createSpot();
    ASSERT_EQ(document().spawns().count, 5);
    SpawnEntry first = document().spawns().entries[3];
    SpawnEntry second = document().spawns().entries[4];
    EXPECT_EQ(first.spotid, 3);
    EXPECT_EQ(second.spotid, 4);
    second.spotid = first.spotid;
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, expected(false, 0, 127, 127, 128, 128, 5, 5, 3, kRunner, -1, 3));
}

TEST_F(DialogTest, CreateWithoutAMonsterAppendsNothing) {
    dialog->monsterCombo()->setCurrentIndex(-1);
    const QStringList pointsBefore = captions(page->pointSpotList());
    dialog->createSpot();
    EXPECT_EQ(recorder().errors(), QStringList{"'' is not a valid integer value"});
    EXPECT_EQ(document().spawns().count, 3);
    EXPECT_EQ(captions(page->pointSpotList()), pointsBefore);
    EXPECT_EQ(page->mapCombo()->currentText(), QStringLiteral("3"));
}

TEST_F(DialogTest, CreateIntoAFullTableIsRefused) {
    TableLoad full = standardTables();
    full.spawns.count = kSpawnCapacity;
    makeWindows(std::move(full));
    chooseMonster(1);
    dialog->createSpot();
    ASSERT_EQ(recorder().errors().size(), 1);
    EXPECT_TRUE(recorder().errors().front().contains(QStringLiteral("full")));
    EXPECT_EQ(document().spawns().count, kSpawnCapacity);
    EXPECT_FALSE(hasSpotsIcon(page->monsterList(), 1)) << "the page is not touched";
}

TEST_F(DialogTest, EntryBeforeAnyKeypadClickFacesAsTheKeypadShows) {
    auto* centre = dialog->findChild<QAbstractButton*>(QStringLiteral("RadioButton5"));
    ASSERT_NE(centre, nullptr);
    EXPECT_TRUE(centre->isChecked());
    chooseMonster(1);
    dialog->createSpot();
    ASSERT_EQ(document().spawns().count, 4);
    EXPECT_EQ(document().spawns().entries[3].dir, -1);
}

TEST_F(DialogTest, KeypadGivesTheDirection) {
    const int directions[] = {7, 8, 9, 4, -1, 6, 1, 2, 3};
    chooseMonster(1);
    // Centre last, so that every button is a change of the choice.
    for (const int number : {1, 2, 3, 4, 6, 7, 8, 9, 5}) {
        SCOPED_TRACE(number);
        auto* key = dialog->findChild<QAbstractButton*>(QStringLiteral("RadioButton%1").arg(number));
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(key->text().isEmpty());
        key->click();
        EXPECT_EQ(dialog->faceDirection(), directions[number - 1]);
        dialog->createSpot();
        EXPECT_EQ(document().spawns().entries[document().spawns().count - 1].dir, directions[number - 1]);
    }
}

namespace {

// Every type takes distance and count; the place comes from the page of its kind.
struct CreateCase {
    int type;
    bool point;
};
const CreateCase kCreateCases[] = {{0, true}, {1, false}, {2, true}, {3, false}, {4, true}};

}  // namespace

TEST_F(DialogTest, EveryTypeTakesItsPlaceFromItsOwnPage) {
    showDialog();
    chooseMonster(1);  // Statue stands still, so every type may be chosen for it
    field("SpinEdit1")->setFocus();  // no place field has the focus
    field("SpinEdit2")->setValue(4);
    field("SpinEditX")->setValue(11);
    field("SpinEditY")->setValue(12);
    field("SpinEdit1")->setValue(0);
    for (const CreateCase& c : kCreateCases) {
        SCOPED_TRACE(c.type);
        dialog->setSpotType(c.type);
        ASSERT_EQ(dialog->spotType(), c.type);
        // Set by code, so the corner rule leaves them as they are.
        field("SpinX0")->setValue(21);
        field("SpinY0")->setValue(22);
        field("SpinX1")->setValue(23);
        field("SpinY1")->setValue(24);
        field("spincount")->setValue(30 + c.type);
        const int spotid = document().spawns().count;
        dialog->createSpot();
        ASSERT_EQ(document().spawns().count, spotid + 1);
        const SpawnEntry want = c.point
                                    ? expected(true, 4, 11, 12, 0, 0, 0, 30 + c.type, c.type, kStatue, -1, spotid)
                                    : expected(false, 4, 21, 22, 23, 24, 0, 30 + c.type, c.type, kStatue, -1, spotid);
        EXPECT_EQ(document().spawns().entries[spotid], want);
        EXPECT_EQ(page->spotPages()->currentWidget(),
                  (c.point ? page->pointSpotList() : page->rangeSpotList())->parentWidget());
    }
    EXPECT_TRUE(recorder().messages.empty());
}

// The page relists the selected monster's maps before it looks for the new one.
TEST_F(DialogTest, NewMapOfTheSelectedMonsterIsListedAndChosen) {
    ASSERT_EQ(page->mapCombo()->count(), 2);
    chooseMonster(0);
    dialog->setSpotType(2);
    field("SpinEdit2")->setValue(9);
    field("SpinEditX")->setValue(33);
    dialog->createSpot();
    ASSERT_TRUE(recorder().messages.empty());
    ASSERT_EQ(page->mapCombo()->count(), 3);
    EXPECT_EQ(page->mapCombo()->itemText(2), QStringLiteral("9"));
    EXPECT_EQ(page->mapCombo()->currentText(), QStringLiteral("9"));
    EXPECT_EQ(captions(page->pointSpotList()), QStringList{"3"});
    EXPECT_EQ(cellText(page->pointSpotList(), 0, 1), QStringLiteral("33"));
    EXPECT_EQ(rowCount(page->rangeSpotList()), 0);
}

// "Apply" gives the spot the dialog was opened on the fields' values in its place: its
// line changes, or moves to its new type's section, and undo gives the file back.
TEST_F(DialogTest, ApplyChangesTheOpenedSpotInItsPlace) {
    struct Case {
        const char* name;
        int spot;
        std::function<void()> edit;
        const char* line;  // the spot's saved line afterwards
        int section;       // its section
    };
    const Case cases[] = {
        {"point moved", 0, [this] { field("SpinEditX")->setValue(99); }, "10\t3\t10\t99\t60\t-1", 2},
        {"range counted anew", 1, [this] { field("spincount")->setValue(9); },
         "10\t0\t10\t10\t20\t30\t40\t-1\t9", 1},
        {"range made a point", 1, [this] { dialog->setSpotType(2); }, "10\t0\t10\t127\t127\t-1", 2},
        {"direction of a moving monster's NPC spot, its type kept", 2,
         [this] { dialog->findChild<QAbstractButton*>(QStringLiteral("RadioButton8"))->click(); },  // down: 2
         "30\t5\t10\t70\t80\t2", 0},
    };
    for (const auto& c : cases) {
        makeWindows(standardTables());
        const std::string before = document().spawns().fileBytes();
        dialog->editSpot(c.spot);
        ASSERT_EQ(dialog->editedSpot(), c.spot) << c.name;
        EXPECT_EQ(dialog->spotType(), document().spawns().entries[static_cast<std::size_t>(c.spot)].spottype) << c.name;
        c.edit();
        dialog->findChild<QAbstractButton*>(QStringLiteral("ApplyButton"))->click();
        const std::string after = document().spawns().fileBytes();
        const std::string marker = (c.section == 0 ? "" : "end\r\n") + std::to_string(c.section) + "\r\n";
        const auto at = c.section == 0 ? 0 : after.find(marker);
        const auto line = after.find(std::string("\n") + c.line + "\r", at);
        EXPECT_NE(line, std::string::npos) << c.name << "\n" << after;
        EXPECT_LT(line, after.find("end", at + marker.size())) << c.name;
        EXPECT_EQ(document().spawns().count, 3) << c.name;  // changed, not added
        windows->document().history(TableFile::Spawns).undo();
        EXPECT_EQ(document().spawns().fileBytes(), before) << c.name;
        EXPECT_TRUE(recorder().messages.empty()) << c.name;
    }
}
