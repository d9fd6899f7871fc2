#pragma once
// Map cells and preview pixels. A map is 256 by 256 cells with Y growing upwards;
// at zoom z cell (x, y) sits at pixel column x*z and pixel row 256*z - y*z.

#include <span>
#include <vector>

#include <QPoint>

struct SpawnEntry;
class QPainter;

inline constexpr int kMapCells = 256;
inline constexpr int kMaxZoom = 5;  // 5X: 1,280 pixels a side

// A rectangle as the drawing primitive takes it: the right column and the bottom
// row are not part of it, and the corners may come in either order.
struct SpotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const SpotRect&) const = default;
};

SpotRect normalised(SpotRect rect);

// A 2 by 2 pixel square just above and left of the cell's pixel; also a point selection.
SpotRect pointSpotRect(int x, int y, int zoom);
// Range spots stop one pixel short of the second corner's column ...
SpotRect rangeSpotRect(int x0, int y0, int x1, int y1, int zoom);
// ... while a range being selected reaches one pixel past it.
SpotRect rangeSelectionRect(int x0, int y0, int x1, int y1, int zoom);

// The first count entries of the work list, except deleted ones, in list order.
std::vector<SpotRect> spotRectangles(std::span<const SpawnEntry> work, int count, int zoom);
// The same appended to out.
void appendSpotRectangles(std::span<const SpawnEntry> work, int count, int zoom, std::vector<SpotRect>& out);

// num / den (den > 0) rounded to the nearest integer, halves to the even neighbour.
int roundHalfEven(long long num, long long den);

// The cell shown in the coordinate label for a pixel of the drawing surface.
QPoint labelCell(QPoint pixel, int zoom);
// The cell a mouse press or release selects; one more in Y than the label at 1X.
QPoint selectionCell(QPoint pixel, int zoom);

// White one-pixel outline, nothing filled. An empty rectangle draws nothing.
void drawOutline(QPainter& painter, SpotRect rect);
