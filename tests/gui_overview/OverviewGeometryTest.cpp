// Where the overview draws and hits spots at each zoom, and what every kind of drag
// makes of a spot: cells within 0..255, a range's corners in order.

#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "OverviewGeometry.h"

namespace {

SpawnEntry point(int id, int x, int y) {
    return {.ispoint = true, .x0 = static_cast<std::uint8_t>(x), .y0 = static_cast<std::uint8_t>(y), .spottype = 2,
            .spotid = id};
}
SpawnEntry range(int id, int x0, int y0, int x1, int y1) {
    return {.ispoint = false, .x0 = static_cast<std::uint8_t>(x0), .y0 = static_cast<std::uint8_t>(y0),
            .x1 = static_cast<std::uint8_t>(x1), .y1 = static_cast<std::uint8_t>(y1), .spottype = 1, .spotid = id};
}
std::string text(const SpotRect& r) {
    return std::to_string(r.left) + ',' + std::to_string(r.top) + ',' + std::to_string(r.right) + ',' +
           std::to_string(r.bottom);
}

TEST(OverviewGeometry, MarksAndOutlinesAtEachZoom) {
    const struct {
        SpawnEntry spot;
        int zoom;
        SpotRect drawn;  // right and bottom not included
    } cases[] = {
        {point(0, 127, 127), 1, {125, 126, 130, 131}},
        {point(0, 127, 127), 2, {252, 254, 257, 259}},
        {point(0, 127, 127), 3, {379, 382, 384, 387}},
        {point(0, 127, 127), 4, {506, 510, 511, 515}},
        {point(0, 127, 127), 5, {633, 638, 638, 643}},
        {point(0, 0, 0), 1, {-2, 253, 3, 258}},
        {point(0, 255, 255), 1, {253, -2, 258, 3}},
        {range(0, 10, 20, 30, 40), 1, {10, 215, 31, 236}},
        {range(0, 10, 20, 30, 40), 2, {20, 430, 61, 471}},
        {range(0, 10, 20, 30, 40), 3, {30, 645, 91, 706}},
        {range(0, 10, 20, 30, 40), 4, {40, 860, 121, 941}},
        {range(0, 10, 20, 30, 40), 5, {50, 1075, 151, 1176}},
        {range(0, 30, 40, 10, 20), 5, {50, 1075, 151, 1176}},  // corners in reverse order
        {range(0, 0, 0, 255, 255), 1, {0, 0, 256, 256}},
    };
    for (const auto& c : cases) EXPECT_EQ(text(spotRect(c.spot, c.zoom)), text(c.drawn)) << "zoom " << c.zoom;
}

TEST(OverviewGeometry, FacingTickFollowsTheKeypad) {
    const struct {
        std::int32_t dir;
        std::optional<QPoint> step;
    } cases[] = {{8, QPoint(0, -1)}, {2, QPoint(0, 1)},   {4, QPoint(-1, 0)},  {6, QPoint(1, 0)},
                 {7, QPoint(-1, -1)}, {9, QPoint(1, -1)}, {1, QPoint(-1, 1)}, {3, QPoint(1, 1)},
                 {-1, std::nullopt},  {5, std::nullopt},   {0, std::nullopt},   {12, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(facingStep(c.dir), c.step) << c.dir;
}

TEST(OverviewGeometry, OverlappingSpotsAreHitPointsFirstThenTheSmallerRange) {
    const std::vector<SpawnEntry> spots = {
        range(0, 10, 20, 30, 40), range(1, 0, 0, 255, 255), range(2, 50, 60, 20, 30),
        point(3, 100, 101), point(4, 100, 101), point(5, 40, 41),
    };
    const struct {
        const char* what;
        QPoint pixel;  // at 1X
        std::vector<int> hit;
    } cases[] = {
        {"two points on one cell, the later first", {100, 155}, {4, 3, 1}},
        {"3 pixels off a mark still takes it", {100 + 2 + 3, 155}, {4, 3, 1}},
        {"4 pixels off it does not", {100 + 2 + 4, 155}, {1}},
        {"inside two ranges, the smaller first", {15, 230}, {0, 1}},
        {"a point over two ranges", {40, 215}, {5, 2, 1}},
        {"inside a range read in reverse order", {40, 200}, {2, 1}},
        {"only the map-wide range", {200, 20}, {1}},
        {"3 pixels outside the map-wide range", {258, 100}, {1}},
        {"4 pixels outside everything", {259, 100}, {}},
    };
    SpotIndex index;
    index.build(spots, 1);
    for (const auto& c : cases) {
        EXPECT_EQ(spotsUnder(spots, c.pixel, 1), c.hit) << c.what;
        EXPECT_EQ(index.under(spots, c.pixel), c.hit) << c.what << ", from the index";
    }
}

// The cell under the pointer: every cell's own pixel is its own, every cell is as wide
// as the zoom, so a pointer moved by n cells' worth of pixels has moved n cells from
// whichever pixel of a mark it was pressed, at every zoom.
TEST(OverviewGeometry, ThePointerMovesByWholeCellsFromAnyPixelOfAMark) {
    for (int zoom = 1; zoom <= kMaxZoom; ++zoom) {
        SCOPED_TRACE("zoom " + std::to_string(zoom));
        for (const QPoint cell : {QPoint(0, 0), QPoint(127, 128), QPoint(255, 255), QPoint(40, 3)})
            EXPECT_EQ(cellUnder(cellPixel(cell.x(), cell.y(), zoom), zoom), cell);
        const QPoint mark = cellPixel(100, 101, zoom);
        for (int px = -kMarkRadius; px <= kMarkRadius; ++px) {
            for (int py = -kMarkRadius; py <= kMarkRadius; ++py) {
                const QPoint press = mark + QPoint(px, py);
                const QPoint from = cellUnder(press, zoom);
                for (const int cells : {-7, -1, 1, 5, 20}) {
                    // Whole cells of movement, right and down the screen (Y grows upwards).
                    EXPECT_EQ(cellUnder(press + QPoint(cells * zoom, 0), zoom) - from, QPoint(cells, 0));
                    EXPECT_EQ(cellUnder(press + QPoint(0, cells * zoom), zoom) - from, QPoint(0, -cells));
                    // Part of a cell more moves it by that many cells or one more, never less.
                    for (int part = 1; part < zoom; ++part) {
                        const int moved = cellUnder(press + QPoint(cells * zoom + part, 0), zoom).x() - from.x();
                        EXPECT_TRUE(moved == cells || moved == cells + 1) << px << ',' << py << " by " << part;
                    }
                }
            }
        }
    }
}

// A selected range wins a press on its own edges and corners, though another outline
// runs close by; inside it, the spots there are taken as ever.
// The X,Y label names every cell of the map, 0 and 255 included, from some pixel of the
// map at every zoom, each on as many pixel rows (and columns) as the zoom, give or take
// the half cell past the map's edge; and the pixel of a cell's mark names that cell.
TEST(OverviewGeometry, TheLabelNamesEveryCellAtEveryZoom) {
    for (int zoom = 1; zoom <= kMaxZoom; ++zoom) {
        SCOPED_TRACE("zoom " + std::to_string(zoom));
        std::map<int, int> rowsOfY;
        std::map<int, int> columnsOfX;
        for (int p = 0; p < 256 * zoom; ++p) {
            ++rowsOfY[shownCell({0, p}, zoom).y()];
            ++columnsOfX[shownCell({p, 0}, zoom).x()];
        }
        for (const auto* named : {&rowsOfY, &columnsOfX}) {
            ASSERT_EQ(named->size(), 256u);
            EXPECT_EQ(named->begin()->first, 0);
            EXPECT_EQ(named->rbegin()->first, 255);
            for (const auto& [cell, pixels] : *named) {
                EXPECT_GE(pixels, (zoom + 1) / 2) << "cell " << cell;
                EXPECT_LE(pixels, zoom + zoom / 2 + 1) << "cell " << cell;
            }
        }
        for (const QPoint cell : {QPoint(0, 0), QPoint(255, 255), QPoint(0, 255), QPoint(37, 211)})
            EXPECT_EQ(shownCell(cellPixel(cell.x(), cell.y(), zoom), zoom), cell);
    }
}

TEST(OverviewGeometry, TheSelectedSpotWinsAPressOnItsMarksAndEdges) {
    // Spot 0 (the larger range) ends one cell above spot 1's top edge; a point inside 0.
    const std::vector<SpawnEntry> spots = {range(0, 192, 191, 213, 204), range(1, 196, 180, 205, 190),
                                           point(2, 200, 200)};
    const int zoom = 2;
    const QPoint bottomEdge = cellPixel(199, 191, zoom);  // spot 0's bottom edge, near spot 1's top
    const struct {
        const char* what;
        int selected;
        QPoint pixel;
        int taken;
    } cases[] = {
        {"nothing selected: the smaller range", -1, bottomEdge, 1},
        {"the selected range's bottom edge", 0, bottomEdge, 0},
        {"its corner", 0, cellPixel(213, 191, zoom), 0},
        {"the other range's selected edge", 1, bottomEdge, 1},
        {"the other range, below the shared strip", 0, cellPixel(200, 185, zoom) + QPoint(0, 3), 1},
        {"a point inside the selected range", 0, cellPixel(200, 200, zoom), 2},
        {"the selected range's inside", 0, cellPixel(195, 198, zoom), 0},
        {"a selected point", 2, cellPixel(200, 200, zoom), 2},
        {"nothing there", 0, cellPixel(20, 20, zoom), -1},
    };
    for (const auto& c : cases) {
        const std::vector<int> under = spotsUnder(spots, c.pixel, zoom);
        EXPECT_EQ(spotTaken(spots, under, c.selected, c.pixel, zoom), c.taken) << c.what;
    }
}

TEST(OverviewGeometry, EdgesCornersAndBodyOfARange) {
    const SpawnEntry r = range(0, 10, 20, 30, 40);  // at 2X columns 20..60, rows 430..470
    const struct {
        QPoint pixel;
        Grab grab;
    } cases[] = {
        {{40, 448}, Grab::Body},       {{20, 448}, Grab::Left},       {{17, 448}, Grab::Left},
        {{22, 448}, Grab::Left},       {{23, 448}, Grab::Body},       {{16, 448}, Grab::None},
        {{60, 448}, Grab::Right},      {{63, 448}, Grab::Right},      {{64, 448}, Grab::None},
        {{40, 430}, Grab::Top},        {{40, 470}, Grab::Bottom},     {{20, 430}, Grab::TopLeft},
        {{60, 430}, Grab::TopRight},   {{20, 470}, Grab::BottomLeft}, {{62, 472}, Grab::BottomRight},
        {{40, 426}, Grab::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(grabAt(r, c.pixel, 2), c.grab) << c.pixel.x() << ',' << c.pixel.y();
    EXPECT_EQ(grabAt(point(1, 100, 101), {201, 308}, 2), Grab::Point);
    // A range two pixels wide is taken by its edges from outside, by its body on it.
    EXPECT_EQ(grabAt(range(2, 5, 5, 6, 6), {5, 250}, 1), Grab::Body);
    EXPECT_EQ(grabAt(range(2, 5, 5, 6, 6), {4, 250}, 1), Grab::Left);
}

struct Cells {
    int x0, y0, x1, y1;
    bool operator==(const Cells&) const = default;
};
Cells cells(const SpawnEntry& s) { return {s.x0, s.y0, s.x1, s.y1}; }

TEST(OverviewGeometry, EveryDragKeepsCellsOnTheMapAndCornersInOrder) {
    const SpawnEntry r = range(0, 10, 20, 30, 40);
    const SpawnEntry reversed = range(1, 50, 60, 20, 30);
    const struct {
        const char* what;
        SpawnEntry spot;
        Grab grab;
        int dx, dy;
        Cells after;
    } cases[] = {
        {"point moved", point(2, 100, 101), Grab::Point, 5, -3, {105, 98, 0, 0}},
        {"point stops at the map's corner", point(2, 250, 5), Grab::Point, 10, -10, {255, 0, 0, 0}},
        {"body moved", r, Grab::Body, 5, 5, {15, 25, 35, 45}},
        {"body stops at the left edge, keeping its size", r, Grab::Body, -20, 0, {0, 20, 20, 40}},
        {"body stops at the upper right corner", r, Grab::Body, 300, 300, {235, 235, 255, 255}},
        {"left edge in", r, Grab::Left, 5, 9, {15, 20, 30, 40}},
        {"left edge past the right one becomes it", r, Grab::Left, 30, 0, {30, 20, 40, 40}},
        {"right edge past the left one, off the map", r, Grab::Right, -40, 0, {0, 20, 10, 40}},
        {"top edge up", r, Grab::Top, 0, 10, {10, 20, 30, 50}},
        {"bottom edge off the map", r, Grab::Bottom, 0, -30, {10, 0, 30, 40}},
        {"bottom edge past the top one", r, Grab::Bottom, 0, 25, {10, 40, 30, 45}},
        {"upper left corner to the map's edges", r, Grab::TopLeft, -20, 300, {0, 20, 30, 255}},
        {"lower right corner to the map's edges", r, Grab::BottomRight, 300, -300, {10, 0, 255, 40}},
        {"upper right corner across the lower left", r, Grab::TopRight, -25, -25, {5, 15, 10, 20}},
        {"lower left corner", r, Grab::BottomLeft, 3, 4, {13, 24, 30, 40}},
        {"reverse-order range moved comes out in order", reversed, Grab::Body, 1, 0, {21, 30, 51, 60}},
        {"reverse-order range resized comes out in order", reversed, Grab::Left, 2, 0, {22, 30, 50, 60}},
        {"no change leaves the reverse order as it was", reversed, Grab::Body, 0, 0, {50, 60, 20, 30}},
        {"a drag the map's edge stops changes nothing", range(3, 0, 5, 9, 9), Grab::Left, -4, 0, {0, 5, 9, 9}},
    };
    for (const auto& c : cases) EXPECT_EQ(cells(dragged(c.spot, c.grab, c.dx, c.dy)), c.after) << c.what;

    // Whatever the grab and the distance: on the map, in order, a move keeping its size.
    const Grab grabs[] = {Grab::Point, Grab::Body,  Grab::Left,    Grab::Right,      Grab::Top,
                          Grab::Bottom, Grab::TopLeft, Grab::TopRight, Grab::BottomLeft, Grab::BottomRight};
    const SpawnEntry spots[] = {point(4, 0, 255), r, reversed, range(5, 0, 0, 255, 255), range(6, 200, 3, 250, 4)};
    const int distances[] = {-300, -256, -11, -1, 0, 1, 10, 255, 300};
    for (const SpawnEntry& spot : spots)
        for (const Grab grab : grabs)
            for (const int dx : distances)
                for (const int dy : distances) {
                    const SpawnEntry after = dragged(spot, grab, dx, dy);
                    const CellBox before = cellBox(spot);
                    const CellBox box = cellBox(after);
                    SCOPED_TRACE(std::to_string(spot.spotid) + " grab " + std::to_string(int(grab)) + " by " +
                                 std::to_string(dx) + ',' + std::to_string(dy));
                    if (after == spot) continue;
                    EXPECT_TRUE(spot.ispoint || (after.x0 <= after.x1 && after.y0 <= after.y1));
                    EXPECT_FALSE(spot.ispoint && (after.x1 != spot.x1 || after.y1 != spot.y1));
                    if (grab == Grab::Point || grab == Grab::Body || spot.ispoint) {
                        EXPECT_EQ(box.x1 - box.x0, before.x1 - before.x0);
                        EXPECT_EQ(box.y1 - box.y0, before.y1 - before.y0);
                        EXPECT_GE((box.x0 - before.x0) * dx, 0);  // never the wrong way
                        EXPECT_GE((box.y0 - before.y0) * dy, 0);
                    }
                }
}

TEST(OverviewGeometry, ArrowKeysMoveTheWholeSpot) {
    EXPECT_EQ(cells(nudged(point(0, 40, 41), 0, 1)), (Cells{40, 42, 0, 0}));
    EXPECT_EQ(cells(nudged(point(0, 40, 41), -10, 0)), (Cells{30, 41, 0, 0}));
    EXPECT_EQ(cells(nudged(range(0, 10, 20, 30, 40), 10, -10)), (Cells{20, 10, 40, 30}));
    EXPECT_EQ(nudged(point(0, 0, 0), -1, -1), point(0, 0, 0));
}

// A group of spots moves by one step, as far as its outermost spot may go that way:
// at each of the four edges the whole group stops, keeping its shape.
TEST(OverviewGeometry, AGroupStopsWholeAtEachEdge) {
    // The group's cells: x 10..30, y 20..41 (the point is its top, the range its bottom).
    const std::vector<SpawnEntry> group = {point(1, 25, 41), range(3, 10, 20, 30, 40)};
    const struct {
        const char* name;
        QPoint asked;
        QPoint step;
    } cases[] = {
        {"within the map", {5, -7}, {5, -7}},
        {"up past the top edge", {0, 300}, {0, 214}},
        {"down past the bottom edge", {0, -25}, {0, -20}},
        {"left past the left edge", {-11, 0}, {-10, 0}},
        {"right past the right edge", {250, 3}, {225, 3}},
        {"to a corner", {-100, 1000}, {-10, 214}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint step = groupStep(group, c.asked.x(), c.asked.y());
        EXPECT_EQ(step, c.step);
        const std::vector<SpawnEntry> moved = movedBy(group, step.x(), step.y());
        ASSERT_EQ(moved.size(), group.size());
        for (std::size_t i = 0; i < group.size(); ++i) {
            const CellBox before = cellBox(group[i]);
            EXPECT_EQ(cellBox(moved[i]), (CellBox{before.x0 + step.x(), before.y0 + step.y(), before.x1 + step.x(),
                                                  before.y1 + step.y()}))
                << "spot " << i;
        }
    }
    EXPECT_EQ(groupStep({}, 5, 5), QPoint());
}

// A group pasted with its upper left corner (least X, greatest Y) on a cell keeps its
// shape; where a spot would cross any edge of the map, nothing is placed (a cell past an
// edge would wrap round to the other side and turn the range inside out).
TEST(OverviewGeometry, APastedGroupIsPlacedWholeOrNotAtAll) {
    const std::vector<SpawnEntry> group = {point(1, 25, 41), range(3, 10, 20, 30, 40)};  // 21 by 22 cells
    const struct {
        const char* name;
        QPoint upperLeft;
        std::vector<CellBox> placed;  // none: refused
    } cases[] = {
        {"where it is", {10, 41}, {{25, 41, 25, 41}, {10, 20, 30, 40}}},
        {"in the lower left corner", {0, 21}, {{15, 21, 15, 21}, {0, 0, 20, 20}}},
        {"in the upper right corner", {235, 255}, {{250, 255, 250, 255}, {235, 234, 255, 254}}},
        {"across the bottom edge", {0, 20}, {}},
        {"across the right edge", {236, 100}, {}},
        {"across the top edge", {0, 256}, {}},
        {"across the left edge", {-1, 100}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto placed = placedAt(group, 7, c.upperLeft);
        ASSERT_EQ(placed.has_value(), !c.placed.empty());
        if (!placed) continue;
        ASSERT_EQ(placed->size(), c.placed.size());
        for (std::size_t i = 0; i < c.placed.size(); ++i) {
            EXPECT_EQ(cellBox((*placed)[i]), c.placed[i]) << "spot " << i;
            EXPECT_EQ((*placed)[i].mapnumber, 7);
        }
    }
    EXPECT_EQ(placedAt({}, 7, {5, 5}), std::vector<SpawnEntry>{});
}

}  // namespace
