// Many spots at once on the map overview: selected by clicks, boxes and keys; moved,
// deleted, their counts and directions set, copied and pasted, each as one step of the
// spawn file's history; and the wheel's zoom around the pointer.

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>

#include "MapPreviewWindow.h"
#include "OverviewFixture.h"
#include "SurfaceArea.h"

namespace {

class SelectionTest : public OverviewTest {
public:
    void SetUp() override {
        OverviewTest::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    void click(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, at(x, y), Qt::LeftButton, modifiers);
        mouse(QEvent::MouseButtonRelease, at(x, y), Qt::NoButton, modifiers);
    }
    // Pressed on one cell, dragged to the other and let go.
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, at(from.x(), from.y()), Qt::LeftButton, modifiers);
        mouse(QEvent::MouseMove, (at(from.x(), from.y()) + at(to.x(), to.y())) / 2, Qt::LeftButton, modifiers);
        mouse(QEvent::MouseMove, at(to.x(), to.y()), Qt::LeftButton, modifiers);
        mouse(QEvent::MouseButtonRelease, at(to.x(), to.y()), Qt::NoButton, modifiers);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(overview);
        QTest::keyClick(surface, k, modifiers);
    }
    std::vector<std::int32_t> selected() const {
        std::vector<std::int32_t> ids = overview->selectedSpots();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    // The spawn file's bytes with lines replaced (an empty "after" takes the line out).
    static std::string edited(std::string text, const std::vector<std::pair<std::string, std::string>>& lines) {
        for (const auto& [before, after] : lines) {
            const std::string line = before + "\r\n";
            const std::size_t at = text.find(line);
            EXPECT_NE(at, std::string::npos) << before;
            if (at != std::string::npos) text.replace(at, line.size(), after.empty() ? "" : after + "\r\n");
        }
        return text;
    }
    // The bytes with a line added at the end of a section.
    static std::string added(std::string text, int section, const std::string& line) {
        const std::size_t start = section == 0 ? 0 : text.find("\n" + std::to_string(section) + "\r\n");
        const std::size_t end = text.find("end\r\n", start);
        text.insert(end, line + "\r\n");
        return text;
    }
    // What the map shows equals a drawing of it made afresh.
    void expectDrawnAsAfresh() {
        const QImage kept = surface->grab().toImage();
        surface->setSpots(surface->spots());
        EXPECT_EQ(kept, surface->grab().toImage());
    }
    // A wheel turn of `notches` over a pixel of a widget.
    static void wheel(QWidget* widget, QPoint pixel, int notches, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(pixel), QPointF(widget->mapToGlobal(pixel)), QPoint(),
                          QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
};

TEST_F(SelectionTest, ClicksBoxesAndKeysSelectSpotsOfTickedMonsters) {
    const auto ctrl = Qt::ControlModifier;
    const auto shift = Qt::ShiftModifier;
    const struct {
        const char* name;
        std::function<void(SelectionTest&)> act;
        std::vector<std::int32_t> selected;
    } cases[] = {
        {"a click selects one spot", [](SelectionTest& t) { t.click(40, 41); }, {1}},
        {"Ctrl+click adds a spot", [=](SelectionTest& t) { t.click(40, 41), t.click(250, 5, ctrl); }, {1, 7}},
        {"Shift+click takes a selected spot out",
         [=](SelectionTest& t) { t.click(40, 41), t.click(250, 5, ctrl), t.click(40, 41, shift); }, {7}},
        {"a plain click on a spot of the selection takes it alone",
         [=](SelectionTest& t) { t.click(40, 41), t.click(250, 5, ctrl), t.click(250, 5); }, {7}},
        {"a box selects the spots wholly inside it",
         [](SelectionTest& t) { t.drag({5, 15}, {60, 70}); }, {1, 3, 4}},
        {"a range reaching out of the box is left out",
         [](SelectionTest& t) { t.drag({15, 15}, {60, 70}); }, {1, 4}},
        {"a range reaching out at the right", [](SelectionTest& t) { t.drag({5, 15}, {45, 70}); }, {1, 3}},
        {"a range reaching out at the top", [](SelectionTest& t) { t.drag({5, 15}, {60, 50}); }, {1, 3}},
        {"a range reaching out at the bottom", [](SelectionTest& t) { t.drag({5, 25}, {60, 70}); }, {1, 4}},
        {"a box on a range's left and top edges takes it", [](SelectionTest& t) { t.drag({32, 18}, {10, 40}); }, {3}},
        {"a box on a range's right and bottom edges takes it", [](SelectionTest& t) { t.drag({5, 45}, {30, 20}); }, {3}},
        {"a box drawn the other way round selects the same",
         [](SelectionTest& t) { t.drag({60, 70}, {5, 15}); }, {1, 3, 4}},
        {"Ctrl+box adds to the selection",
         [=](SelectionTest& t) { t.click(250, 5), t.drag({5, 15}, {60, 70}, ctrl); }, {1, 3, 4, 7}},
        {"a box over the whole map leaves the unticked monster's range",
         [](SelectionTest& t) { t.drag({1, 254}, {254, 1}); }, {0, 1, 3, 4, 6, 7}},
        {"Ctrl+A selects every spot shown", [=](SelectionTest& t) { t.key(Qt::Key_A, ctrl); }, {0, 1, 3, 4, 6, 7}},
        {"Escape clears the selection", [=](SelectionTest& t) { t.key(Qt::Key_A, ctrl), t.key(Qt::Key_Escape); }, {}},
        {"a click on the empty map clears it", [=](SelectionTest& t) { t.key(Qt::Key_A, ctrl), t.click(200, 200); }, {}},
        {"the side list's monster: its spots",
         [](SelectionTest& t) { t.overview->selectMonsterSpots(10); }, {0, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        overview->openOnMap(2);
        overview->clearSelection();
        overview->monsterRows()->setShown(12, false);  // its range covers the whole map
        c.act(*this);
        EXPECT_EQ(selected(), c.selected);
        const std::size_t n = c.selected.size();
        EXPECT_EQ(overview->selectionLabel()->text().toStdString(),
                  n == 0 ? "" : n == 1 ? "1 spot selected" : std::to_string(n) + " spots selected");
        EXPECT_TRUE(overview->isVisible()) << "Escape with spots selected keeps the window";
    }
    EXPECT_EQ(document().history(TableFile::Spawns).count(), 0);
    EXPECT_TRUE(recorder().messages.empty());
}

// While a box is drawn, its outline shows on all four sides, whichever way it is drawn
// and at every zoom, over the spots it crosses.
TEST_F(SelectionTest, ABoxBeingDrawnIsOutlinedOnEverySide) {
    const struct {
        QPoint from, to;
        int zoom;
    } cases[] = {{{5, 15}, {60, 70}, 1}, {{60, 70}, {5, 15}, 1}, {{5, 15}, {60, 70}, 3}, {{200, 10}, {150, 40}, 5}};
    overview->openOnMap(2);
    overview->monsterRows()->setShown(12, false);  // its range covers the whole map
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.x()) + "," + std::to_string(c.from.y()) + " zoom " +
                     std::to_string(c.zoom));
        overview->chooseZoom(c.zoom - 1);
        mouse(QEvent::MouseButtonPress, at(c.from.x(), c.from.y()), Qt::LeftButton);
        mouse(QEvent::MouseMove, at(c.to.x(), c.to.y()), Qt::LeftButton);
        const std::optional<CellBox> box = surface->boxBeingDragged();
        ASSERT_TRUE(box);
        const SpotRect band = grown(outlineRect(*box, surface->zoom()), kMarkRadius + 1);
        const QImage image = surface->grab().toImage();
        const int midX = (band.left + band.right) / 2;
        const int midY = (band.top + band.bottom) / 2;
        const struct {
            const char* side;
            QPoint pixel;
        } sides[] = {{"top", {midX, band.top}},
                     {"bottom", {midX, band.bottom - 1}},
                     {"left", {band.left, midY}},
                     {"right", {band.right - 1, midY}}};
        for (const auto& s : sides)
            EXPECT_EQ(image.pixel(s.pixel) | 0xFF000000u, kBoxColour) << s.side;
        mouse(QEvent::MouseButtonRelease, at(c.to.x(), c.to.y()), Qt::NoButton);
        EXPECT_FALSE(surface->boxBeingDragged());
    }
}

// Arrow keys move the selected spots only when there are some and no drag is held;
// otherwise they scroll the map, as in any scrolled view, and change nothing.
TEST_F(SelectionTest, ArrowsScrollTheMapWhenTheyMoveNoSpots) {
    const struct {
        const char* name;
        std::function<void(SelectionTest&)> before;
    } cases[] = {
        {"nothing selected", [](SelectionTest&) {}},
        {"a drag held", [](SelectionTest& t) {
             t.click(40, 41);
             t.mouse(QEvent::MouseButtonPress, t.at(40, 41));
             t.mouse(QEvent::MouseMove, t.at(44, 45));
         }},
    };
    overview->chooseZoom(4);
    QScrollBar* across = overview->mapArea()->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    const std::string initial = bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        overview->clearSelection();
        across->setValue(0);
        c.before(*this);
        QTest::keyClick(surface, Qt::Key_Right);
        EXPECT_GT(across->value(), 0);
        if (surface->draggedSpot()) {
            QTest::keyClick(surface, Qt::Key_Escape);  // gives the drag up
            mouse(QEvent::MouseButtonRelease, at(44, 45), Qt::NoButton);
        }
        EXPECT_EQ(bytes(), initial);
        EXPECT_EQ(document().history(TableFile::Spawns).count(), 0);
    }
}

// The map on the screen is painted only where asked: a box drawn smaller must have
// its old outline painted over, not left behind.
TEST_F(SelectionTest, ABoxDrawnSmallerRepaintsWhereItsOutlineWas) {
    struct Painted : QObject {
        QRegion region;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } painted;
    overview->monsterRows()->setShown(12, false);  // its range covers the whole map
    overview->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(overview));
    mouse(QEvent::MouseButtonPress, at(5, 15));
    mouse(QEvent::MouseMove, at(60, 70));
    QApplication::processEvents();
    ASSERT_TRUE(surface->boxBeingDragged());
    const SpotRect old = grown(outlineRect(*surface->boxBeingDragged(), surface->zoom()), kMarkRadius + 1);
    surface->installEventFilter(&painted);
    mouse(QEvent::MouseMove, at(20, 25));
    QApplication::processEvents();
    surface->removeEventFilter(&painted);
    const QRegion due = QRegion(old.left, old.top, old.right - old.left, old.bottom - old.top) & surface->visibleRegion();
    ASSERT_FALSE(due.isEmpty());
    EXPECT_EQ(due - painted.region, QRegion());
    mouse(QEvent::MouseButtonRelease, at(20, 25), Qt::NoButton);
}

// A drag of more spots than the map redraws one by one, given up with Escape, draws
// every one of them where it was, as they were drawn before.
TEST_F(SelectionTest, ACancelledDragOfManySpotsDrawsThemWhereTheyWere) {
    std::vector<SpawnEntry> many;
    for (int i = 0; i < surfacearea::kManySpots + 20; ++i) {
        SpawnEntry spot;
        spot.ispoint = true;
        spot.mapnumber = 2;
        spot.x0 = static_cast<std::uint8_t>(130 + i % 20 * 6);
        spot.y0 = static_cast<std::uint8_t>(130 + i / 20 * 8);
        spot.monsterid = 13;
        spot.dir = -1;
        many.push_back(spot);
    }
    document().appendSpots(many, QStringLiteral("paste"));
    overview->monsterRows()->setShown(12, false);  // its range covers the whole map: no room to move
    key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_GT(selected().size(), static_cast<std::size_t>(surfacearea::kManySpots));
    const QImage before = surface->grab().toImage();
    mouse(QEvent::MouseButtonPress, at(130, 130));
    mouse(QEvent::MouseMove, at(130, 130) + QPoint(30, 20));
    ASSERT_TRUE(surface->draggedSpot().has_value());
    EXPECT_NE(surface->grab().toImage(), before);
    QTest::keyClick(surface, Qt::Key_Escape);
    EXPECT_FALSE(surface->draggedSpot().has_value());
    EXPECT_EQ(surface->grab().toImage(), before);
    mouse(QEvent::MouseButtonRelease, at(130, 130) + QPoint(30, 20), Qt::NoButton);
    EXPECT_EQ(document().history(TableFile::Spawns).count(), 1);  // the spots' paste alone
}

// Each change of the selection is one step: saved, the lines it gives; undone, the file
// as it was; redone, the same again.
TEST_F(SelectionTest, TheSelectionChangesTogetherInOneStep) {
    const auto ctrl = Qt::ControlModifier;
    const struct {
        const char* name;
        std::vector<std::int32_t> selection;
        std::function<void(SelectionTest&)> act;
        std::vector<std::pair<std::string, std::string>> lines;  // before, after ("" deleted)
        const char* step;                                        // the step's name in the history
    } cases[] = {
        {"dragged together by whole cells", {1, 3, 4}, [](SelectionTest& t) { t.drag({40, 41}, {45, 38}); },
         {{"13\t2\t0\t40\t41\t-1", "13\t2\t0\t45\t38\t-1"},
          {"10\t2\t9\t10\t20\t30\t40\t6\t7", "10\t2\t9\t15\t17\t35\t37\t6\t7"},
          {"11\t2\t3\t50\t60\t20\t30\t-1\t5", "11\t2\t3\t25\t27\t55\t57\t-1\t5"}},
         "move 3 spots on map 2"},
        {"Up moves them a cell up", {1, 7}, [](SelectionTest& t) { t.key(Qt::Key_Up); },
         {{"13\t2\t0\t40\t41\t-1", "13\t2\t0\t40\t42\t-1"}, {"112\t2\t4\t250\t5\t9", "112\t2\t4\t250\t6\t9"}},
         "move 2 spots on map 2"},
        {"Shift+Right stops the whole group at the edge, twice one step", {1, 7},
         [](SelectionTest& t) { t.key(Qt::Key_Right, Qt::ShiftModifier), t.key(Qt::Key_Right, Qt::ShiftModifier); },
         {{"13\t2\t0\t40\t41\t-1", "13\t2\t0\t45\t41\t-1"}, {"112\t2\t4\t250\t5\t9", "112\t2\t4\t255\t5\t9"}},
         "move 2 spots on map 2"},
        {"a drag past the edge stops there too", {1, 7}, [](SelectionTest& t) { t.drag({40, 41}, {60, 31}); },
         {{"13\t2\t0\t40\t41\t-1", "13\t2\t0\t45\t36\t-1"}, {"112\t2\t4\t250\t5\t9", "112\t2\t4\t255\t0\t9"}},
         "move 2 spots on map 2"},
        {"a drag up past the top edge moves the whole group to it, keeping its shape", {1, 3},
         [](SelectionTest& t) { t.drag({40, 41}, {40, 300}); },
         {{"13\t2\t0\t40\t41\t-1", "13\t2\t0\t40\t255\t-1"},
          {"10\t2\t9\t10\t20\t30\t40\t6\t7", "10\t2\t9\t10\t234\t30\t254\t6\t7"}},
         "move 2 spots on map 2"},
        {"Delete", {1, 3, 4}, [](SelectionTest& t) { t.key(Qt::Key_Delete); },
         {{"13\t2\t0\t40\t41\t-1", ""}, {"10\t2\t9\t10\t20\t30\t40\t6\t7", ""}, {"11\t2\t3\t50\t60\t20\t30\t-1\t5", ""}},
         "delete 3 spots on map 2"},
        {"Ctrl+A, Delete", {}, [=](SelectionTest& t) { t.key(Qt::Key_A, ctrl), t.key(Qt::Key_Delete); },
         {{"10\t2\t5\t100\t101\t8", ""},
          {"13\t2\t0\t40\t41\t-1", ""},
          {"10\t2\t9\t10\t20\t30\t40\t6\t7", ""},
          {"11\t2\t3\t50\t60\t20\t30\t-1\t5", ""},
          {"12\t2\t1\t0\t0\t255\t255\t-1\t3", ""},
          {"11\t2\t8\t100\t101\t4", ""},
          {"112\t2\t4\t250\t5\t9", ""}},
         "delete 7 spots on map 2"},
        {"the count of the ranges selected, points kept", {1, 3, 4},
         [](SelectionTest& t) {
             recorder().answer = 4;
             t.overview->askCountOfSelected();
             EXPECT_EQ(recorder().offeredValue, 7);  // the first range's
         },
         {{"10\t2\t9\t10\t20\t30\t40\t6\t7", "10\t2\t9\t10\t20\t30\t40\t6\t4"},
          {"11\t2\t3\t50\t60\t20\t30\t-1\t5", "11\t2\t3\t50\t60\t20\t30\t-1\t4"}},
         "set the count of 2 ranges on map 2 to 4"},
        {"the direction of every spot selected", {1, 3},
         [](SelectionTest& t) {
             recorder().answer = 2;  // the third offered: 8, up
             t.overview->askDirectionOfSelected();
             EXPECT_EQ(recorder().offered.value(2), "8 (up)");
         },
         {{"13\t2\t0\t40\t41\t-1", "13\t2\t0\t40\t41\t8"}, {"10\t2\t9\t10\t20\t30\t40\t6\t7", "10\t2\t9\t10\t20\t30\t40\t8\t7"}},
         "set the direction of 2 spots on map 2 to 8"},
        {"a count question cancelled changes nothing", {3, 4}, [](SelectionTest& t) { t.overview->askCountOfSelected(); },
         {}, ""},
        {"one spot selected moves as before", {7}, [](SelectionTest& t) { t.key(Qt::Key_Left); },
         {{"112\t2\t4\t250\t5\t9", "112\t2\t4\t249\t5\t9"}}, ""},
    };
    QUndoStack& history = document().history(TableFile::Spawns);
    const std::string initial = bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        history.clear();
        recorder().clear();
        overview->selectSpots(c.selection);
        c.act(*this);
        const std::string expected = edited(initial, c.lines);
        EXPECT_EQ(bytes(), expected);
        expectDrawnAsAfresh();
        // What was changed, not deleted, stays selected for the next change.
        const bool deletes = std::any_of(c.lines.begin(), c.lines.end(), [](const auto& l) { return l.second.empty(); });
        if (!deletes) {
            EXPECT_EQ(selected(), c.selection);
        }
        ASSERT_TRUE(document().save(TableFile::Spawns, [](const std::string&) { return true; }));
        EXPECT_EQ(folder.read("data/Quarnel.txt"), expected);
        if (*c.step) {
            ASSERT_EQ(history.count(), 1);
            EXPECT_EQ(history.undoText().toStdString(), c.step);
        }
        while (history.canUndo()) history.undo();
        EXPECT_EQ(bytes(), initial);
        expectDrawnAsAfresh();
        while (history.canRedo()) history.redo();
        EXPECT_EQ(bytes(), expected);
        while (history.canUndo()) history.undo();
        EXPECT_TRUE(recorder().errors().isEmpty());
    }
}

// A copy puts spawn-file lines on the clipboard; a paste adds the spots of such lines
// where it is asked, as one step, and selects them; or it is refused, saying why,
// with nothing changed.
TEST_F(SelectionTest, CopiedSpotsArePastedWhereAskedOrRefusedWithTheReason) {
    std::string full = "0\r\n";
    for (int i = 0; i < kSpawnCapacity; ++i) full += "10\t2\t1\t5\t5\t-1\r\n";
    const struct {
        const char* name;
        std::vector<std::int32_t> copied;  // none: the clipboard holds `text`
        std::string text;
        int map;
        std::optional<QPoint> cell;
        std::optional<std::int32_t> monster;
        std::vector<std::pair<int, std::string>> added;  // section, line
        const char* refusal;                             // part of the error, when refused
        std::function<void(SelectionTest&)> how = {};    // instead of paste(cell, monster)
    } cases[] = {
        {"a camp pasted on another map at a cell keeps its shape", {1, 3}, {}, 3, QPoint(100, 200), {},
         {{0, "13\t3\t0\t130\t200\t-1"}, {1, "10\t3\t9\t100\t179\t120\t199\t6\t7"}}, nullptr},
        {"for another monster", {1, 3}, {}, 3, QPoint(100, 200), 112,
         {{0, "112\t3\t0\t130\t200\t-1"}, {1, "112\t3\t9\t100\t179\t120\t199\t6\t7"}}, nullptr},
        {"at the map's far corner", {1}, {}, 2, QPoint(255, 0), {}, {{0, "13\t2\t0\t255\t0\t-1"}}, nullptr},
        {"lines from a text editor, away from the map: at their own cells", {}, "4\n11\t2\t1\t5\t6\t-1\nend\n", 2, {},
         {}, {{4, "11\t2\t1\t5\t6\t-1"}}, nullptr},
        {"past the map's edge", {3}, {}, 2, QPoint(250, 100), {}, {}, "past the edge of the map"},
        {"a range across the bottom edge", {3}, {}, 2, QPoint(100, 10), {}, {}, "past the edge of the map"},
        {"a group whose range would cross the bottom edge", {1, 3}, {}, 2, QPoint(100, 20), {}, {},
         "The 2 spots cover 31 by 22 cells: with their upper left corner at 100,20 they would reach past the edge"},
        {"a monster the table does not list", {}, "0\n99\t2\t1\t5\t5\t-1\nend\n", 2, QPoint(5, 5), {}, {}, "99"},
        {"no spawn lines", {}, "hello", 2, QPoint(5, 5), {}, {}, "the pasted text"},
        {"an empty clipboard", {}, "", 2, QPoint(5, 5), {}, {}, "no lines of the spawn file"},
        {"more than the table has room for", {}, full, 2, {}, {}, {}, "more spawn places (of 10240); 10240 were to be added"},
        {"Ctrl+V at the cell under the pointer", {1}, {}, 3, {}, {}, {{0, "13\t3\t0\t60\t70\t-1"}}, nullptr,
         [](SelectionTest& t) {
             QCursor::setPos(t.surface->mapToGlobal(t.at(60, 70)));
             t.key(Qt::Key_V, Qt::ControlModifier);
         }},
        {"Ctrl+V with the pointer off the map: at their own cells", {1}, {}, 3, {}, {},
         {{0, "13\t3\t0\t40\t41\t-1"}}, nullptr,
         [](SelectionTest& t) {
             QCursor::setPos(t.overview->mapToGlobal(QPoint(-50, -50)));
             t.key(Qt::Key_V, Qt::ControlModifier);
         }},
        {"Ctrl+Shift+V asks for the monster", {1}, {}, 3, {}, {}, {{0, "112\t3\t0\t40\t41\t-1"}}, nullptr,
         [](SelectionTest& t) {
             QCursor::setPos(t.overview->mapToGlobal(QPoint(-50, -50)));
             recorder().answer = 4;  // the fifth monster of the table: 112
             t.key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
             EXPECT_EQ(recorder().offered.value(4), "112 Quiet Moth");
             EXPECT_EQ(recorder().offeredValue, 3) << "the copied spots' own monster first";
         }},
    };
    QUndoStack& history = document().history(TableFile::Spawns);
    const std::string initial = bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        history.clear();
        recorder().clear();
        overview->setMap(2);
        if (c.copied.empty()) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(c.text));
        } else {
            overview->selectSpots(c.copied);
            key(Qt::Key_C, Qt::ControlModifier);
        }
        overview->setMap(c.map);
        if (c.how) {
            c.how(*this);
        } else {
            overview->paste(c.cell, c.monster);
        }
        if (c.refusal) {
            EXPECT_EQ(bytes(), initial);
            EXPECT_EQ(history.count(), 0);
            ASSERT_EQ(recorder().errors().size(), 1);
            EXPECT_TRUE(recorder().errors().front().contains(QString::fromLatin1(c.refusal)))
                << recorder().errors().front().toStdString();
            continue;
        }
        std::string expected = initial;
        for (const auto& [section, line] : c.added) expected = added(expected, section, line);
        EXPECT_EQ(bytes(), expected);
        EXPECT_EQ(history.count(), 1);
        EXPECT_TRUE(recorder().errors().isEmpty());
        // The pasted spots are the new ones, selected.
        std::vector<std::int32_t> pasted;
        for (std::size_t i = c.added.size(); i > 0; --i)
            pasted.push_back(document().spawns().count - static_cast<std::int32_t>(i));
        EXPECT_EQ(selected(), pasted);
        history.undo();
        EXPECT_EQ(bytes(), initial);
        history.redo();
        EXPECT_EQ(bytes(), expected);
        history.undo();
    }
    // The clipboard holds what a save writes for the copied spots, sections in order.
    // Within a section the spots stand in file order, whichever was selected first.
    overview->setMap(2);
    overview->selectSpots({4, 3, 1, 0});
    overview->copySelected();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "0\r\n10\t2\t5\t100\t101\t8\r\n13\t2\t0\t40\t41\t-1\r\nend\r\n"
              "1\r\n10\t2\t9\t10\t20\t30\t40\t6\t7\r\n11\t2\t3\t50\t60\t20\t30\t-1\t5\r\nend\r\n");
}

// The wheel steps the zoom, the zoom box following, and the cell under the pointer
// stays under it: in the overview with or without Ctrl, in the preview with Ctrl.
TEST_F(SelectionTest, TheWheelZoomsAroundThePointer) {
    overview->resize(700, 600);
    QApplication::processEvents();
    QWidget* view = overview->mapArea()->viewport();
    const struct {
        const char* name;
        int startItem;
        int notches;
        Qt::KeyboardModifiers modifiers;
        int zoom;  // after
    } cases[] = {
        {"a notch up", 1, 1, Qt::NoModifier, 3},
        {"Ctrl and two notches up", 1, 2, Qt::ControlModifier, 4},
        {"a notch down", 3, -1, Qt::NoModifier, 3},
        {"not below 1X", 0, -2, Qt::NoModifier, 1},
        {"not above 5X", 4, 3, Qt::NoModifier, 5},
        {"Shift scrolls instead", 2, 1, Qt::ShiftModifier, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        overview->chooseZoom(c.startItem);
        for (QScrollBar* bar : {overview->mapArea()->horizontalScrollBar(), overview->mapArea()->verticalScrollBar()})
            bar->setValue(bar->maximum() / 2);
        const QPoint pointer(view->width() / 3, view->height() / 4);
        const QPoint cell = cellUnder(surface->mapFrom(view, pointer), overview->zoom());
        wheel(view, pointer, c.notches, c.modifiers);  // as a real wheel's event reaches it from the map
        EXPECT_EQ(overview->zoom(), c.zoom);
        EXPECT_EQ(overview->zoomBox()->currentIndex(), c.zoom - 1);
        if (c.modifiers == Qt::ShiftModifier) continue;
        const QPoint now = cellUnder(surface->mapFrom(view, pointer), overview->zoom());
        EXPECT_LE(std::abs(now.x() - cell.x()), 1);
        EXPECT_LE(std::abs(now.y() - cell.y()), 1);
    }

    // The preview has no scroll bars: it moves so that the cell stays under the pointer.
    MapPreviewWindow& preview = windows->mapPreview();
    preview.show();
    preview.move(300, 200);
    preview.setZoom(1);
    QWidget* map = preview.findChild<QWidget*>(QStringLiteral("PaintBox1"));
    ASSERT_NE(map, nullptr);
    const QPoint pixel = cellPixel(60, 70, 1);
    const QPoint pointer = map->mapToGlobal(pixel);
    const struct {
        const char* name;
        int notches;
        Qt::KeyboardModifiers modifiers;
        int zoom;
    } previewCases[] = {
        {"the wheel alone does nothing", 1, Qt::NoModifier, 1},
        {"Ctrl and a notch up", 1, Qt::ControlModifier, 2},
        {"Ctrl and a notch down", -1, Qt::ControlModifier, 1},
    };
    for (const auto& c : previewCases) {
        SCOPED_TRACE(c.name);
        wheel(map, map->mapFromGlobal(pointer), c.notches, c.modifiers);
        EXPECT_EQ(preview.zoom(), c.zoom);
        // The pointer is over the same point of the same cell, scaled.
        EXPECT_EQ(map->mapFromGlobal(pointer), pixel * preview.zoom());
    }
}

}  // namespace

namespace {

// The rows of a spot list: spot number and cells.
std::vector<std::string> listed(QTreeView* list) {
    std::vector<std::string> rows;
    auto* model = static_cast<SpotRows*>(list->model());
    for (int row = 0; row < model->rowCount(); ++row) {
        const SpawnEntry& e = model->entry(row);
        rows.push_back(std::to_string(e.spotid) + ":" + std::to_string(e.x0) + "," + std::to_string(e.y0));
    }
    return rows;
}

// The spawn page follows a step of many spots on the monster and map it shows: rows
// changed in place (the selected row stays selected), new rows below, gone rows gone;
// and the same back after an undo.
TEST_F(SelectionTest, TheSpawnPageFollowsStepsOfManySpots) {
    const struct {
        const char* name;
        std::vector<std::int32_t> selection;
        std::function<void(SelectionTest&)> act;
        std::vector<std::string> points;  // Ash Hound's points on map 2 after the step
        std::vector<std::string> ranges;
    } cases[] = {
        {"moved together", {0, 3, 1}, [](SelectionTest& t) { t.key(Qt::Key_Up); }, {"0:100,102"}, {"3:10,21"}},
        {"pasted for Ash Hound on the map shown", {1}, [](SelectionTest& t) {
             t.overview->copySelected();
             t.overview->paste(QPoint(60, 60), 10);
         },
         {"0:100,101", "8:60,60"}, {"3:10,20"}},
        {"deleted", {0, 6}, [](SelectionTest& t) { t.key(Qt::Key_Delete); }, {}, {"3:10,20"}},
    };
    QUndoStack& history = document().history(TableFile::Spawns);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        history.clear();
        page->goToSpot(3);  // Ash Hound on map 2, its range selected
        const std::vector<std::string> points = listed(page->pointSpotList());
        const std::vector<std::string> ranges = listed(page->rangeSpotList());
        ASSERT_EQ(points, (std::vector<std::string>{"0:100,101"}));
        overview->selectSpots(c.selection);
        c.act(*this);
        std::vector<std::string> expectedPoints = c.points;
        // A spot number pasted after earlier pastes' undone ones: the last of the table.
        for (std::string& row : expectedPoints)
            if (row.rfind("8:", 0) == 0) row = std::to_string(document().spawns().count - 1) + row.substr(1);
        EXPECT_EQ(listed(page->pointSpotList()), expectedPoints);
        EXPECT_EQ(listed(page->rangeSpotList()), c.ranges);
        EXPECT_EQ(page->mapCombo()->currentText(), "2");
        if (!c.ranges.empty()) {
            EXPECT_EQ(spotShownOnPage(), 3);
        }
        history.undo();
        EXPECT_EQ(listed(page->pointSpotList()), points);
        EXPECT_EQ(listed(page->rangeSpotList()), ranges);
    }
    EXPECT_TRUE(recorder().errors().isEmpty());
}

}  // namespace
