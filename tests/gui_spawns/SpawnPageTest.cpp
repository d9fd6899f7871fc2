// The "Monster Position" page on the fixture tables.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "Colours.h"
#include "MessageRecorder.h"
#include "SpawnFixture.h"
#include "SpotIcons.h"

namespace {

QImage iconImage(const QTreeView* list, int row) { return rowIcon(list, row).pixmap(48, 16).toImage(); }

bool enabled(QWidget* parent, const char* name) { return child(parent, name)->isEnabled(); }

class SpawnPageTest : public SpawnFixture {
protected:
    void SetUp() override { makeWindows(); }
};

TEST_F(SpawnPageTest, FirstFillSelectsFirstMonsterAndMapAndLeavesThePreviewAlone) {
    QTreeView* monsters = page->monsterList();
    ASSERT_EQ(rowCount(monsters), 5);
    EXPECT_EQ(rowTexts(monsters, 0), (QStringList{"10", "Ash Hound"}));
    EXPECT_EQ(rowTexts(monsters, 4), (QStringList{"14", "Quiet Moth"}));
    EXPECT_EQ(page->selectedMonsterIndex(), 0);
    for (int row = 0; row < 4; ++row) EXPECT_TRUE(monsterIconHasSpots(row)) << row;
    EXPECT_FALSE(monsterIconHasSpots(4));

    EXPECT_EQ(mapTexts(), (QStringList{"3", "0"}));  // by first appearance in the table
    EXPECT_EQ(page->mapCombo()->currentText(), "3");
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"0", "2", "7"}));
    EXPECT_EQ(captions(page->rangeSpotList()), (QStringList{"5"}));
    EXPECT_TRUE(preview->previewReady());
    EXPECT_TRUE(enabled(page, "Label11"));

    EXPECT_FALSE(preview->isVisible());  // and left alone: no picture, no title
    EXPECT_EQ(preview->title(), "Map  Preview    ");
    for (const char* name : {"Button4", "Button5", "SpeedButton6", "SpeedButton7"})
        EXPECT_FALSE(enabled(page, name)) << name;
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(SpawnPageTest, SecondShowDoesNothing) {
    chooseMonster(3);
    page->fillFirstTime();
    EXPECT_EQ(page->selectedMonsterIndex(), 3);
    EXPECT_EQ(mapTexts(), (QStringList{"1", "2"}));
}

TEST_F(SpawnPageTest, ListsHaveTheirColumns) {
    struct Case {
        QTreeView* list;
        QStringList labels;
        std::vector<int> widths;
        std::vector<int> centred;
    };
    const Case cases[] = {
        {page->pointSpotList(), {"(type) SpoID", "X", "Y", "distance", "DIR"}, {90, 50, 50, 70, 50}, {1, 2}},
        {page->rangeSpotList(),
         {"(type) SpoID", "X1", "X2", "Y1", "Y2", "distance", "DIR", "Count"},
         {90, 45, 45, 45, 45, 53, 35, 50},
         {1, 3}},
        {page->monsterList(), {"ID", "monsterName"}, {50, 135}, {}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.list->header()->count(), c.labels.size());
        for (int i = 0; i < c.labels.size(); ++i) {
            EXPECT_EQ(headerText(c.list, i), c.labels[i]);
            EXPECT_EQ(c.list->columnWidth(i), c.widths[static_cast<std::size_t>(i)]) << c.labels[i].toStdString();
            const bool centred = std::find(c.centred.begin(), c.centred.end(), i) != c.centred.end();
            if (rowCount(c.list) > 0) {
                EXPECT_EQ(cellCentred(c.list, 0, i), centred)
                    << c.labels[i].toStdString();
            }
        }
        EXPECT_FALSE(c.list->isSortingEnabled());
        EXPECT_FALSE(c.list->header()->sectionsClickable());
    }
    EXPECT_EQ(page->spotPages()->tabText(0), "Monster Point spot's");
    EXPECT_EQ(page->spotPages()->tabText(1), "Monster Range Spot's");
    EXPECT_EQ(page->spotPages()->geometry(), QRect(298, 58, 436, 452));
}

TEST_F(SpawnPageTest, SpotListsDrawGridLinesBetweenCells) {
    for (QTreeView* list : {page->pointSpotList(), page->rangeSpotList()}) {
        page->spotPages()->setCurrentWidget(list->parentWidget());
        ASSERT_GT(rowCount(list), 0);
        const QImage image = list->viewport()->grab().toImage();
        const QRect row = rowRect(list, 0);
        SCOPED_TRACE(list->objectName().toStdString());
        EXPECT_EQ(image.pixelColor(list->columnWidth(0) - 1, row.center().y()), kGridLineColour);
        EXPECT_EQ(image.pixelColor(list->columnWidth(0) + 5, row.bottom()), kGridLineColour);
        EXPECT_NE(image.pixelColor(list->columnWidth(0) + 5, row.center().y() - 2), kGridLineColour);
    }
}

TEST_F(SpawnPageTest, ControlsSitWhereTheLayoutPutsThem) {
    auto pageRect = [&](const char* name) {
        QWidget* w = child(page, name);
        return QRect(w->mapTo(page, QPoint(0, 0)), w->size());
    };
    EXPECT_EQ(pageRect("PositionMonsterFilter"), QRect(0, 0, 266, 22));
    EXPECT_EQ(pageRect("allmonsterlist"), QRect(0, 22, 266, page->height() - 22));
    EXPECT_EQ(pageRect("Label11").topLeft(), QPoint(302, 8));
    EXPECT_EQ(pageRect("MapList").topLeft(), QPoint(305, 24));
    EXPECT_EQ(pageRect("MapList").width(), 141);
    EXPECT_EQ(pageRect("SpeedButton9"), QRect(448, 24, 23, 23));
    EXPECT_EQ(child(page, "SpeedButton9")->toolTip(), "Show Map Preview and all spots on this map");
    const struct {
        const char* name;
        const char* text;
        int width;
    } buttons[] = {{"Button4", "Delete Spot", 100},
                   {"Button6", "AddSpot window", 100},
                   {"SpeedButton6", "Load current monster data to AddDialog", 213},
                   {"Button5", "Delete Spot", 100},
                   {"Button7", "AddSpot window", 100},
                   {"SpeedButton7", "Load current monster data to AddDialog", 213}};
    for (const auto& b : buttons) {
        auto* button = static_cast<QAbstractButton*>(child(page, b.name));
        EXPECT_EQ(button->text(), b.text);
        EXPECT_EQ(button->size(), QSize(b.width, 22)) << b.name;
    }
    EXPECT_FALSE(page->mapCombo()->isEditable());
    page->mapCombo()->showPopup();
    for (int row = 0; row < page->mapCombo()->count(); ++row)
        EXPECT_EQ(page->mapCombo()->view()->visualRect(page->mapCombo()->model()->index(row, 0)).height(), 16) << row;
    page->mapCombo()->hidePopup();
    QFont font = page->monsterList()->font();
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(page->monsterList()->palette().color(QPalette::Text), QColor(73, 44, 47));
}

TEST(SpotPictures, TypePicturesAreDistinctBlackTextOnTransparentGround) {
    std::vector<QImage> seen;
    for (int type = 0; type < kSpotTypeCount; ++type) {
        const QImage image = spotTypePixmap(type).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(48, 16));
        int ink = 0;
        int clear = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 48; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0) ++clear;
                else if (c.alpha() > 128) {
                    ++ink;
                    EXPECT_LT(c.red() + c.green() + c.blue(), 60);
                }
            }
        EXPECT_GT(ink, 20) << type;
        EXPECT_GT(clear, 48 * 16 / 2) << type;
        for (const QImage& other : seen) EXPECT_NE(image, other) << type;
        seen.push_back(image);
    }
    EXPECT_TRUE(spotTypePixmap(5).isNull());
    EXPECT_NE(monsterIcon(true).pixmap(16, 16).toImage(), monsterIcon(false).pixmap(16, 16).toImage());
}

TEST_F(SpawnPageTest, RowsShowTheEntryFieldsAndTypePicture) {
    struct Case {
        int monsterRow;
        QString map;
        QTreeView* list;
        int row;
        QStringList texts;
        int spottype;
    };
    const Case cases[] = {
        {0, "3", page->pointSpotList(), 0, {"0", "100", "101", "5", "-1"}, 0},
        {0, "3", page->pointSpotList(), 2, {"7", "104", "105", "8", "5"}, 2},
        {0, "3", page->rangeSpotList(), 0, {"5", "10", "30", "20", "40", "9", "6", "7"}, 1},  // X1 X2 Y1 Y2
        {0, "0", page->pointSpotList(), 0, {"1", "50", "60", "6", "2"}, 0},
        {1, "5", page->rangeSpotList(), 0, {"8", "1", "3", "2", "4", "2", "5", "6"}, 3},
        {1, "5", page->pointSpotList(), 0, {"9", "60", "61", "4", "9"}, 4},
        {2, "7", page->rangeSpotList(), 0, {"6", "11", "13", "12", "14", "3", "7", "8"}, 1},
    };
    for (const Case& c : cases) {
        chooseMonster(c.monsterRow);
        chooseMap(c.map);
        SCOPED_TRACE(c.texts.join(' ').toStdString());
        EXPECT_EQ(rowTexts(c.list, c.row), c.texts);
        EXPECT_EQ(iconImage(c.list, c.row), spotTypePixmap(c.spottype).toImage());
    }
}

TEST_F(SpawnPageTest, MonsterWithoutSpotsEmptiesEverything) {
    preview->setPictureVisible(true);
    chooseMonster(4);
    EXPECT_TRUE(mapTexts().isEmpty());
    EXPECT_EQ(rowCount(page->pointSpotList()), 0);
    EXPECT_EQ(rowCount(page->rangeSpotList()), 0);
    EXPECT_FALSE(enabled(page, "Label11"));
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_EQ(page->workList().count, 0);
    EXPECT_FALSE(page->mapChosen());
}

TEST_F(SpawnPageTest, MapsListedInOrderOfFirstAppearance) {
    chooseMonster(3);
    EXPECT_EQ(mapTexts(), (QStringList{"1", "2"}));
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"3"}));
    chooseMonster(0);
    EXPECT_EQ(mapTexts(), (QStringList{"3", "0"}));
    EXPECT_EQ(page->mapCombo()->currentIndex(), 0);
}

TEST_F(SpawnPageTest, MapListTakesOnlyArrowKeys) {
    QComboBox* maps = page->mapCombo();
    for (const Qt::Key key : {Qt::Key_0, Qt::Key_3, Qt::Key_A, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown,
                              Qt::Key_Space, Qt::Key_F4}) {
        QTest::keyClick(maps, key);
        EXPECT_EQ(maps->currentIndex(), 0) << key;
    }
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"0", "2", "7"}));

    QTest::keyClick(maps, Qt::Key_Down);
    EXPECT_EQ(maps->currentText(), "0");
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"1"}));
    EXPECT_EQ(rowCount(page->rangeSpotList()), 0);
    EXPECT_EQ(page->workList().count, 1);

    QTest::keyClick(maps, Qt::Key_Up);
    EXPECT_EQ(maps->currentText(), "3");
    EXPECT_EQ(captions(page->rangeSpotList()), (QStringList{"5"}));

    // In the open drop-down list typing moves nothing either; Down and Enter choose.
    maps->showPopup();
    QAbstractItemView* popup = maps->view();
    for (const Qt::Key key : {Qt::Key_0, Qt::Key_End, Qt::Key_PageDown})
        QTest::keyClick(popup, key);
    EXPECT_EQ(popup->currentIndex().row(), 0);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(maps->currentText(), "3");
    maps->showPopup();
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(maps->currentText(), "0");
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"1"}));
    QTest::keyClick(maps, Qt::Key_Up);

    // Tab leaves the map list without changing the map.
    maps->setFocus();
    ASSERT_EQ(page->focusWidget(), maps);
    QTest::keyClick(maps, Qt::Key_Tab);
    EXPECT_NE(page->focusWidget(), maps);
    EXPECT_EQ(maps->currentText(), "3");
}

// Whatever key moves the choice in the monster list, the page shows the monster chosen.
TEST_F(SpawnPageTest, EveryKeyThatChoosesAMonsterShowsIt) {
    const QStringList mapsOf[] = {{"3", "0"}, {"5"}, {"7"}, {"1", "2"}, {}};  // rows 0..4
    const struct {
        int from;
        Qt::Key key;
        int to;
        const char* typed;  // instead of the key: letters typed to jump to a row
    } cases[] = {{0, Qt::Key_Down, 1, nullptr},     {3, Qt::Key_Up, 2, nullptr},   {0, Qt::Key_End, 4, nullptr},
                 {4, Qt::Key_Home, 0, nullptr},     {0, Qt::Key_PageDown, 4, nullptr},
                 {4, Qt::Key_PageUp, 0, nullptr},   {0, Qt::Key_unknown, 3, "13"}};
    for (const auto& c : cases) {
        chooseMonster(c.from);
        page->monsterList()->setFocus();
        if (c.typed)
            QTest::keyClicks(page->monsterList(), QString::fromLatin1(c.typed));
        else
            QTest::keyClick(page->monsterList(), c.key);
        EXPECT_EQ(page->selectedMonsterIndex(), c.to) << c.key;
        EXPECT_EQ(mapTexts(), mapsOf[c.to]) << c.key;
    }
}

// The filter above the list narrows it to the monsters whose name holds the typed text,
// in any case, or whose number it is; Escape brings every monster back.
TEST_F(SpawnPageTest, FilterFindsMonstersByPartOfTheNameOrTheNumber) {
    auto* filter = static_cast<QLineEdit*>(child(page, "PositionMonsterFilter"));
    const auto shownRows = [&] {
        QList<int> rows;
        for (int row = 0; row < rowCount(page->monsterList()); ++row)
            if (!page->monsterList()->isRowHidden(row, {})) rows << row;
        return rows;
    };
    const struct {
        const char* typed;
        QList<int> rows;
        int chosen;  // the chosen monster stays while it matches, else the first shown, else none
    } cases[] = {{"AWL", {1}, 1}, {"r", {1, 2, 3}, 1}, {"13", {3}, 3}, {"zzz", {}, -1}, {"", {0, 1, 2, 3, 4}, 0}};
    chooseMonster(0);
    for (const auto& c : cases) {
        filter->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(shownRows(), c.rows) << c.typed;
        EXPECT_EQ(page->selectedMonsterIndex(), c.chosen) << c.typed;
        EXPECT_EQ(captions(page->pointSpotList()).isEmpty() && captions(page->rangeSpotList()).isEmpty(),
                  mapTexts().isEmpty())
            << c.typed;
    }
    filter->setText(QStringLiteral("moth"));
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(shownRows().size(), 5);
}

TEST_F(SpawnPageTest, ClickOnMonsterRowChoosesIt) {
    QTreeView* list = page->monsterList();
    const QRect rect = rowRect(list, 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(page->selectedMonsterIndex(), 2);
    EXPECT_EQ(mapTexts(), (QStringList{"7"}));
    EXPECT_EQ(captions(page->rangeSpotList()), (QStringList{"6"}));
}

TEST_F(SpawnPageTest, DeleteButtonFollowsSelection) {
    EXPECT_FALSE(enabled(page, "Button4"));
    selectRow(page->pointSpotList(), 1);
    EXPECT_TRUE(enabled(page, "Button4"));
    EXPECT_FALSE(enabled(page, "Button5"));
    page->pointSpotList()->clearSelection();
    EXPECT_FALSE(enabled(page, "Button4"));
}

TEST_F(SpawnPageTest, DeletingOneOfThreePointsSelectsTheFirstRemaining) {
    selectRow(page->pointSpotList(), 1);
    static_cast<QAbstractButton*>(child(page, "Button4"))->click();
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"0", "7"}));
    EXPECT_EQ(selectedRows(page->pointSpotList()), QList<int>{0});
    EXPECT_TRUE(enabled(page, "Button4"));
    EXPECT_EQ(document().spawns().entries[2].spotid, -1);
    EXPECT_EQ(document().spawns().fileBytes().find("10\t3\t7\t102\t103\t3"), std::string::npos);
    EXPECT_EQ(mapTexts(), (QStringList{"3", "0"}));
    EXPECT_EQ(page->workList().entries[1].spotid, -1);  // and the preview no longer draws it
}

// Every way the last rows of a map or monster can go.
struct DeleteCase {
    const char* name;
    int monsterRow;
    const char* map;
    std::vector<char> deletions;  // 'p' point list, 'r' range list, first row each time
    QStringList mapsAfter;
    int mapIndexAfter;
    bool iconHasSpots;
    bool pointDeleteEnabled;
    bool rangeDeleteEnabled;
};

class SpawnPageDeleteTest : public SpawnPageTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(SpawnPageDeleteTest, RemovesRowsMapsAndIcon) {
    const DeleteCase& c = GetParam();
    chooseMonster(c.monsterRow);
    chooseMap(QString::fromLatin1(c.map));
    for (char which : c.deletions) {
        QTreeView* list = which == 'p' ? page->pointSpotList() : page->rangeSpotList();
        const int spot = cellText(list, 0, 0).toInt();
        selectRow(list, 0);
        static_cast<QAbstractButton*>(child(page, which == 'p' ? "Button4" : "Button5"))->click();
        EXPECT_EQ(document().spawns().entries[static_cast<std::size_t>(spot)].spotid, -1);
    }
    EXPECT_EQ(mapTexts(), c.mapsAfter);
    EXPECT_EQ(page->mapCombo()->currentIndex(), c.mapIndexAfter);
    EXPECT_EQ(page->mapCombo()->currentText().isEmpty(), c.mapIndexAfter < 0);
    EXPECT_EQ(monsterIconHasSpots(c.monsterRow), c.iconHasSpots);
    EXPECT_EQ(enabled(page, "Button4"), c.pointDeleteEnabled);
    EXPECT_EQ(enabled(page, "Button5"), c.rangeDeleteEnabled);
    EXPECT_EQ(page->mapChosen(), c.mapIndexAfter >= 0);
    EXPECT_TRUE(enabled(page, "Label11"));  // deleting never greys it again
    EXPECT_TRUE(recorder().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpawnPageDeleteTest,
    ::testing::Values(
        DeleteCase{"LastPointWhileRangesRemain", 1, "5", {'p'}, {"5"}, 0, true, false, false},
        DeleteCase{"LastRangeWhilePointsRemain", 1, "5", {'r'}, {"5"}, 0, true, false, false},
        DeleteCase{"PointThenRangeEmptiesTheMonster", 1, "5", {'p', 'r'}, {}, -1, false, false, false},
        DeleteCase{"RangeThenPointEmptiesTheMonster", 1, "5", {'r', 'p'}, {}, -1, false, false, false},
        DeleteCase{"OnlySpotOnOnlyMap", 2, "7", {'r'}, {}, -1, false, false, false},
        DeleteCase{"LastSpotOnOneOfTwoMaps", 3, "1", {'p'}, {"2"}, -1, true, false, false},
        DeleteCase{"OneOfSeveralPoints", 0, "3", {'p'}, {"3", "0"}, 0, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpawnPageTest, DeleteWithoutSelectedRowDoesNothing) {
    page->deletePointSpot();
    page->deleteRangeSpot();
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"0", "2", "7"}));
    for (int i = 0; i < document().spawns().count; ++i) EXPECT_NE(document().spawns().entries[i].spotid, -1);
}

TEST_F(SpawnPageTest, RestingPointerSelectsRowAfterTwoSeconds) {
    QTreeView* list = page->pointSpotList();
    page->spotPages()->setCurrentIndex(0);
    auto* timer = list->findChild<QTimer*>(QStringLiteral("pointlistHover"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_FALSE(timer->isActive());
    const QPoint over = rowRect(list, 2).center();
    QMouseEvent move(QEvent::MouseMove, over, list->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(list->viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(selectedRows(list).isEmpty());
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(selectedRows(list), QList<int>{2});
    EXPECT_TRUE(enabled(page, "Button4"));
}

TEST_F(SpawnPageTest, SaveWritesTheSpawnFileBelowTheProgramFolder) {
    selectRow(page->rangeSpotList(), 0);
    page->deleteRangeSpot();
    static_cast<QAbstractButton*>(child(page, "SpeedButton1"))->click();
    EXPECT_TRUE(recorder().messages.empty());
    const std::string saved = folder.read("data/Quarnel.txt");
    EXPECT_EQ(saved, document().spawns().fileBytes());
    EXPECT_EQ(saved.find("10\t3\t9\t10\t20"), std::string::npos);
    EXPECT_NE(saved.find("12\t7\t3\t11\t12\t13\t14\t7\t8"), std::string::npos);
}

TEST_F(SpawnPageTest, RefusedSaveIsReported) {
    folder.write("data/Quarnel.txt", "0\r\n10\t3\tx\t1\t2\t3\r\n");
    makeWindows();  // the reading stops at the bad line: the file is not to be saved over
    recorder().clear();
    folder.write("data/Quarnel.txt", "kept");
    page->saveSpawnFile();
    EXPECT_EQ(recorder().errors().size(), 1);
    EXPECT_EQ(folder.read("data/Quarnel.txt"), "kept");
}

TEST_F(SpawnPageTest, MapChangeLoadsPictureTitleAndSpotMode) {
    chooseMonster(1);  // map 5 has a picture
    EXPECT_FALSE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), "Map  Preview  ( Reed Crawler, 5 )  ");
    EXPECT_TRUE(preview->pictureVisible());

    preview->pickSelection(preview->selection().pointselection);
    chooseMonster(3);  // maps 1 and 2 have no picture: the preview's own background
    EXPECT_FALSE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), "Map  Preview  ( Mire Lantern, 1 )  ");
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_FALSE(preview->isVisible());
}

// Pending events run once the work list is rebuilt, before the spot lists are filled
// and before the picture is made visible.
TEST_F(SpawnPageTest, PendingEventsSeeTheNewWorkListAndEmptySpotLists) {
    chooseMap("0");
    preview->setPictureVisible(false);
    struct Seen {
        int points = -1, ranges = -1, work = -1;
        bool pictureVisible = true, selectionMode = true;
        QString title;
    } seen;
    preview->pickSelection(preview->selection().pointselection);
    QTimer::singleShot(0, page, [&] {
        seen = {rowCount(page->pointSpotList()), rowCount(page->rangeSpotList()), page->workList().count,
                preview->pictureVisible(), preview->selection().showselection, preview->title()};
    });
    chooseMap("3");
    EXPECT_EQ(seen.points, 0);
    EXPECT_EQ(seen.ranges, 0);
    EXPECT_EQ(seen.work, 4);
    EXPECT_FALSE(seen.pictureVisible);
    EXPECT_FALSE(seen.selectionMode);
    EXPECT_EQ(seen.title, "Map  Preview  ( Ash Hound, 3 )  ");
    EXPECT_TRUE(preview->pictureVisible());
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"0", "2", "7"}));
}

// A map change that runs while another one waits for its repaint (keys held down in
// MapList) must not leave the spot lists with every row twice.
TEST_F(SpawnPageTest, MapChangeDuringAMapChangeListsEachSpotOnce) {
    chooseMap("0");
    QTimer::singleShot(0, page, [&] { chooseMap("0"); });
    chooseMap("3");
    EXPECT_EQ(page->mapCombo()->currentText(), "0");
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"1"}));
    EXPECT_EQ(rowCount(page->rangeSpotList()), 0);

    QTimer::singleShot(0, page, [&] { chooseMap("3"); });
    chooseMap("3");
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"0", "2", "7"}));
    EXPECT_EQ(captions(page->rangeSpotList()), (QStringList{"5"}));
}

TEST_F(SpawnPageTest, BrokenPictureIsReportedAndTheSpotsAreListed) {
    folder.write("VarnexMaps/0.jpg", "this is not a picture");
    chooseMonster(0);
    chooseMap("0");
    ASSERT_EQ(recorder().errors().size(), 1);
    EXPECT_TRUE(recorder().errors().front().contains("0.jpg"));
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"1"}));
    EXPECT_EQ(preview->title(), "Map  Preview  ( Ash Hound, 0 )  ");  // never the last map's
    EXPECT_FALSE(preview->pictureVisible());

    recorder().clear();
    chooseMap("3");  // the program goes on
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(captions(page->rangeSpotList()), (QStringList{"5"}));
}

TEST_F(SpawnPageTest, ShowPreviewForMapWithAndWithoutPicture) {
    chooseMonster(3);
    preview->pickSelection(preview->selection().pointselection);
    page->showPreview();
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), "Map  Preview  ( Mire Lantern, 1 )  ");
    EXPECT_FALSE(preview->pictureVisible());

    chooseMonster(0);
    page->showPreview();
    EXPECT_EQ(preview->title(), "Map  Preview  ( Ash Hound, 3 )  ");
    EXPECT_TRUE(preview->pictureVisible());
    EXPECT_EQ(preview->rectangles().size(), 4u);

    chooseMonster(4);  // no maps
    page->showPreview();
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_TRUE(preview->rectangles().empty());
}

TEST_F(SpawnPageTest, AddSpotWindowOpensTheDialogOnTheShownListPage) {
    EXPECT_FALSE(enabled(page, "SpeedButton6"));
    chooseMonster(2);
    page->showRangeListPage();
    static_cast<QAbstractButton*>(child(page, "Button7"))->click();
    EXPECT_TRUE(enabled(page, "SpeedButton6"));
    EXPECT_TRUE(enabled(page, "SpeedButton7"));
    EXPECT_TRUE(dialog->isVisible());
    QComboBox* combo = dialog->monsterCombo();
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(4), "14");
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_TRUE(preview->selection().showselection);
    EXPECT_FALSE(preview->selection().pointselection);

    chooseMonster(3);
    page->showPointListPage();
    static_cast<QAbstractButton*>(child(page, "SpeedButton6"))->click();
    EXPECT_EQ(combo->currentIndex(), 3);
    EXPECT_TRUE(preview->selection().pointselection);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(SpawnPageTest, SelectMapTextSelectsNothingForUnlistedMap) {
    page->selectMapText("0");
    EXPECT_EQ(page->mapCombo()->currentIndex(), 1);
    page->selectMapText("9");
    EXPECT_EQ(page->mapCombo()->currentIndex(), -1);
    EXPECT_FALSE(page->mapChosen());
    page->selectMapText("3");
    page->mapCombo()->setEnabled(false);
    EXPECT_FALSE(page->mapChosen());
}

// The first monster of the table has no spots: the first fill leaves previewReady false,
// and the first map choice of the run, when it comes, leaves the preview alone.
class FirstMonsterWithoutSpots : public SpawnFixture {
protected:
    void SetUp() override {
        std::string monsters = fixtureMonsterFile();
        const auto lastLine = monsters.rfind("\r\n", monsters.size() - 3) + 2;
        monsters = monsters.substr(lastLine) + monsters.substr(0, lastLine);  // monster 14 first
        folder.write("data/monster.txt", monsters);
        makeWindows();
        preview->pickSelection(false);  // the first map choice must leave it so
    }
};

TEST_F(FirstMonsterWithoutSpots, FirstMapChoiceLeavesThePreviewAlone) {
    ASSERT_EQ(rowTexts(page->monsterList(), 0).value(0), "14");
    EXPECT_EQ(page->selectedMonsterIndex(), 0);
    EXPECT_TRUE(mapTexts().isEmpty());
    EXPECT_FALSE(preview->previewReady());
    EXPECT_FALSE(enabled(page, "Label11"));
    page->showSelectedMap();  // no map selected: nothing happens
    EXPECT_FALSE(preview->previewReady());

    chooseMonster(2);  // monster 11, map 5, which has a picture
    EXPECT_TRUE(preview->previewReady());
    EXPECT_EQ(captions(page->pointSpotList()), (QStringList{"9"}));
    EXPECT_TRUE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), "Map  Preview    ");

    chooseMap("5");
    EXPECT_FALSE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), "Map  Preview  ( Reed Crawler, 5 )  ");
    EXPECT_TRUE(recorder().messages.empty());
}


// A monster that gains its first spot or loses its last one has its row's icon
// repainted: the list's model tells that row's change, not a refill of every row.
// After a change of many spots that refills the lists (one of the monster's spots
// deleted, or given to another monster), the selected spot stays selected: the file's
// first spot, number 0, as well as any other.
TEST_F(SpawnPageTest, AChangeOfManySpotsKeepsTheSelectedSpot) {
    struct Case {
        const char* name;
        std::int32_t selected;  // a point of monster 10 on map 3
        std::function<void(EditorDocument&)> change;
    };
    const Case cases[] = {
        {"spot 0 kept, spot 2 deleted", 0, [](EditorDocument& d) { d.deleteSpots({2}, QStringLiteral("delete")); }},
        {"spot 7 kept, spot 2 deleted", 7, [](EditorDocument& d) { d.deleteSpots({2}, QStringLiteral("delete")); }},
        {"spot 0 kept, spot 2 given to monster 11", 0,
         [](EditorDocument& d) {
             SpawnEntry given = d.spawns().entries[2];
             given.monsterid = 11;
             d.changeSpots({given}, QStringLiteral("change"));
         }},
        {"spot 2 kept, spot 0 given to monster 11", 2,
         [](EditorDocument& d) {
             SpawnEntry given = d.spawns().entries[0];
             given.monsterid = 11;
             d.changeSpots({given}, QStringLiteral("change"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeWindows();
        chooseMonster(0);
        chooseMap(QStringLiteral("3"));
        QTreeView* points = page->pointSpotList();
        int row = -1;
        for (int r = 0; r < points->model()->rowCount(); ++r)
            if (points->model()->index(r, 0).data().toInt() == c.selected) row = r;
        ASSERT_GE(row, 0);
        const auto selectedSpot = [points] {
            const QModelIndexList rows = points->selectionModel()->selectedRows();
            return rows.size() == 1 ? rows.front().data().toInt() : -1;
        };
        selectRow(points, row);
        ASSERT_EQ(selectedSpot(), c.selected);
        c.change(windows->document());
        EXPECT_EQ(selectedSpot(), c.selected);
    }
}

TEST_F(SpawnPageTest, AMonsterGainingOrLosingItsSpotsRepaintsOnlyItsRow) {
    QAbstractItemModel* rows = page->monsterList()->model();
    QSignalSpy changed(rows, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
    chooseMonster(2);  // monster 12: one range spot on map 7
    selectRow(page->rangeSpotList(), 0);
    page->deleteRangeSpot();
    dialog->openFor(4, true);  // monster 14, which has none
    dialog->createSpot();
    EXPECT_EQ(reset.count(), 0);
    QList<int> changedRows;
    for (const QList<QVariant>& change : changed) changedRows << change.at(0).toModelIndex().row();
    EXPECT_TRUE(changedRows.contains(2));
    EXPECT_TRUE(changedRows.contains(4));
    EXPECT_FALSE(monsterIconHasSpots(2));
    EXPECT_TRUE(monsterIconHasSpots(4));
}

}  // namespace
