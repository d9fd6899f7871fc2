// The map overview as the program makes it: opened from the spawn page on its map, the
// spots drawn on their cells, hover, the side list, selection shared with the spawn
// page, and drags and arrow keys as undoable changes of one line's coordinates.

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>
#include <gtest/gtest.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "ListRows.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MessageRecorder.h"
#include "OverviewMonsters.h"
#include "OverviewSurface.h"
#include "ReportList.h"
#include "SpawnPage.h"
#include "SpawnRows.h"
#include "SpinField.h"
#include "TempFolder.h"
#include "OverviewFixture.h"

namespace {

TEST_F(OverviewTest, OpensFromThePageOnItsMapAndTheMapFieldChangesIt) {
    overview->hide();
    overview->openOnMap(3);
    auto* button = static_cast<QAbstractButton*>(page->findChild<QWidget*>(QStringLiteral("OverviewButton")));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(QRect(button->mapTo(page, QPoint(0, 0)), button->size()), QRect(484, 24, 23, 23));
    EXPECT_EQ(button->toolTip(), "Map overview: every monster's spots on this map (Ctrl+M)");
    page->selectMapText(QStringLiteral("2"));  // monster 10 has spots on maps 2 and 3
    page->showSelectedMap();
    button->click();
    EXPECT_TRUE(overview->isVisible());
    EXPECT_EQ(overview->map(), 2);
    EXPECT_EQ(overview->windowTitle(), "Map Overview - map 2");
    EXPECT_EQ(surface->spots().size(), 7u);

    overview->findChild<SpinField*>(QStringLiteral("OverviewMapNumber"))->setValue(3);
    EXPECT_EQ(overview->windowTitle(), "Map Overview - map 3");
    ASSERT_EQ(surface->spots().size(), 1u);
    EXPECT_EQ(surface->spots()[0].spotid, 2);
    EXPECT_FALSE(surface->hasPicture());  // no file: the "no map" background
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(OverviewTest, MarksAndOutlinesAreDrawnOnTheirCellsInTheirMonstersColours) {
    for (int item = 0; item < 5; ++item) {
        overview->chooseZoom(item);
        ASSERT_EQ(overview->zoom(), item + 1);
        const QImage image = surface->grab().toImage();
        const auto colour = [&](QPoint p) { return image.pixel(p) | 0xFF000000u; };
        SCOPED_TRACE("zoom " + std::to_string(item + 1));
        EXPECT_EQ(colour(at(100, 101)), monsterColour(11));  // spot 6, drawn over spot 0
        EXPECT_EQ(colour(at(40, 41)), monsterColour(13));
        EXPECT_EQ(colour(at(10, 20)), monsterColour(10));  // a corner of spot 3's outline
        EXPECT_EQ(colour(at(10, 20) + QPoint(-1, 1)), kHaloColour);
        EXPECT_EQ(colour(at(20, 30) + QPoint(2, -2)), 0xFF000000u);  // inside it: the black picture
        // Spot 6 faces left (4): a tick ending kTickLength pixels beyond its mark, haloed.
        EXPECT_EQ(colour(at(100, 101) + QPoint(-kMarkRadius - kTickLength, 0)), monsterColour(11));
        EXPECT_EQ(colour(at(100, 101) + QPoint(-kMarkRadius - 3, -1)), kHaloColour);
    }
    overview->highlightSpot(1);
    EXPECT_EQ(surface->grab().toImage().pixel(at(40, 41)) | 0xFF000000u, kSelectedColour);
}

TEST_F(OverviewTest, HoverNamesEverySpotUnderThePointerAndTheCell) {
    mouse(QEvent::MouseMove, at(100, 101), Qt::NoButton);
    EXPECT_EQ(overview->cellLabel()->text(), "100,101");
    EXPECT_EQ(overview->hoverText(at(100, 101)).toStdString(),
              "11 Reed Crawler, level 21: spot 6, Monsters (Point Spot), cell 100,101, distance 8, direction 4\n"
              "10 Ash Hound, level 20: spot 0, Npc (point Spot), cell 100,101, distance 5, direction 8\n"
              "12 Stone Warden, level 22: spot 5, Monsters (Range Spot), cells 0,0 to 255,255, distance 1, "
              "direction -1, count 3");
    // Ticked off, a monster's spots are neither drawn nor named.
    overview->monsterRows()->setData(overview->monsterRows()->index(2, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(overview->hoverText(at(100, 101)).count(QLatin1Char('\n')), 1);
    EXPECT_EQ(overview->hoverText(at(200, 200)), "");
    for (const SpawnEntry& spot : surface->spots()) EXPECT_NE(spot.monsterid, 12);
}

TEST_F(OverviewTest, SideListCountsEachMonstersSpotsAndMonstersAndFilters) {
    const std::vector<MapMonster> expected = {{10, "Ash Hound", 2, 8}, {11, "Reed Crawler", 2, 6},
                                              {12, "Stone Warden", 1, 3}, {13, "Mire Lantern", 1, 1},
                                              {112, "Quiet Moth", 1, 1}};
    ASSERT_EQ(overview->monsterRows()->rowCount(), 5);
    for (int row = 0; row < 5; ++row) EXPECT_EQ(overview->monsterRows()->row(row), expected[row]);

    const struct {
        const char* filter;
        std::vector<std::int32_t> listed;
    } cases[] = {{"", {10, 11, 12, 13, 112}}, {"hound", {10}},       {"RAWL", {11}},
                 {"12", {12}},                {"112", {112}},        {"  o", {10, 12, 112}},
                 {"zzz", {}},                 {"Ash Hound", {10}}};
    for (const auto& c : cases) {
        overview->filterField()->setText(QString::fromLatin1(c.filter));
        EXPECT_EQ(monstersListed(), c.listed) << c.filter;
    }
    QTest::keyClick(overview->filterField(), Qt::Key_Escape);
    EXPECT_EQ(overview->filterField()->text(), "");
    EXPECT_EQ(monstersListed().size(), 5u);

    // The counts follow the document.
    document().deleteSpot(4);
    EXPECT_EQ(overview->monsterRows()->row(1), (MapMonster{11, "Reed Crawler", 1, 1}));
    document().history(TableFile::Spawns).undo();
    EXPECT_EQ(overview->monsterRows()->row(1), expected[1]);
}

TEST_F(OverviewTest, AClickShowsTheSpotOnTheSpawnPageAndTheBack) {
    mouse(QEvent::MouseButtonPress, at(40, 41));
    mouse(QEvent::MouseButtonRelease, at(40, 41), Qt::NoButton);
    EXPECT_EQ(overview->selectedSpot(), 1);
    EXPECT_EQ(page->monsterList()->currentIndex().row(), 3);  // monster 13
    EXPECT_EQ(page->mapCombo()->currentText(), "2");
    EXPECT_EQ(spotShownOnPage(), 1);

    page->goToSpot(3);  // selects spot 3's row on the page
    EXPECT_EQ(overview->selectedSpot(), 3);
    page->goToSpot(2);  // on map 3: not drawn here
    EXPECT_EQ(overview->selectedSpot(), -1);

    QSignalSpy edit(overview, &MapOverviewWindow::editSpotRequested);
    mouse(QEvent::MouseButtonDblClick, at(15, 25));
    ASSERT_EQ(edit.count(), 1);
    EXPECT_EQ(edit.at(0).at(0).toInt(), 3);
    EXPECT_EQ(document().history(TableFile::Spawns).count(), 0);
}

TEST_F(OverviewTest, DragsAndArrowKeysAreOneUndoableChangeOfOneLinesCells) {
    struct Case {
        const char* name;
        QPoint press;
        std::vector<QPoint> moves;       // pixels, the last where it is dropped
        std::function<void()> keys;      // instead of a drag, with the pressed spot selected
        const char* line;                // the spot's line before ...
        const char* changed;             // ... and after
    };
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m) { return [=, this] { QTest::keyClick(surface, k, m); }; };
    const Case cases[] = {
        {"point dragged to another cell", at(40, 41), {at(42, 40), at(45, 38)}, {},
         "13\t2\t0\t40\t41\t-1", "13\t2\t0\t45\t38\t-1"},
        {"range dragged by its body", at(20, 30), {at(25, 25)}, {},
         "10\t2\t9\t10\t20\t30\t40\t6\t7", "10\t2\t9\t15\t15\t35\t35\t6\t7"},
        {"range resized by its upper right corner", at(30, 40), {at(33, 44)}, {},
         "10\t2\t9\t10\t20\t30\t40\t6\t7", "10\t2\t9\t10\t20\t33\t44\t6\t7"},
        {"reverse-order range resized by its left edge, in order after", at(20, 46), {at(22, 46)}, {},
         "11\t2\t3\t50\t60\t20\t30\t-1\t5", "11\t2\t3\t22\t30\t50\t60\t-1\t5"},
        {"dropped where it was taken", at(40, 41), {at(45, 38), at(40, 41)}, {},
         "13\t2\t0\t40\t41\t-1", "13\t2\t0\t40\t41\t-1"},
        {"Up moves a cell up", at(40, 41), {}, key(Qt::Key_Up, Qt::NoModifier),
         "13\t2\t0\t40\t41\t-1", "13\t2\t0\t40\t42\t-1"},
        {"Shift+Left moves ten cells left", at(40, 41), {}, key(Qt::Key_Left, Qt::ShiftModifier),
         "13\t2\t0\t40\t41\t-1", "13\t2\t0\t30\t41\t-1"},
    };
    QUndoStack& history = document().history(TableFile::Spawns);
    const std::string initial = bytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        history.clear();
        const std::string before = bytes();
        mouse(QEvent::MouseButtonPress, c.press);
        for (const QPoint p : c.moves) mouse(QEvent::MouseMove, p);
        if (!c.moves.empty()) {
            EXPECT_EQ(bytes(), before);  // shown where it would go, not changed
            ASSERT_TRUE(surface->draggedSpot().has_value());
        }
        mouse(QEvent::MouseButtonRelease, c.moves.empty() ? c.press : c.moves.back(), Qt::NoButton);
        if (c.keys) c.keys();

        std::string expected = before;
        const std::string line = std::string(c.line) + "\r\n";
        ASSERT_NE(expected.find(line), std::string::npos);
        expected.replace(expected.find(line), line.size(), std::string(c.changed) + "\r\n");
        EXPECT_EQ(bytes(), expected);
        EXPECT_EQ(history.count(), expected == before ? 0 : 1);
        if (expected == before) continue;
        ASSERT_TRUE(document().save(TableFile::Spawns, [](const std::string&) { return true; }));
        EXPECT_EQ(folder.read("data/Quarnel.txt"), expected);
        history.undo();
        EXPECT_EQ(bytes(), before);
        // The overview draws the spot where it is again.
        const std::int32_t moved = overview->selectedSpot();
        const auto drawn = std::find_if(surface->spots().begin(), surface->spots().end(),
                                        [&](const SpawnEntry& s) { return s.spotid == moved; });
        ASSERT_NE(drawn, surface->spots().end());
        EXPECT_EQ(*drawn, document().spawns().entries[static_cast<std::size_t>(moved)]);
        history.redo();
        EXPECT_EQ(bytes(), expected);
        history.undo();
    }
    EXPECT_EQ(bytes(), initial);
    EXPECT_TRUE(recorder().messages.empty());
}

// A drag moves its spot by the whole cells the pointer moved, at every zoom and from
// whichever pixel of the mark it was pressed.
TEST_F(OverviewTest, DragsMoveByTheCellsThePointerMovedAtEveryZoom) {
    QUndoStack& history = document().history(TableFile::Spawns);
    const SpawnEntry before = document().spawns().entries[1];  // Mire Lantern's point at (40, 41)
    for (int item = 0; item < kMaxZoom; ++item) {
        overview->chooseZoom(item);
        const int zoom = overview->zoom();
        for (const QPoint press : {QPoint(-2, -2), QPoint(0, 0), QPoint(2, 1), QPoint(1, -2), QPoint(-1, 2)}) {
            for (const QPoint cells : {QPoint(5, 0), QPoint(0, -3), QPoint(-4, 2)}) {
                SCOPED_TRACE("zoom " + std::to_string(zoom) + ", pressed at " + std::to_string(press.x()) + ',' +
                             std::to_string(press.y()) + ", moved " + std::to_string(cells.x()) + ',' +
                             std::to_string(cells.y()) + " cells");
                const QPoint from = at(40, 41) + press;
                // On the screen Y grows downwards: cells up are pixels up.
                const QPoint to = from + QPoint(cells.x() * zoom, -cells.y() * zoom);
                mouse(QEvent::MouseButtonPress, from);
                mouse(QEvent::MouseMove, (from + to) / 2);
                mouse(QEvent::MouseMove, to);
                mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
                const SpawnEntry& after = document().spawns().entries[1];
                EXPECT_EQ(after.x0, before.x0 + cells.x());
                EXPECT_EQ(after.y0, before.y0 + cells.y());
                history.undo();
            }
        }
    }
    EXPECT_EQ(document().spawns().entries[1], before);
}

// A drag given up with Escape draws the spot where it was, as it was drawn before.
TEST_F(OverviewTest, ACancelledDragDrawsTheSpotWhereItWas) {
    for (const int item : {0, 1, 3}) {
        overview->chooseZoom(item);
        const QImage before = surface->grab().toImage();
        for (const QPoint press : {at(40, 41), at(20, 30)}) {  // a point, a range's inside
            mouse(QEvent::MouseButtonPress, press);
            mouse(QEvent::MouseMove, press + QPoint(30, 20));
            ASSERT_TRUE(surface->draggedSpot().has_value());
            EXPECT_NE(surface->grab().toImage(), before);
            QTest::keyClick(surface, Qt::Key_Escape);
            EXPECT_FALSE(surface->draggedSpot().has_value());
            mouse(QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::NoButton);
            overview->highlightSpot(-1);
            EXPECT_EQ(surface->grab().toImage(), before) << "zoom item " << item;
        }
    }
    EXPECT_EQ(document().history(TableFile::Spawns).count(), 0);
    EXPECT_TRUE(overview->isVisible()) << "Escape gave up the drag, not the window";
}

// The filter narrows the map as it narrows the list; "None" and "All" untick and tick
// the monsters listed.
TEST_F(OverviewTest, TheFilterAndTheTicksNarrowTheMap) {
    const auto drawnMonsters = [this] {
        std::set<std::int32_t> drawn;
        for (const SpawnEntry& spot : surface->spots()) drawn.insert(spot.monsterid);
        return drawn;
    };
    const auto click = [this](const char* name) {
        static_cast<QAbstractButton*>(overview->findChild<QWidget*>(QString::fromLatin1(name)))->click();
    };
    const struct {
        const char* name;
        std::function<void()> act;
        std::set<std::int32_t> drawn;
    } steps[] = {
        {"everything", [] {}, {10, 11, 12, 13, 112}},
        {"filtered to 'o'", [this] { overview->filterField()->setText(QStringLiteral("o")); }, {10, 12, 112}},
        {"None ticks off those listed", [=] { click("OverviewTickNone"); }, {}},
        {"the filter emptied: the others stay ticked", [this] { overview->filterField()->clear(); }, {11, 13}},
        {"All", [=] { click("OverviewTickAll"); }, {10, 11, 12, 13, 112}},
        {"None", [=] { click("OverviewTickNone"); }, {}},
        {"a number", [this] { overview->filterField()->setText(QStringLiteral("13")), overview->monsterRows()->setShown(13, true); }, {13}},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(drawnMonsters(), step.drawn) << step.name;
    }
}

// Changing the zoom keeps the cell in the middle of the view where it was.
TEST_F(OverviewTest, ZoomKeepsTheMiddleOfTheView) {
    overview->resize(700, 600);
    QApplication::processEvents();
    overview->chooseZoom(3);  // 4X: the map scrolls
    auto* area = overview->findChild<QScrollArea*>(QStringLiteral("OverviewMap"));
    ASSERT_NE(area, nullptr);
    const auto middleCell = [&] {
        const QPoint middle(area->viewport()->width() / 2, area->viewport()->height() / 2);
        return cellUnder(surface->mapFrom(area->viewport(), middle), overview->zoom());
    };
    area->ensureVisible(at(128, 120).x(), at(128, 120).y(), 0, 0);
    area->horizontalScrollBar()->setValue(at(128, 120).x() - area->viewport()->width() / 2);
    area->verticalScrollBar()->setValue(at(128, 120).y() - area->viewport()->height() / 2);
    const QPoint before = middleCell();
    for (const int item : {4, 2, 3}) {  // 5X, 3X, 4X: larger than the view
        overview->chooseZoom(item);
        const QPoint now = middleCell();
        EXPECT_LE(std::abs(now.x() - before.x()), 1) << "zoom item " << item;
        EXPECT_LE(std::abs(now.y() - before.y()), 1) << "zoom item " << item;
    }
}

// A click on the grey margin beside the map leaves the arrow keys on the map, from
// wherever the keyboard was in the window.
TEST_F(OverviewTest, AClickOnTheMarginBesideTheMapLeavesTheKeysOnTheMap) {
    overview->resize(900, 700);
    overview->chooseZoom(0);  // 1X: the map is smaller than its view
    QApplication::processEvents();
    QWidget* view = overview->mapArea()->viewport();
    const QPoint margin(2, view->height() / 2);
    ASSERT_FALSE(QRect(surface->mapTo(view, QPoint(0, 0)), surface->size()).contains(margin));
    for (const char* from : {"OverviewFilter", "OverviewZoom", "OverviewMonsters"}) {
        overview->findChild<QWidget*>(QString::fromLatin1(from))->setFocus();
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, margin);
        EXPECT_EQ(QApplication::focusWidget(), surface) << from;
    }
}

// The window has a title strip of its own; its button, Escape, Ctrl+W and Alt+F4 close
// it and hand the keyboard back; Ctrl+S saves the spawn file.
TEST_F(OverviewTest, ItsOwnTitleStripKeysThatCloseItAndSave) {
    auto* strip = overview->findChild<QLabel*>(QStringLiteral("OverviewTitle"));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->text(), "Map Overview - map 2");
    EXPECT_TRUE(overview->windowFlags().testFlag(Qt::FramelessWindowHint));
    QSignalSpy left(overview, &MapOverviewWindow::leftByKeyboard);
    const struct {
        const char* name;
        std::function<void()> close;
    } ways[] = {
        {"the close button", [this] { overview->findChild<QAbstractButton*>(QStringLiteral("OverviewClose"))->click(); }},
        {"Escape on the map", [this] { QTest::keyClick(surface, Qt::Key_Escape); }},
        {"Escape in the empty filter field", [this] { QTest::keyClick(overview->filterField(), Qt::Key_Escape); }},
        {"Ctrl+W", [this] { QTest::keyClick(overview, Qt::Key_W, Qt::ControlModifier); }},
        {"Alt+F4", [this] { QTest::keyClick(overview, Qt::Key_F4, Qt::AltModifier); }},
    };
    for (const auto& way : ways) {
        overview->openOnMap(2);
        QApplication::setActiveWindow(overview);
        way.close();
        EXPECT_FALSE(overview->isVisible()) << way.name;
    }
    EXPECT_EQ(left.count(), 4) << "the keys hand the keyboard back";

    overview->openOnMap(2);
    QApplication::setActiveWindow(overview);
    document().deleteSpot(1);
    QTest::keyClick(surface, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(folder.read("data/Quarnel.txt"), bytes());
    EXPECT_TRUE(document().history(TableFile::Spawns).isClean());
}

TEST_F(OverviewTest, APictureThatDoesNotDecodeIsSaidOnce) {
    EXPECT_TRUE(surface->hasPicture());
    overview->setMap(4);
    overview->setMap(2);
    overview->setMap(4);
    EXPECT_FALSE(surface->hasPicture());
    EXPECT_EQ(recorder().errors().size(), 1);
}

}  // namespace
