// Cells to pixels and back, and the rectangles the preview outlines.

#include <gtest/gtest.h>

#include "MapGeometry.h"
#include "SpawnTable.h"

namespace {

TEST(MapGeometry, RectanglesFollowTheDrawingFormulas) {
    const struct {
        const char* what;
        SpotRect actual;
        SpotRect expected;
    } cases[] = {
        {"point 1X", pointSpotRect(127, 127, 1), {126, 127, 128, 129}},
        {"point 2X", pointSpotRect(127, 127, 2), {253, 256, 255, 258}},
        {"point at origin", pointSpotRect(0, 0, 1), {-1, 254, 1, 256}},
        {"range spot 1X", rangeSpotRect(10, 20, 30, 40, 1), {9, 234, 29, 216}},
        {"range selection 1X", rangeSelectionRect(10, 20, 30, 40, 1), {9, 234, 31, 216}},
        {"range spot 2X", rangeSpotRect(10, 20, 30, 40, 2), {19, 470, 59, 432}},
        {"range selection 2X", rangeSelectionRect(10, 20, 30, 40, 2), {19, 470, 61, 432}},
        {"range selection dragged backwards", rangeSelectionRect(200, 50, 100, 150, 1), {199, 204, 101, 106}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.what << ": " << c.actual.left << ',' << c.actual.top << ','
                                        << c.actual.right << ',' << c.actual.bottom;
    }
    EXPECT_EQ(normalised({9, 234, 29, 216}), (SpotRect{9, 216, 29, 234}));
    EXPECT_EQ(normalised({199, 204, 101, 106}), (SpotRect{101, 106, 199, 204}));
}

TEST(MapGeometry, SpotRectanglesSkipDeletedAndStopAtCount) {
    std::vector<SpawnEntry> work(4);
    work[0] = {.ispoint = true, .x0 = 127, .y0 = 127, .spotid = 3};
    work[1] = {.ispoint = false, .x0 = 10, .y0 = 20, .x1 = 30, .y1 = 40, .spotid = -1};
    work[2] = {.ispoint = false, .x0 = 10, .y0 = 20, .x1 = 30, .y1 = 40, .spotid = 7};
    work[3] = {.ispoint = true, .x0 = 1, .y0 = 1, .spotid = 9};  // beyond the count
    const auto rects = spotRectangles(work, 3, 1);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], (SpotRect{126, 127, 128, 129}));
    EXPECT_EQ(rects[1], (SpotRect{9, 234, 29, 216}));
    EXPECT_TRUE(spotRectangles(work, 0, 1).empty());
    EXPECT_EQ(spotRectangles(work, 99, 1).size(), 3u);  // a count past the list is cut
}

TEST(MapGeometry, RoundsHalvesToEven) {
    const struct {
        long long num, den;
        int expected;
    } cases[] = {{5, 2, 2},  {7, 2, 4},   {3, 2, 2},   {1, 2, 0},  {-1, 2, 0}, {-3, 2, -2},
                 {-5, 2, -2}, {4, 3, 1},  {5, 3, 2},   {-4, 3, -1}, {0, 5, 0}, {10, 4, 2},
                 {14, 4, 4},  {11, 4, 3}, {511, 2, 256}, {7, 1, 7}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.num, c.den), c.expected) << c.num << '/' << c.den;
}

TEST(MapGeometry, PixelsToCellsForLabelAndSelection) {
    const struct {
        QPoint pixel;
        int zoom;
        QPoint label;
        QPoint selection;
    } cases[] = {
        {{0, 0}, 1, {0, 255}, {0, 256}},
        {{255, 255}, 1, {255, 0}, {255, 1}},
        {{5, 0}, 2, {2, 256}, {2, 256}},     // 2.5 rounds to 2; 511/2 = 255.5 to 256
        {{7, 2}, 2, {4, 254}, {4, 255}},     // 3.5 rounds to 4; 509/2 -> 254, 510/2 = 255
        {{0, 1}, 2, {0, 255}, {0, 256}},     // (510/2, 511/2 -> 255.5 -> 256)
        {{0, 3}, 2, {0, 254}, {0, 254}},     // 508/2 = 254, 509/2 = 254.5 -> 254
        {{100, 300}, 3, {33, 156}, {33, 156}},
        {{-3, -10}, 2, {-2, 260}, {-2, 261}},  // captured outside the surface
        {{600, 600}, 2, {300, -44}, {300, -44}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(labelCell(c.pixel, c.zoom), c.label) << c.pixel.x() << ',' << c.pixel.y() << " at " << c.zoom;
        EXPECT_EQ(selectionCell(c.pixel, c.zoom), c.selection) << c.pixel.x() << ',' << c.pixel.y();
    }
}

}  // namespace
