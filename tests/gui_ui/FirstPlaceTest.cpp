// Where a window first opens: wholly on the screen and clear of the buttons it must not
// cover, as near the meant place as that allows; a window that may shrink does so only
// as far as it must.

#include <gtest/gtest.h>

#include "FirstPlace.h"

namespace {

const QRect kScreen(0, 0, 1280, 1024);
const QRect kMain(255, 222, 770, 580);
// A title button at the main window's top right, a save button at its left, a delete
// button at its bottom.
const QList<QRect> kButtons{{979, 225, 46, 22}, {522, 253, 24, 24}, {555, 735, 100, 22}};

bool clear(const QRect& r, const QList<QRect>& keep) {
    for (const QRect& k : keep)
        if (r.intersects(k)) return false;
    return true;
}

TEST(FirstPlace, OnTheScreenAndClearOrWhereItCoversLeast) {
    const struct {
        const char* name;
        QSize size;
        QPoint wanted;
        QList<QRect> keep;
        QPoint expected;  // (-1, -1): any place wholly on the screen that is clear
    } cases[] = {
        {"meant place is clear", {305, 340}, {8, 8}, kButtons, {8, 8}},
        {"meant place covers a button: beside the main window", {200, 300}, {900, 200}, kButtons,
         {kMain.right() + 1 + 8, kMain.top()}},
        {"meant place off the right edge is refused", {300, 300}, {1200, 10}, {}, {-1, -1}},
        {"meant place off the bottom is refused", {300, 300}, {10, 900}, {}, {-1, -1}},
        {"meant place above the screen is refused", {300, 300}, {10, -40}, {}, {-1, -1}},
        {"no room beside the main window: nearest clear place", {700, 300}, {400, 200}, kButtons, {-1, -1}},
    };
    for (const auto& c : cases) {
        const QPoint at = firstPlace(c.size, c.wanted, kScreen, kMain, c.keep);
        const QRect placed(at, c.size);
        EXPECT_TRUE(kScreen.contains(placed)) << c.name;
        EXPECT_TRUE(clear(placed, c.keep)) << c.name;
        if (c.expected != QPoint(-1, -1)) {
            EXPECT_EQ(at, c.expected) << c.name;
        }
    }
    // Off the screen, the nearest place on it.
    EXPECT_EQ(firstPlace({300, 300}, {1200, 10}, kScreen, kMain, {}), QPoint(980, 10));
    // Nowhere clear: the least covered place, still on the screen.
    const QRect wall(0, 0, 1280, 1024);
    const QPoint any = firstPlace({300, 300}, {500, 500}, kScreen, kMain, {wall});
    EXPECT_TRUE(kScreen.contains(QRect(any, QSize(300, 300))));
}

TEST(FirstPlace, AWindowThatMayShrinkTakesTheLargestSizeThatFitsClear) {
    const struct {
        const char* name;
        QSize preferred;
        QSize least;
        bool shrinks;
    } cases[] = {
        {"fits as it is", {400, 300}, {200, 200}, false},
        {"the overview's size covers a button wherever it goes", {1000, 720}, {500, 400}, true},
        {"larger than the screen", {1400, 1100}, {500, 400}, true},
    };
    for (const auto& c : cases) {
        const QRect frame = firstFrame(c.preferred, c.least, {8, 8}, kScreen, kMain, kButtons);
        EXPECT_TRUE(kScreen.contains(frame)) << c.name;
        EXPECT_TRUE(clear(frame, kButtons)) << c.name;
        EXPECT_EQ(frame.size() != c.preferred, c.shrinks) << c.name;
        EXPECT_GE(frame.width(), c.least.width()) << c.name;
        EXPECT_GE(frame.height(), c.least.height()) << c.name;
    }
}

}  // namespace
